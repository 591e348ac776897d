#include "storage/SampleSummary.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace wyk {
namespace {

constexpr int64_t kBlockSamples = 256;  // samples per entry of the finest level
constexpr int64_t kFanOut = 16;         // entries of a level per entry of the next
constexpr int64_t kReadBytes = 1 << 20;

int64_t RoundUp(int64_t n, int64_t to) {
  return (n + to - 1) / to * to;
}

}  // namespace

SampleExtent ExtentOf(const uint8_t* samples, int64_t count) {
  uint8_t least = 255, greatest = 0;
  for (int64_t i = 0; i < count; ++i) {
    least = std::min(least, samples[i]);
    greatest = std::max(greatest, samples[i]);
  }
  return {least, greatest};
}

struct SampleSummary::Levels {
  std::vector<std::vector<SampleExtent>> level{1};  // level[0] per block, level[k + 1] per 16
  SampleExtent pending;      // of the samples appended since the last whole block
  int64_t pendingCount = 0;  // how many

  int64_t Covered() const { return static_cast<int64_t>(level[0].size()) * kBlockSamples; }
  int64_t Taken() const { return Covered() + pendingCount; }

  // Entries of the coarser levels for every 16 entries of the level below that have none yet.
  void Coarsen() {
    for (size_t k = 0; level[k].size() >= static_cast<size_t>(kFanOut); ++k) {
      if (k + 1 == level.size()) level.emplace_back();
      const std::vector<SampleExtent>& fine = level[k];
      std::vector<SampleExtent>& coarse = level[k + 1];
      while (coarse.size() < fine.size() / kFanOut) {
        SampleExtent e;
        for (size_t i = coarse.size() * kFanOut, end = i + kFanOut; i < end; ++i) e.Add(fine[i]);
        coarse.push_back(e);
      }
    }
  }

  // Whole blocks of `samples`, which start at Covered(); returns how many samples it took.
  int64_t Add(const uint8_t* samples, int64_t count) {
    const int64_t blocks = count / kBlockSamples;
    for (int64_t b = 0; b < blocks; ++b)
      level[0].push_back(ExtentOf(samples + b * kBlockSamples, kBlockSamples));
    Coarsen();
    return blocks * kBlockSamples;
  }

  // Any count of samples, which start at Taken().
  void Append(const uint8_t* samples, int64_t count) {
    const size_t blocks = level[0].size();
    while (count > 0) {
      const int64_t take = std::min(count, kBlockSamples - pendingCount);
      pending.Add(ExtentOf(samples, take));
      pendingCount += take;
      samples += take;
      count -= take;
      if (pendingCount == kBlockSamples) {
        level[0].push_back(pending);
        pending = {};
        pendingCount = 0;
      }
    }
    if (level[0].size() != blocks) Coarsen();
  }

  // Gives back what growing left unused, so that a summary takes the same memory however it
  // was made.
  void Trim() {
    for (std::vector<SampleExtent>& entries : level) entries.shrink_to_fit();
  }

  // Takes in the file's whole blocks from Covered() on, until `stop` says so.
  void Extend(const SampleFile& file, const std::atomic<bool>* stop) {
    std::vector<uint8_t> buffer(static_cast<size_t>(kReadBytes));
    const int64_t size = file.Size();
    level[0].reserve(static_cast<size_t>(size / kBlockSamples));
    while (Covered() + kBlockSamples <= size && !(stop && stop->load())) {
      const int64_t want = std::min(kReadBytes, (size - Covered()) / kBlockSamples * kBlockSamples);
      const int64_t got = file.ReadAt(Covered(), buffer.data(), want);
      if (Add(buffer.data(), got) == 0) break;
    }
  }

  // Entries i … j − 1 of level k, taking whole entries of coarser levels where they fit.
  SampleExtent Extent(size_t k, int64_t i, int64_t j) const {
    SampleExtent e;
    for (;;) {
      const std::vector<SampleExtent>& here = level[k];
      const int64_t I = RoundUp(i, kFanOut);
      const int64_t J =
          k + 1 < level.size()
              ? std::min(j / kFanOut, static_cast<int64_t>(level[k + 1].size())) * kFanOut
              : 0;
      if (I >= J) {
        for (int64_t n = i; n < j; ++n) e.Add(here[static_cast<size_t>(n)]);
        return e;
      }
      for (int64_t n = i; n < I; ++n) e.Add(here[static_cast<size_t>(n)]);
      for (int64_t n = J; n < j; ++n) e.Add(here[static_cast<size_t>(n)]);
      ++k;
      i = I / kFanOut;
      j = J / kFanOut;
    }
  }
};

