#include "storage/SampleFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace wyk {

SampleFile::~SampleFile() {
  Close();
}

SampleFile::SampleFile(SampleFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), writable_(std::exchange(other.writable_, false)) {}

SampleFile& SampleFile::operator=(SampleFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    writable_ = std::exchange(other.writable_, false);
  }
  return *this;
}

// The handle of a regular file, or a closed SampleFile for anything else (a folder, a FIFO).
SampleFile SampleFile::Adopt(int fd, bool writable) {
  if (fd < 0) return {};
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return {};
  }
  return SampleFile(fd, writable);
}

SampleFile SampleFile::Create(const std::string& name) {
  return Adopt(::open(name.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644), true);
}

SampleFile SampleFile::Open(const std::string& name) {
  // O_NONBLOCK keeps a FIFO in the file's place from blocking the open; Adopt refuses it.
  return Adopt(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK), false);
}

void SampleFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  writable_ = false;
}

int64_t SampleFile::Size() const {
  struct stat info {};
  if (fd_ < 0 || ::fstat(fd_, &info) != 0) return 0;
  return static_cast<int64_t>(info.st_size);
}

int64_t SampleFile::ReadAt(int64_t offset, uint8_t* dst, int64_t count) const {
  if (fd_ < 0 || offset < 0 || count <= 0) return 0;
  int64_t done = 0;
  while (done < count) {
    const ssize_t got = ::pread(fd_, dst + done, static_cast<size_t>(count - done),
                                static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += got;
  }
  return done;
}

bool SampleFile::Append(const uint8_t* bytes, int64_t count) {
  if (fd_ < 0 || !writable_) return false;
  int64_t done = 0;
  while (done < count) {
    const ssize_t put = ::write(fd_, bytes + done, static_cast<size_t>(count - done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += put;
  }
  return true;
}

}  // namespace wyk
