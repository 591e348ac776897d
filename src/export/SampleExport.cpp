// Both writers stream the sample file in blocks, so memory stays the same for any length.

#include "export/SampleExport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "view/CursorTexts.h"

namespace wyk {
namespace {

constexpr int64_t kBlockBytes = int64_t{1} << 20;
constexpr size_t kLongestRow = 192;

// Calls `take(offset, bytes, count)` for the samples of the range, block by block.
template <typename Take>
void ForEachBlock(const SampleFile& file, SampleRange range, Take take) {
  std::vector<uint8_t> block(static_cast<size_t>(kBlockBytes));
  int64_t offset = range.from;
  while (offset < range.to) {
    const int64_t got = ReadRangeBlock(file, offset, block.data(), kBlockBytes, range.to);
    take(offset, block.data(), got);
    offset += got;
  }
}

// 1000 / period Hz to the nearest whole hertz, at least 1.
uint32_t WavRate(float periodMs) {
  const double rate = std::round(1000.0 / static_cast<double>(periodMs));
  return static_cast<uint32_t>(std::clamp(rate, 1.0, 4294967295.0));
}

// RIFF header of mono 8-bit unsigned PCM.
std::array<uint8_t, 44> WavHeader(uint32_t rate, uint32_t dataBytes) {
  std::array<uint8_t, 44> h{};
  const auto put = [&h](size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) h[at + static_cast<size_t>(i)] = (value >> (8 * i)) & 0xFF;
  };
  std::memcpy(&h[0], "RIFF", 4);
  put(4, 36 + dataBytes + (dataBytes & 1), 4);  // an odd data chunk is padded to even
  std::memcpy(&h[8], "WAVEfmt ", 8);
  put(16, 16, 4);
  put(20, 1, 2);  // PCM
  put(22, 1, 2);  // mono
  put(24, rate, 4);
  put(28, rate, 4);  // bytes per second
  put(32, 1, 2);     // bytes per frame
  put(34, 8, 2);     // bits per sample
  std::memcpy(&h[36], "data", 4);
  put(40, dataBytes, 4);
  return h;
}

}  // namespace

int64_t ReadRangeBlock(const SampleFile& file, int64_t offset, uint8_t* block, int64_t size,
                       int64_t end) {
  const int64_t got = file.ReadAt(offset, block, std::min(size, end - offset));
  if (got <= 0)
    throw InputError("odczyt nagrania urwał się na próbce " + std::to_string(offset) + " z " +
                     std::to_string(end) + " (plik skrócony lub nieczytelny)");
  return got;
}

void ExportCsv(const StoredRecording& recording, SampleRange range, const CsvFormat& format,
               OutputFile& out, const ExportProgress& progress) {
  const RecordingParameters& p = recording.parameters;
  const char s = format.separator;
  out.Write(std::string("Indeks") + s + "Czas [ms]" + s + "Bajt" + s +
            CsvText("Wartosc [" + p.voltsUnit + "]", format) + kCsvLineEnd);
  // The cursor's reading of each byte value: "<byte><sep><value>\r\n".
  std::array<std::string, 256> tails;
  for (int b = 0; b < 256; ++b)
    tails[static_cast<size_t>(b)] =
        std::to_string(b) + s + CsvNumber(LevelValueNumber(PlotLevel(b), p.voltsPerDiv), format) +
        kCsvLineEnd;
  const SampleTimes times(p.samplePeriodMs);
  ForEachBlock(recording.samples, range, [&](int64_t first, const uint8_t* bytes, int64_t count) {
    for (int64_t i = 0; i < count; ++i) {
      const std::string& tail = tails[bytes[i]];
      char* row = out.Reserve(kLongestRow);
      char* end = std::to_chars(row, row + 24, first + i).ptr;
      *end++ = s;
      end = times.Write(first + i, format.decimal, end);
      *end++ = s;
      std::memcpy(end, tail.data(), tail.size());
      out.Advance(static_cast<size_t>(end - row) + tail.size());
    }
    if (progress) progress(first + count - range.from, range.to - range.from);
  });
}

void ExportWav(const StoredRecording& recording, SampleRange range, OutputFile& out,
               const ExportProgress& progress) {
  const uint32_t rate = WavRate(recording.parameters.samplePeriodMs);
  const auto count = static_cast<uint32_t>(range.to - range.from);
  const auto header = WavHeader(rate, count);
  out.Write(header.data(), header.size());
  ForEachBlock(recording.samples, range, [&](int64_t at, const uint8_t* bytes, int64_t n) {
    out.Write(bytes, static_cast<size_t>(n));
    if (progress) progress(at + n - range.from, range.to - range.from);
  });
  if (count & 1) out.Write("\0", 1);
}

}  // namespace wyk
