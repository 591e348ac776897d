#pragma once
// A sample file whose sample k is PatternSample(k): scattered values 1 … 250, so that a column
// showing a neighbour of the right sample reads differently, and every value is drawn.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace wyk::testing {

inline uint8_t PatternSample(int64_t k) {
  return static_cast<uint8_t>(1 + ((static_cast<uint32_t>(k) * 2654435761u) >> 20) % 250);
}

inline void WritePatternRecording(const std::string& path, int64_t samples) {
  std::ofstream out(path, std::ios::binary);
  std::vector<char> block(1 << 16);
  for (int64_t done = 0; done < samples;) {
    const int64_t n = std::min<int64_t>(static_cast<int64_t>(block.size()), samples - done);
    for (int64_t i = 0; i < n; ++i) block[static_cast<size_t>(i)] = char(PatternSample(done + i));
    out.write(block.data(), n);
    done += n;
  }
}

}  // namespace wyk::testing
