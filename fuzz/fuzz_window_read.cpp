// ReadWindow on a file of any size, from any start, at any stride, against the element-by-element
// read it stands for.
#include <cstdlib>
#include <vector>

#include "FuzzInput.h"
#include "app/RecorderState.h"
#include "storage/WindowRead.h"

using namespace wyk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput input(data, size);
  const int64_t start = input.Take<uint32_t>() % 400000;
  const int64_t step = 1 + input.Take<uint16_t>() % 30000;
  const size_t fileSize = input.Take<uint32_t>() % 300000;
  uint8_t last = input.Take<uint8_t>();
  const std::string pattern = input.Rest();
  std::string content(fileSize, '\0');
  for (size_t i = 0; i < fileSize && !pattern.empty(); ++i) content[i] = pattern[i % pattern.size()];
  const std::string path = fuzz::ScratchFile("window.osr");
  fuzz::WriteBytes(path, content);

  uint8_t expectedLast = last;
  std::vector<uint8_t> expected(kWindowLength), window(kWindowLength);
  for (int64_t i = 0; i < kWindowLength; ++i) {
    const int64_t position = start + step * i;
    if (position < static_cast<int64_t>(content.size()))
      expectedLast = static_cast<uint8_t>(content[static_cast<size_t>(position)]);
    expected[static_cast<size_t>(i)] = expectedLast;
  }
  ReadWindow(SampleFile::Open(path), start, step, last, window);
  if (window != expected || last != expectedLast) std::abort();
  return 0;
}