struct SampleSummary::Builder {
  std::atomic<bool> stop{false};
  std::atomic<bool> done{false};
  std::mutex mutex;
  std::unique_ptr<Levels> result;  // under mutex
  std::thread thread;

  ~Builder() {
    stop = true;
    if (thread.joinable()) thread.join();
  }
};

SampleSummary::SampleSummary() = default;
SampleSummary::~SampleSummary() = default;
SampleSummary::SampleSummary(SampleSummary&&) noexcept = default;
SampleSummary& SampleSummary::operator=(SampleSummary&&) noexcept = default;

void SampleSummary::BuildInBackground(const std::string& sampleName,
                                      std::function<void()> finished) {
  Clear();
  builder_ = std::make_unique<Builder>();
  Builder& b = *builder_;
  b.thread = std::thread([&b, sampleName, finished = std::move(finished)] {
    auto levels = std::make_unique<Levels>();
    const SampleFile file = SampleFile::Open(sampleName);
    levels->Extend(file, &b.stop);
    if (b.stop) return;
    levels->Trim();
    {
      const std::lock_guard lock(b.mutex);
      b.result = std::move(levels);
    }
    b.done = true;
    if (finished) finished();
  });
}

bool SampleSummary::TakeFinished() {
  if (builder_ && builder_->done) {
    {
      const std::lock_guard lock(builder_->mutex);
      levels_ = std::move(builder_->result);
    }
    builder_.reset();
  }
  return Ready();
}

void SampleSummary::Build(const SampleFile& file) {
  Clear();
  levels_ = std::make_unique<Levels>();
  levels_->Extend(file, nullptr);
  levels_->Trim();
}

void SampleSummary::Append(const uint8_t* samples, int64_t count) {
  if (count <= 0) return;
  if (!levels_) levels_ = std::make_unique<Levels>();
  levels_->Append(samples, count);
}

bool SampleSummary::TakeGrown(SampleSummary& grown, const SampleFile& file) {
  const bool fits = grown.levels_ && !grown.builder_ && grown.levels_->Taken() == file.Size();
  if (fits) {
    Clear();
    levels_ = std::move(grown.levels_);
    levels_->Trim();
  }
  grown.Clear();
  return fits;
}

void SampleSummary::Clear() {
  builder_.reset();
  levels_.reset();
}

int64_t SampleSummary::Covered() const {
  return levels_ ? levels_->Covered() : 0;
}

int64_t SampleSummary::MemoryBytes() const {
  int64_t bytes = 0;
  if (levels_)
    for (const auto& level : levels_->level)
      bytes += static_cast<int64_t>(level.capacity() * sizeof(SampleExtent));
  return bytes;
}

SampleExtent SampleSummary::Extent(const SampleFile& file, int64_t first, int64_t end) const {
  SampleExtent e;
  const auto read = [&file, &e](int64_t from, int64_t to) {
    static thread_local std::vector<uint8_t> buffer(static_cast<size_t>(kReadBytes));
    while (from < to) {
      const int64_t got = file.ReadAt(from, buffer.data(), std::min(kReadBytes, to - from));
      if (got <= 0) return;
      e.Add(ExtentOf(buffer.data(), got));
      from += got;
    }
  };
  const int64_t blockFirst = RoundUp(first, kBlockSamples);
  const int64_t blockEnd = std::min(end, Covered()) / kBlockSamples * kBlockSamples;
  if (blockFirst >= blockEnd) {
    read(first, end);
    return e;
  }
  read(first, blockFirst);
  e.Add(levels_->Extent(0, blockFirst / kBlockSamples, blockEnd / kBlockSamples));
  read(blockEnd, end);
  return e;
}

}  // namespace wyk
