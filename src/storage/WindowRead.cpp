#include "storage/WindowRead.h"

#include <algorithm>
#include <array>

namespace wyk {
namespace {

// Up to this stride the spanned bytes are read in blocks and picked from memory; above it
// one small read per element costs less than reading the gaps.
constexpr int64_t kBlockStrideLimit = 2048;
constexpr int64_t kBlockBytes = 256 * 1024;

// Reads the elements one block at a time; returns how many elements got a byte before the
// end of the file.
size_t ReadInBlocks(const SampleFile& file, int64_t start, int64_t step, size_t count,
                    std::span<uint8_t> window) {
  static thread_local std::array<uint8_t, kBlockBytes> block;
  const int64_t perBlock = (kBlockBytes - 1) / step + 1;
  size_t done = 0;
  while (done < count) {
    const int64_t n = std::min<int64_t>(perBlock, static_cast<int64_t>(count - done));
    const int64_t offset = start + step * static_cast<int64_t>(done);
    const int64_t got = file.ReadAt(offset, block.data(), (n - 1) * step + 1);
    for (int64_t k = 0; k < n; ++k) {
      if (k * step >= got) return done;  // the file ended early
      window[done++] = block[static_cast<size_t>(k * step)];
    }
  }
  return done;
}

size_t ReadOneByOne(const SampleFile& file, int64_t start, int64_t step, size_t count,
                    std::span<uint8_t> window) {
  for (size_t i = 0; i < count; ++i)
    if (file.ReadAt(start + step * static_cast<int64_t>(i), &window[i], 1) != 1) return i;
  return count;
}

}  // namespace

size_t ReadWindow(const SampleFile& file, int64_t start, int64_t step, uint8_t& lastRead,
                  std::span<uint8_t> window) {
  step = std::max<int64_t>(step, 1);
  const int64_t size = file.Size();
  // Elements whose position lies inside the file as it is now.
  size_t inside = 0;
  if (start >= 0 && start < size)
    inside = static_cast<size_t>(
        std::min<int64_t>(static_cast<int64_t>(window.size()), (size - 1 - start) / step + 1));
  const size_t read = step <= kBlockStrideLimit ? ReadInBlocks(file, start, step, inside, window)
                                                : ReadOneByOne(file, start, step, inside, window);
  if (read > 0) lastRead = window[read - 1];
  std::fill(window.begin() + static_cast<std::ptrdiff_t>(read), window.end(), lastRead);
  return read;
}

}  // namespace wyk
