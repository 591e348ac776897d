#pragma once
// The files layer of both platforms. Descriptors are opened in binary mode and are not inherited
// by child processes; reads and writes at an offset leave other users of the descriptor alone;
// sizes and offsets are 64-bit. Paths are UTF-8 here and UTF-16 at the Windows API, so Polish
// names work. Failures return false or -1 with errno set, as the POSIX calls do.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace wyk {

// What OpenFile does; read and write together open for both.
enum FileOpenFlag : unsigned {
  kFileRead = 1,
  kFileWrite = 2,
  kFileCreate = 4,
  kFileTruncate = 8,
  kFileAppend = 16,
  kFileExclusive = 32,  // with kFileCreate: fails with EEXIST when the file is there
  kFileNoFollow = 64,   // a symbolic link is not opened (POSIX)
  kFileNoBlock = 128,   // a FIFO in the file's place does not block the open (POSIX)
};

// A descriptor, or -1. `mode` is for a created file (POSIX permission bits).
int OpenFile(const std::string& path, unsigned flags, unsigned mode = 0644);
bool CloseFile(int fd);

// Which file a name reaches: device and inode, or volume serial number and file index.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t index = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct FileStatus {
  bool regular = false;
  bool directory = false;
  int64_t size = 0;
  unsigned mode = 0;  // permission bits; 0 where the platform has none
  unsigned owner = 0, group = 0;
  FileIdentity identity;
};
std::optional<FileStatus> StatusOf(int fd);
// Links followed; nothing when there is no file or it cannot be reached.
std::optional<FileStatus> StatusOf(const std::string& path);
// Whether this process may write the file, or create files in the folder.
bool IsWritable(const std::string& path);

// Reads up to `count` bytes at `offset`; how many were read (fewer at the end, 0 on failure).
int64_t ReadAt(int fd, int64_t offset, void* dst, int64_t count);
// All `count` bytes at `offset`.
bool WriteAt(int fd, int64_t offset, const void* data, size_t count);
// All `count` bytes at the current position (the end, for a file opened to append); errno is
// ENOSPC when the system took nothing without saying why.
bool WriteAll(int fd, const void* data, size_t count);
bool TruncateFile(int fd, int64_t size);

// The file's data on the disk (fdatasync, FlushFileBuffers): 0 or the errno of the failure.
int SyncData(int fd);
// Data and metadata (fsync, FlushFileBuffers).
bool SyncFile(int fd);

// Gives a new file the permission bits of `old`, and its owner and group where this process
// may; false when the bits cannot be set.
bool TakeOwnerAndMode(int fd, const FileStatus& old);
bool SetFileMode(int fd, unsigned mode);
// The permission bits a new file gets (0644 without the process's umask).
unsigned NewFileMode();

// Puts `from` in place of `to`, which is replaced whole or not at all.
bool MoveFileReplacing(const std::string& from, const std::string& to);
// The same, but fails with EEXIST when `to` exists.
bool MoveFileNoReplace(const std::string& from, const std::string& to);
// Creates a new file from `name`, whose last six characters "XXXXXX" are replaced to make it
// unique; the descriptor, open for writing, or -1.
int CreateTemporary(std::string& name);
// Removes the file; safe in a signal handler.
bool RemoveFile(const char* name);

// Standard output without line-end translation, so that its bytes are the same everywhere.
void UseBinaryStandardOutput();

// A UTF-8 name as a path of the platform, and back.
inline std::filesystem::path FilePath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace wyk
