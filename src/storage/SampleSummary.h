#pragma once
// The least and the greatest sample of every block of 256 samples of a sample file, and of every
// 16 blocks of those, and so on: the least and greatest of any stretch then take at most two
// short reads of the file and a few dozen entries, however long the stretch. It takes about
// 8.5 MiB of memory per GiB of samples (2 bytes per 256 samples, plus a fifteenth for the coarser
// levels) and no file of its own. It is built from a file at an opening, or grown by Append as a
// live recording writes its samples; both give the same entries for the same bytes.
//
// Threads: every member is called on the owner's thread (the window's, or a command's), one call
// at a time. The only other thread is a background build's: it reads a file it opened itself
// into entries of its own, which TakeFinished takes in under a lock, and `finished` runs on it,
// so that may only post to the owner. A summary grows either by Append or by a build, never both
// at once: entries appended while a build runs would be replaced by the build's.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "storage/SampleFile.h"

namespace wyk {

struct SampleExtent {
  uint8_t least = 255;
  uint8_t greatest = 0;
  void Add(SampleExtent other) {
    least = other.least < least ? other.least : least;
    greatest = other.greatest > greatest ? other.greatest : greatest;
  }
  bool Empty() const { return least > greatest; }
  bool operator==(const SampleExtent&) const = default;
};

class SampleSummary {
 public:
  SampleSummary();
  ~SampleSummary();
  SampleSummary(SampleSummary&&) noexcept;
  SampleSummary& operator=(SampleSummary&&) noexcept;

  // Builds from the sample file named `sampleName` in a thread of its own, which opens the file
  // for itself and touches nothing else; `finished` is called on that thread at the end. The
  // owner then takes the result with TakeFinished.
  void BuildInBackground(const std::string& sampleName, std::function<void()> finished);
  // Takes a finished background build in; true when the summary is ready now.
  bool TakeFinished();
  // Builds here and now.
  void Build(const SampleFile& file);
  // Forgets the summary, stopping a build that runs.
  void Clear();

  // Takes the next `count` samples, those that follow the samples taken so far; the samples of a
  // last partial block wait in the summary for the rest of their block. A few operations per
  // sample, plus one entry per block and a few per 16 blocks.
  void Append(const uint8_t* samples, int64_t count);
  // Takes the entries of `grown`, a summary grown by Append, in place of this one's when `grown`
  // took exactly the bytes `file` holds (as many: the same file is the caller's to know);
  // otherwise this summary stays as it was. True when taken. `grown` is empty afterwards.
  bool TakeGrown(SampleSummary& grown, const SampleFile& file);

  bool Ready() const { return levels_ != nullptr; }
  // Samples the whole blocks taken in so far cover (a last partial block is read from the file).
  int64_t Covered() const;
  // Bytes of memory the summary takes.
  int64_t MemoryBytes() const;

  // The least and greatest of samples first … end − 1, which the file holds; reads the samples
  // that no whole block of the summary covers.
  SampleExtent Extent(const SampleFile& file, int64_t first, int64_t end) const;

  struct Levels;

 private:
  struct Builder;
  std::unique_ptr<Levels> levels_;
  std::unique_ptr<Builder> builder_;
};

// The least and greatest of `count` samples in memory.
SampleExtent ExtentOf(const uint8_t* samples, int64_t count);

}  // namespace wyk
