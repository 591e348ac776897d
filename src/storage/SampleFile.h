#pragma once
// The sample file (".osr") behind one handle: raw unsigned bytes, byte k is sample k.
// Reads are positional, so another reader's position never matters and a file that
// another process truncates or grows only gives short reads; appends always go to the end.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace wyk {

class SampleFile {
 public:
  SampleFile();
  ~SampleFile();
  SampleFile(SampleFile&& other) noexcept;
  SampleFile& operator=(SampleFile&& other) noexcept;
  SampleFile(const SampleFile&) = delete;
  SampleFile& operator=(const SampleFile&) = delete;

  // Creates the file or truncates it to zero length, open for reading and writing.
  // Returns a closed SampleFile when that fails.
  static SampleFile Create(const std::string& name);
  // Opens an existing regular file read-only; a closed SampleFile when that fails.
  static SampleFile Open(const std::string& name);

  bool IsOpen() const { return fd_ >= 0; }
  bool IsWritable() const { return writable_; }
  void Close();

  // The size in bytes (the offset of the end); 0 when closed or when the size cannot be had.
  int64_t Size() const;
  // Reads up to `count` bytes at `offset` into `dst`; returns how many were read (fewer at the
  // end of the file, 0 when closed or past the end).
  int64_t ReadAt(int64_t offset, uint8_t* dst, int64_t count) const;
  // Writes `count` bytes at the end of the file; false when not all of them were written.
  bool Append(const uint8_t* bytes, int64_t count);

  // From now on a worker thread flushes the written bytes to the disk (fdatasync or
  // FlushFileBuffers) every `period`, so that a slow disk never holds up Append. It runs until
  // Flush or Close.
  void SyncPeriodically(std::chrono::milliseconds period);
  // Whether one of those periodic flushes failed.
  bool SyncFailed() const;
  // Stops the periodic flushes and flushes once more; false, with errno set, when this flush
  // or an earlier periodic one failed. True for a read-only file.
  bool Flush();
  // Flushes to the disk so far, periodic and final.
  int64_t Syncs() const;

 private:
  struct Syncer;
  SampleFile(int fd, bool writable);
  static SampleFile Adopt(int fd, bool writable);
  void StopSyncing();
  int fd_ = -1;
  bool writable_ = false;
  // The worker uses fd_, so it is stopped before fd_ is closed or handed on.
  std::unique_ptr<Syncer> syncer_;
  int64_t syncs_ = 0;  // by flushes of finished workers and by Flush
  int syncError_ = 0;  // errno of the first failed flush
};

}  // namespace wyk
