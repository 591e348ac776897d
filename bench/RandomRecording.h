#pragma once
// Large recordings of random bytes for the benchmarks, in a temporary folder of the process's
// own that the benchmark removes at its end.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace bench {

inline std::string TempFolder() {
  static const std::string folder = [] {
    std::string f = std::filesystem::temp_directory_path() / "wyk-bench-XXXXXX";
    return std::string(mkdtemp(f.data()));
  }();
  return folder;
}

// `name` in the temporary folder, filled with `size` random bytes the first time it is asked
// for and read back once, so that the page cache holds it.
inline std::string RandomRecording(const std::string& name, int64_t size) {
  const std::string path = TempFolder() + "/" + name;
  if (std::filesystem::exists(path)) return path;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  std::mt19937 random(11);
  std::vector<uint32_t> block(1 << 18);
  for (int64_t done = 0; done < size; done += int64_t(block.size() * 4)) {
    for (uint32_t& word : block) word = random();
    std::fwrite(block.data(), 4, block.size(), out);
  }
  std::fclose(out);
  std::FILE* in = std::fopen(path.c_str(), "rb");
  while (std::fread(block.data(), 4, block.size(), in) == block.size()) {
  }
  std::fclose(in);
  return path;
}

}  // namespace bench
