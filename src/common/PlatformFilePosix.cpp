#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "common/PlatformFile.h"

namespace wyk {
namespace {

int PosixFlags(unsigned flags) {
  const bool read = flags & kFileRead, write = flags & kFileWrite;
  int posix = read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
  if (flags & kFileCreate) posix |= O_CREAT;
  if (flags & kFileTruncate) posix |= O_TRUNC;
  if (flags & kFileAppend) posix |= O_APPEND;
  if (flags & kFileExclusive) posix |= O_EXCL;
  if (flags & kFileNoFollow) posix |= O_NOFOLLOW;
  if (flags & kFileNoBlock) posix |= O_NONBLOCK;
  return posix | O_CLOEXEC;
}

FileStatus StatusFrom(const struct stat& info) {
  return {S_ISREG(info.st_mode),
          S_ISDIR(info.st_mode),
          static_cast<int64_t>(info.st_size),
          static_cast<unsigned>(info.st_mode & 07777),
          static_cast<unsigned>(info.st_uid),
          static_cast<unsigned>(info.st_gid),
          {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)}};
}

}  // namespace

int OpenFile(const std::string& path, unsigned flags, unsigned mode) {
  return ::open(path.c_str(), PosixFlags(flags), static_cast<mode_t>(mode));
}

bool CloseFile(int fd) {
  return ::close(fd) == 0;
}

std::optional<FileStatus> StatusOf(int fd) {
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0) return std::nullopt;
  return StatusFrom(info);
}

std::optional<FileStatus> StatusOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return StatusFrom(info);
}

bool IsWritable(const std::string& path) {
  return ::access(path.c_str(), W_OK) == 0;
}

int64_t ReadAt(int fd, int64_t offset, void* dst, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    const ssize_t got =
        ::pread(fd, static_cast<char*>(dst) + done, static_cast<size_t>(count - done),
                static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += got;
  }
  return done;
}

bool WriteAt(int fd, int64_t offset, const void* data, size_t count) {
  const char* bytes = static_cast<const char*>(data);
  while (count > 0) {
    const ssize_t put = ::pwrite(fd, bytes, count, static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes += put;
    count -= static_cast<size_t>(put);
    offset += put;
  }
  return true;
}

bool WriteAll(int fd, const void* data, size_t count) {
  const char* bytes = static_cast<const char*>(data);
  while (count > 0) {
    const ssize_t put = ::write(fd, bytes, count);
    if (put < 0 && errno == EINTR) continue;
    if (put == 0) errno = ENOSPC;
    if (put <= 0) return false;
    bytes += put;
    count -= static_cast<size_t>(put);
  }
  return true;
}

bool TruncateFile(int fd, int64_t size) {
  return ::ftruncate(fd, static_cast<off_t>(size)) == 0;
}

int SyncData(int fd) {
  int result;
  do result = ::fdatasync(fd);
  while (result != 0 && errno == EINTR);
  return result == 0 ? 0 : errno;
}

bool SyncFile(int fd) {
  return ::fsync(fd) == 0;
}

bool TakeOwnerAndMode(int fd, const FileStatus& old) {
  if (::fchmod(fd, old.mode) != 0) return false;
  // Only root can give a file away; a plain user's file keeps its owner anyway.
  [[maybe_unused]] const int kept = ::fchown(fd, old.owner, old.group);
  return true;
}

bool SetFileMode(int fd, unsigned mode) {
  return ::fchmod(fd, mode) == 0;
}

unsigned NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0644 & ~mask;
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool MoveFileNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  // A file system without RENAME_NOREPLACE: look, then rename.
  if (errno != EINVAL && errno != ENOSYS) return false;
  std::error_code ignored;
  if (std::filesystem::exists(to, ignored)) {
    errno = EEXIST;
    return false;
  }
  return MoveFileReplacing(from, to);
}

int CreateTemporary(std::string& name) {
  return ::mkostemp(name.data(), O_CLOEXEC);
}

bool RemoveFile(const char* name) {
  return ::unlink(name) == 0;
}

void UseBinaryStandardOutput() {}

}  // namespace wyk
