#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "common/PlatformFile.h"

namespace wyk {
namespace {

std::wstring Wide(const std::string& utf8) {
  return FilePath(utf8).wstring();
}

int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    default:
      return EIO;
  }
}

bool Failed() {
  errno = ErrnoOf(::GetLastError());
  return false;
}

HANDLE HandleOf(int fd) {
  return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

OVERLAPPED At(int64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
  return at;
}

std::optional<FileStatus> StatusOfHandle(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (handle == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(handle, &info)) {
    // A device or a pipe: there, but no file of the disk.
    if (handle != INVALID_HANDLE_VALUE && ::GetFileType(handle) != FILE_TYPE_UNKNOWN)
      return FileStatus{};
    return std::nullopt;
  }
  const bool directory = info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
  FileStatus status;
  status.regular = !directory && ::GetFileType(handle) == FILE_TYPE_DISK;
  status.directory = directory;
  status.size = static_cast<int64_t>(uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow);
  status.identity = {info.dwVolumeSerialNumber,
                     uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
  return status;
}

}  // namespace

// Through CreateFileW rather than _wopen, so that others may delete or replace the file while
// it is open, as on POSIX: a stop signal's handler removes an unfinished output that way.
int OpenFile(const std::string& path, unsigned flags, unsigned) {
  const bool read = flags & kFileRead, write = flags & kFileWrite;
  const bool create = flags & kFileCreate, truncate = flags & kFileTruncate;
  const DWORD disposition = create && (flags & kFileExclusive) ? CREATE_NEW
                            : create && truncate               ? CREATE_ALWAYS
                            : create                           ? OPEN_ALWAYS
                            : truncate                         ? TRUNCATE_EXISTING
                                                               : OPEN_EXISTING;
  const HANDLE handle = ::CreateFileW(
      Wide(path).c_str(), (read || !write ? GENERIC_READ : 0) | (write ? GENERIC_WRITE : 0),
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, disposition,
      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    Failed();
    return -1;
  }
  // Binary: no CR is added before LF, and byte 26 does not end a read.
  int crt = _O_BINARY | (read && write ? _O_RDWR : write ? _O_WRONLY : _O_RDONLY);
  if (flags & kFileAppend) crt |= _O_APPEND;
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), crt);
  if (fd < 0) ::CloseHandle(handle);
  return fd;
}

bool CloseFile(int fd) {
  return ::_close(fd) == 0;
}

std::optional<FileStatus> StatusOf(int fd) {
  if (fd < 0) return std::nullopt;
  return StatusOfHandle(HandleOf(fd));
}

std::optional<FileStatus> StatusOf(const std::string& path) {
  // Backup semantics open folders too; no access is asked, so nothing is locked.
  const HANDLE handle =
      ::CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  const auto status = StatusOfHandle(handle);
  ::CloseHandle(handle);
  return status;
}

bool IsWritable(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return !(attributes & FILE_ATTRIBUTE_READONLY);
  // A folder's read-only mark means nothing; only making a file there tells.
  std::random_device random;
  const std::wstring probe = Wide(path) + L"\\.~proba" + std::to_wstring(random());
  const HANDLE handle =
      ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(handle);
  return true;
}

int64_t ReadAt(int fd, int64_t offset, void* dst, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    OVERLAPPED at = At(offset + done);
    DWORD got = 0;
    const DWORD ask = static_cast<DWORD>(std::min<int64_t>(count - done, 1 << 30));
    if (!::ReadFile(HandleOf(fd), static_cast<char*>(dst) + done, ask, &got, &at) || got == 0)
      break;
    done += got;
  }
  return done;
}

bool WriteAt(int fd, int64_t offset, const void* data, size_t count) {
  const char* bytes = static_cast<const char*>(data);
  while (count > 0) {
    OVERLAPPED at = At(offset);
    DWORD put = 0;
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(count, 1 << 30));
    if (!::WriteFile(HandleOf(fd), bytes, ask, &put, &at)) return Failed();
    if (put == 0) {
      errno = ENOSPC;
      return false;
    }
    bytes += put;
    count -= put;
    offset += put;
  }
  return true;
}

bool WriteAll(int fd, const void* data, size_t count) {
  const char* bytes = static_cast<const char*>(data);
  while (count > 0) {
    const int put = ::_write(fd, bytes, static_cast<unsigned>(std::min<size_t>(count, 1 << 30)));
    if (put == 0) errno = ENOSPC;
    if (put <= 0) return false;
    bytes += put;
    count -= static_cast<size_t>(put);
  }
  return true;
}

bool TruncateFile(int fd, int64_t size) {
  const errno_t error = ::_chsize_s(fd, size);
  errno = error;
  return error == 0;
}

int SyncData(int fd) {
  return ::FlushFileBuffers(HandleOf(fd)) ? 0 : ErrnoOf(::GetLastError());
}

bool SyncFile(int fd) {
  return SyncData(fd) == 0;
}

// Windows files carry no permission bits or owner of this kind.
bool TakeOwnerAndMode(int, const FileStatus&) {
  return true;
}

bool SetFileMode(int, unsigned) {
  return true;
}

unsigned NewFileMode() {
  return 0644;
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
  // rename() does not replace an existing file here.
  return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
         Failed();
}

bool MoveFileNoReplace(const std::string& from, const std::string& to) {
  return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH) || Failed();
}

int CreateTemporary(std::string& name) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    for (size_t i = name.size() - 6; i < name.size(); ++i) name[i] = kLetters[random() % 36];
    const int fd = OpenFile(name, kFileWrite | kFileCreate | kFileExclusive, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// No allocation: a console's Ctrl-C handler may run while another thread holds the heap.
bool RemoveFile(const char* name) {
  wchar_t wide[MAX_PATH * 2];
  if (!::MultiByteToWideChar(CP_UTF8, 0, name, -1, wide, MAX_PATH * 2)) return false;
  return ::DeleteFileW(wide) || Failed();
}

void UseBinaryStandardOutput() {
  std::fflush(stdout);
  ::_setmode(::_fileno(stdout), _O_BINARY);
}

}  // namespace wyk
