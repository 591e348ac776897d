#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <tuple>
#include <vector>

#include "app/RecorderFiles.h"
#include "app/RecorderState.h"
#include "storage/RecordingNames.h"
#include "storage/RecordingParameters.h"
#include "storage/Recordings.h"
#include "storage/WindowRead.h"
#include "support/TempDir.h"

namespace wyk {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::string Bytes(size_t n, uint32_t seed) {
  std::mt19937 random(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(random());
  return s;
}

TEST(RecordingNames, ExtensionIsReplacedOnlyAfterTheLastSeparator) {
  const std::pair<const char*, const char*> cases[] = {
      {"abc.txt", "abc.osr"},
      {"C:\\Rejestracja1.osr", "C:\\Rejestracja1.osr"},
      {"/home/jan/pomiar.1/rec", "/home/jan/pomiar.1/rec.osr"},
      {"C:\\dane.x\\rec", "C:\\dane.x\\rec.osr"},
      {"D:rec.a.b", "D:rec.a.osr"},
      {"rec", "rec.osr"},
      {"", ".osr"},
      {".osi", ".osr"},
  };
  for (const auto& [name, expected] : cases) EXPECT_EQ(RecordingFileName(name, ".osr"), expected);
  EXPECT_EQ(RecordingFileName("abc.txt", ".osi"), "abc.osi");
}

TEST(RecordingParameters, NumbersAreWrittenWideAndReadBackExactly) {
  const std::pair<float, const char*> cases[] = {
      {0.2f, "0,200000002980232"}, {0.5f, "0,5"}, {1000.0f, "1000"},
      {0.1f, "0,100000001490116"}, {20.0f, "20"}, {10.0f, "10"},
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(ParameterNumberText(value), text);
    EXPECT_EQ(ParseParameterNumber(text), value) << text;
  }
}

TEST(RecordingParameters, OnlyFinitePositiveNumbersConvert) {
  const std::pair<const char*, std::optional<float>> cases[] = {
      {"0.5", 0.5f}, {" 2,5 ", 2.5f}, {"99999999999", 99999999999.0f},
      {"0", {}},     {"-0", {}},      {"-1", {}},
      {"1e300", {}}, {"1e309", {}},   {"1e-50", {}},
      {"inf", {}},   {"nan", {}},     {"0x", {}},
      {"$", {}},     {"", {}},        {"1,2,3", {}},
      {"5 ms", {}},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(ParseParameterNumber(text), expected) << text;
}

TEST(RecordingParameters, StartTextsAndTheirLenientReading) {
  const TDateTime start = DateTimeFromCivil(2026, 12, 8, 14, 3, 27, 512);
  EXPECT_EQ(StartText(start), "2026-12-08 14:03:27:512");
  EXPECT_EQ(StartText(DateTimeFromCivil(2026, 12, 8, 0, 0, 0, 999)), "2026-12-08");
  EXPECT_EQ(StartText(0), "1899-12-30");

  const TDateTime seconds = DateTimeFromCivil(2026, 12, 8, 14, 3, 27, 0);
  const std::pair<const char*, std::optional<TDateTime>> cases[] = {
      {"2026-12-08 14:03:27:512", seconds},
      {"08-12-2026 14:03:27", seconds},
      {"08.12.2026 14:03:27 ", seconds},
      {"2026-12-08", DateTimeFromCivil(2026, 12, 8, 0, 0, 0, 0)},
      {"8.1.2026 7:05", DateTimeFromCivil(2026, 1, 8, 7, 5, 0, 0)},
      {"2026-12-08 14:03:27,5", DateTimeFromCivil(2026, 12, 8, 14, 3, 27, 500)},
      {"2024-02-29", DateTimeFromCivil(2024, 2, 29, 0, 0, 0, 0)},
      {"2026-02-29", {}},
      {"1900-02-29", {}},
      {"29.02.2100", {}},
      {"29-02-2000", DateTimeFromCivil(2000, 2, 29, 0, 0, 0, 0)},
      {"26-12-08", {}},
      {"01-02-0008 06:00", DateTimeFromCivil(8, 2, 1, 6, 0, 0, 0)},
      {"2026-12-08 24:00:00", {}},
      {"2026-12-08x", {}},
      {"2026.12.08", {}},
      {"08/12/2026", {}},
      {"", {}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseStartText(text), expected) << text;
}

TEST(RecordingParameters, FileHoldsFourKeysInOrderAndKeepsOtherLines) {
  TempDir dir;
  const std::string path = dir.File("r.osi");
  WriteFile(path, "[Inne]\r\nX=1\r\n[Parm]\r\nUwagi=test\r\n");
  const RecordingParameters written{DateTimeFromCivil(2026, 12, 8, 14, 3, 27, 512), 0.2f, 0.1f,
                                    "V"};
  WriteRecordingParameters(path, written);
  EXPECT_EQ(ReadFile(path),
            "[Inne]\r\nX=1\r\n[Parm]\r\nUwagi=test\r\nPoczRej=2026-12-08 14:03:27:512\r\n"
            "Prob=0,200000002980232\r\nVD=0,100000001490116\r\nJednV=V\r\n");
  const RecordingParameters read = ReadRecordingParameters(path);
  EXPECT_EQ(read.start, DateTimeFromCivil(2026, 12, 8, 14, 3, 27, 0));
  EXPECT_EQ(read.samplePeriodMs, 0.2f);
  EXPECT_EQ(read.voltsPerDiv, 0.1f);
  EXPECT_EQ(read.voltsUnit, "V");

  // Missing file, and values that do not convert: the defaults.
  for (const char* content :
       {static_cast<const char*>(nullptr), "[Parm]\nPoczRej=wczoraj\nProb=0\nVD=nan\n"}) {
    const std::string other = dir.File("d.osi");
    if (content) WriteFile(other, content);
    const RecordingParameters d = ReadRecordingParameters(other);
    EXPECT_EQ(d.start, 0);
    EXPECT_EQ(d.samplePeriodMs, 0.5f);
    EXPECT_EQ(d.voltsPerDiv, 10.0f);
    EXPECT_EQ(d.voltsUnit, "mV");
  }
}

// The window as the one-byte-at-a-time loop fills it.
std::vector<uint8_t> ReferenceWindow(const std::string& file, int64_t start, int64_t step,
                                     uint8_t& last, size_t length) {
  std::vector<uint8_t> window(length);
  for (size_t i = 0; i < length; ++i) {
    const int64_t position = start + step * static_cast<int64_t>(i);
    if (position < static_cast<int64_t>(file.size()))
      last = static_cast<uint8_t>(file[static_cast<size_t>(position)]);
    window[i] = last;
  }
  return window;
}

TEST(ReadWindow, StatedCases) {
  TempDir dir;
  const std::string big = Bytes(20000, 1), small = Bytes(1000, 2);
  WriteFile(dir.File("big.osr"), big);
  WriteFile(dir.File("small.osr"), small);
  std::vector<uint8_t> window(kWindowLength);
  uint8_t last = 0;

  ReadWindow(SampleFile::Open(dir.File("big.osr")), 0, 1, last, window);
  EXPECT_EQ(std::string(window.begin(), window.end()), big.substr(0, 10000));

  ReadWindow(SampleFile::Open(dir.File("small.osr")), 100, 4, last, window);
  for (size_t i = 0; i < window.size(); ++i)
    ASSERT_EQ(window[i], static_cast<uint8_t>(small[i <= 224 ? 100 + 4 * i : 996])) << i;

  // A first position past the end repeats the sample of the previous call.
  ReadWindow(SampleFile::Open(dir.File("small.osr")), 5000, 3, last, window);
  EXPECT_EQ(window, std::vector<uint8_t>(kWindowLength, static_cast<uint8_t>(small[996])));
  uint8_t never = 0;
  ReadWindow(SampleFile(), 0, 1, never, window);
  EXPECT_EQ(window, std::vector<uint8_t>(kWindowLength, 0));
}

TEST(ReadWindow, EqualsTheByteByByteReadForRandomFilesStartsAndStrides) {
  TempDir dir;
  std::mt19937 random(7);
  const int64_t strides[] = {1, 2, 3, 7, 100, 2047, 2048, 2049, 5000, 26843};
  for (int round = 0; round < 60; ++round) {
    const size_t size = std::uniform_int_distribution<size_t>(0, 300000)(random);
    const std::string content = Bytes(size, static_cast<uint32_t>(round));
    WriteFile(dir.File("r.osr"), content);
    const SampleFile file = SampleFile::Open(dir.File("r.osr"));
    const int64_t step = strides[round % std::size(strides)];
    const int64_t start = std::uniform_int_distribution<int64_t>(0, int64_t(size) + 500)(random);
    uint8_t last = static_cast<uint8_t>(round), expectedLast = last;
    std::vector<uint8_t> window(kWindowLength);
    ReadWindow(file, start, step, last, window);
    ASSERT_EQ(window, ReferenceWindow(content, start, step, expectedLast, kWindowLength))
        << "size " << size << " start " << start << " step " << step;
    EXPECT_EQ(last, expectedLast);
  }
}

TEST(SampleFile, CreateTruncatesAndAppendsGoToTheEnd) {
  TempDir dir;
  const std::string path = dir.File("r.osr");
  WriteFile(path, "old content");
  SampleFile file = SampleFile::Create(path);
  ASSERT_TRUE(file.IsOpen());
  EXPECT_EQ(file.Size(), 0);
  ASSERT_TRUE(file.Append(reinterpret_cast<const uint8_t*>("abcdef"), 6));
  uint8_t byte = 0;
  EXPECT_EQ(file.ReadAt(1, &byte, 1), 1);  // a window read in between
  ASSERT_TRUE(file.Append(reinterpret_cast<const uint8_t*>("gh"), 2));
  EXPECT_EQ(ReadFile(path), "abcdefgh");
  EXPECT_EQ(file.Size(), 8);
  EXPECT_FALSE(SampleFile::Create(dir.File("no/such/folder.osr")).IsOpen());
  EXPECT_FALSE(SampleFile::Open(dir.File("missing.osr")).IsOpen());
  EXPECT_FALSE(SampleFile::Open(dir.Path().string()).IsOpen());  // a folder
  SampleFile readOnly = SampleFile::Open(path);
  EXPECT_FALSE(readOnly.Append(reinterpret_cast<const uint8_t*>("x"), 1));
  // Every byte value as it is (no line ends made of 10), and offsets past 2 GiB.
  std::vector<uint8_t> every(256), back(256);
  std::iota(every.begin(), every.end(), 0);
  SampleFile bytes = SampleFile::Create(dir.File("b.osr"));
  ASSERT_TRUE(bytes.Append(every.data(), 256));
  EXPECT_EQ(ReadFile(dir.File("b.osr")), std::string(every.begin(), every.end()));
  const int64_t far = int64_t{3} << 30;
  std::filesystem::resize_file(dir.File("b.osr"), far);  // sparse
  ASSERT_TRUE(bytes.Append(&every[10], 1));
  EXPECT_EQ(bytes.Size(), far + 1);
  EXPECT_EQ(bytes.ReadAt(far, back.data(), 2), 1);
  EXPECT_EQ(back[0], 10);
  EXPECT_EQ(bytes.ReadAt(0, back.data(), 256), 256);
  EXPECT_EQ(back, every);
}

TEST(SampleSummary, GrownInPiecesIsTheOneBuiltFromTheFile) {
  const std::pair<int64_t, int64_t> cases[] = {
      {3 * 65536 + 4097, 3 * 65536 + 4097},  // blocks, two coarser levels, a partial block
      {100, 100},                            // a partial block only
      {5000, 4999},                          // the file holds more than was appended
  };
  TempDir dir;
  std::mt19937 random(11);
  for (const auto& [samples, appended] : cases) {
    std::vector<uint8_t> bytes(static_cast<size_t>(samples));
    for (size_t i = 0; i < bytes.size(); ++i)
      bytes[i] = uint8_t(i / 3000 * 37 % 200 + random() % 50);
    WriteFile(dir.File("g.osr"), std::string(bytes.begin(), bytes.end()));
    const SampleFile file = SampleFile::Open(dir.File("g.osr"));
    SampleSummary grown, built, taken;
    const int64_t pieces[] = {1, 255, 1000, 4097, 3};
    for (int64_t at = 0, k = 0; at < appended; at += pieces[k++ % 5])
      grown.Append(bytes.data() + at, std::min(pieces[k % 5], appended - at));
    built.Build(file);
    const bool took = taken.TakeGrown(grown, file), fits = samples == appended;
    EXPECT_EQ(std::tuple(took, grown.Ready(), taken.Covered(), taken.MemoryBytes()),
              std::tuple(fits, false, fits ? built.Covered() : 0, fits ? built.MemoryBytes() : 0));
    for (int span = 0; fits && span < 300; ++span) {
      const int64_t a = random() % samples, b = a + (random() % (samples - a + 1) >> span % 17);
      ASSERT_EQ(taken.Extent(file, a, b), built.Extent(file, a, b)) << a << " " << b;
    }
  }
}

struct OpenCase {
  const char* name;
  int64_t samples;  // -1: no sample file
  OpenResult result;
  int32_t sampleCount, zoomPercent, thumb, maximum;
  bool open;
};

TEST(OpenRecording, StateAfterOpening) {
  const OpenCase cases[] = {
      {"1234", 1234, OpenResult::kOpened, 1234, 246, 202, 734, true},
      {"300", 300, OpenResult::kOpened, 300, 100, 500, 0, true},
      {"empty", 0, OpenResult::kNoSamples, 0, 100, 500, 0, false},
      {"missing", -1, OpenResult::kNotOpened, 0, 0, 500, 0, false},
      // Past the largest sample count only the first samples are shown; the file stays sparse.
      {"huge", int64_t{INT32_MAX} + 10, OpenResult::kOpened, INT32_MAX, INT32_MAX / 5, 10,
       INT32_MAX - 500, true},
  };
  TempDir dir;
  for (const OpenCase& c : cases) {
    const std::string name = dir.File(std::string(c.name) + ".txt");
    const std::string content =
        Bytes(static_cast<size_t>(std::clamp<int64_t>(c.samples, 0, 20000)), 3);
    if (c.samples >= 0) {
      WriteFile(RecordingFileName(name, ".osr"), content);
      std::filesystem::resize_file(RecordingFileName(name, ".osr"), c.samples);
    }
    auto state = std::make_unique<RecorderState>();
    state->view.windowBuffer.fill(77);
    state->view.scrollBar = {5, 900, 40, 3, 75};
    const OpenOutcome outcome = OpenRecordingForView(*state, name);
    EXPECT_EQ(outcome.result, c.result) << c.name;
    EXPECT_EQ(state->recording.sampleCount, c.sampleCount) << c.name;
    EXPECT_EQ(state->view.zoomPercent, c.zoomPercent) << c.name;
    EXPECT_EQ(state->view.scrollBar.thumbLength, c.thumb) << c.name;
    EXPECT_EQ(state->view.scrollBar.maximum, c.maximum) << c.name;
    EXPECT_EQ(state->view.scrollBar.position, 0) << c.name;
    EXPECT_EQ(state->recording.dataFileOpen, c.open) << c.name;
    EXPECT_EQ(state->recording.dataFile.IsOpen(), c.open) << c.name;
    if (c.result != OpenResult::kOpened) continue;
    EXPECT_EQ(state->view.zoomStep, 1);
    const size_t read = std::min<size_t>(content.size(), kWindowLength);
    EXPECT_EQ(
        std::string(state->view.windowBuffer.begin(), state->view.windowBuffer.begin() + read),
        content.substr(0, read));
    // Nothing of the window before survives past the end of a shorter file.
    EXPECT_EQ(state->view.windowSamples, static_cast<int32_t>(read)) << c.name;
    EXPECT_EQ(state->view.windowBuffer[kWindowLength - 1], uint8_t(content[read - 1])) << c.name;
  }
}

TEST(OpenRecording, ReadsTheParameterFileOfTheSameBaseName) {
  TempDir dir;
  WriteFile(dir.File("abc.osr"), "\x10\x20");
  WriteFile(dir.File("abc.osi"),
            "[Parm]\r\nPoczRej=2026-12-08 14:03:27:512\r\nProb=0,2\r\n"
            "VD=0,5\r\nJednV=V\r\n");
  auto state = std::make_unique<RecorderState>();
  ASSERT_EQ(OpenRecordingForView(*state, dir.File("abc.txt")).result, OpenResult::kOpened);
  EXPECT_EQ(state->recording.recordingStart, DateTimeFromCivil(2026, 12, 8, 14, 3, 27, 0));
  EXPECT_EQ(state->scales.samplePeriodMs, 0.2f);
  EXPECT_EQ(state->scales.voltsPerDiv, 0.5f);
  EXPECT_EQ(state->scales.voltsUnit, "V");
}

}  // namespace
}  // namespace wyk
