#include "storage/SampleFile.h"

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "common/PlatformFile.h"

namespace wyk {

struct SampleFile::Syncer {
  std::mutex mutex;
  std::condition_variable wake;
  bool stop = false;  // under mutex
  std::atomic<int> error{0};
  std::atomic<int64_t> syncs{0};
  std::thread worker;

  Syncer(int fd, std::chrono::milliseconds period) {
    worker = std::thread([this, fd, period] {
      std::unique_lock<std::mutex> lock(mutex);
      while (!wake.wait_for(lock, period, [this] { return stop; })) {
        lock.unlock();
        const int failed = SyncData(fd);
        syncs.fetch_add(1);
        if (failed) {
          int none = 0;
          error.compare_exchange_strong(none, failed);
        }
        lock.lock();
      }
    });
  }
  ~Syncer() { Join(); }
  void Join() {
    {
      const std::lock_guard<std::mutex> lock(mutex);
      stop = true;
    }
    wake.notify_one();
    if (worker.joinable()) worker.join();
  }
  Syncer(const Syncer&) = delete;
  Syncer& operator=(const Syncer&) = delete;
};

SampleFile::SampleFile() = default;

SampleFile::SampleFile(int fd, bool writable) : fd_(fd), writable_(writable) {}

SampleFile::~SampleFile() {
  Close();
}

SampleFile::SampleFile(SampleFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      writable_(std::exchange(other.writable_, false)),
      syncer_(std::move(other.syncer_)),
      syncs_(std::exchange(other.syncs_, 0)),
      syncError_(std::exchange(other.syncError_, 0)) {}

SampleFile& SampleFile::operator=(SampleFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    writable_ = std::exchange(other.writable_, false);
    syncer_ = std::move(other.syncer_);
    syncs_ = std::exchange(other.syncs_, 0);
    syncError_ = std::exchange(other.syncError_, 0);
  }
  return *this;
}

// The handle of a regular file, or a closed SampleFile for anything else (a folder, a FIFO).
SampleFile SampleFile::Adopt(int fd, bool writable) {
  if (fd < 0) return {};
  const auto status = StatusOf(fd);
  if (!status || !status->regular) {
    CloseFile(fd);
    return {};
  }
  return SampleFile(fd, writable);
}

SampleFile SampleFile::Create(const std::string& name) {
  return Adopt(
      OpenFile(name, kFileRead | kFileWrite | kFileCreate | kFileTruncate | kFileAppend, 0644),
      true);
}

SampleFile SampleFile::Open(const std::string& name) {
  // kFileNoBlock keeps a FIFO in the file's place from blocking the open; Adopt refuses it.
  return Adopt(OpenFile(name, kFileRead | kFileNoBlock), false);
}

void SampleFile::Close() {
  StopSyncing();
  if (fd_ >= 0) CloseFile(fd_);
  fd_ = -1;
  writable_ = false;
  syncs_ = 0;
  syncError_ = 0;
}

int64_t SampleFile::Size() const {
  const auto status = StatusOf(fd_);
  return status ? status->size : 0;
}

int64_t SampleFile::ReadAt(int64_t offset, uint8_t* dst, int64_t count) const {
  if (fd_ < 0 || offset < 0 || count <= 0) return 0;
  return wyk::ReadAt(fd_, offset, dst, count);
}

bool SampleFile::Append(const uint8_t* bytes, int64_t count) {
  if (fd_ < 0 || !writable_) return false;
  return count <= 0 || WriteAll(fd_, bytes, static_cast<size_t>(count));
}

void SampleFile::SyncPeriodically(std::chrono::milliseconds period) {
  StopSyncing();
  if (fd_ >= 0 && writable_) syncer_ = std::make_unique<Syncer>(fd_, period);
}

bool SampleFile::SyncFailed() const {
  return syncError_ != 0 || (syncer_ && syncer_->error.load() != 0);
}

void SampleFile::StopSyncing() {
  if (!syncer_) return;
  syncer_->Join();
  syncs_ += syncer_->syncs.load();
  if (!syncError_) syncError_ = syncer_->error.load();
  syncer_.reset();
}

bool SampleFile::Flush() {
  StopSyncing();
  if (fd_ < 0 || !writable_) return true;
  const int failed = SyncData(fd_);
  ++syncs_;
  if (!syncError_) syncError_ = failed;
  errno = syncError_;
  return syncError_ == 0;
}

int64_t SampleFile::Syncs() const {
  return syncs_ + (syncer_ ? syncer_->syncs.load() : 0);
}

}  // namespace wyk
