#pragma once
// The least and the greatest sample of every block of 256 samples of a sample file, and of every
// 16 blocks of those, and so on: the least and greatest of any stretch then take at most two
// short reads of the file and a few dozen entries, however long the stretch. It takes about
// 8.5 MiB of memory per GiB of samples (2 bytes per 256 samples, plus a fifteenth for the coarser
// levels) and no file of its own.

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

  bool Ready() const { return levels_ != nullptr; }
  // Samples taken in so far.
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
