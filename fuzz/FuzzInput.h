#pragma once
// Takes typed values off the front of a fuzzer's input; what is left is the payload.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace wyk::fuzz {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  template <typename T>
  T Take() {
    T value{};
    const size_t n = std::min(sizeof(T), size_);
    std::memcpy(&value, data_, n);
    data_ += n;
    size_ -= n;
    return value;
  }
  std::string Rest() { return std::string(reinterpret_cast<const char*>(data_), size_); }

 private:
  const uint8_t* data_;
  size_t size_;
};

// A file of the process's own, in memory where the system offers it (writers sync their files).
inline std::string ScratchFile(const char* name) {
  const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(folder) + "/wyk-fuzz-" + std::to_string(getpid()) + "-" + name;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* out = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), out);
  std::fclose(out);
}

inline std::string ReadBytes(const std::string& path) {
  std::string bytes;
  FILE* in = std::fopen(path.c_str(), "rb");
  char block[4096];
  for (size_t n; (n = std::fread(block, 1, sizeof block, in)) > 0;) bytes.append(block, n);
  std::fclose(in);
  return bytes;
}

}  // namespace wyk::fuzz
