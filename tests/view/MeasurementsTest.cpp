#include "view/Measurements.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>

#include "common/NumberText.h"
#include "support/TempDir.h"
#include "view/MeasurementTexts.h"

namespace wyk {
namespace {

using Signal = std::function<double(int64_t)>;

Signal Sine(double period, double noise) {
  auto random = std::make_shared<std::mt19937>(7);
  return [=](int64_t i) {
    std::normal_distribution<double> n(0, noise);
    return 128 + 100 * std::sin(2 * std::numbers::pi * static_cast<double>(i) / period) +
           (noise > 0 ? n(*random) : 0);
  };
}

Signal Square(int period, int high) {
  return [=](int64_t i) { return i % period < high ? 200.0 : 50.0; };
}

// A square of `period` samples, high for `duty` of it, with noise of 2 levels.
Signal NoisySquare(double period, double duty) {
  auto random = std::make_shared<std::mt19937>(44);
  return [=](int64_t i) {
    std::normal_distribution<double> n(0, 2);
    return (std::fmod(static_cast<double>(i) / period, 1.0) < duty ? 200 : 50) + n(*random);
  };
}

std::string Bytes(const Signal& signal, int64_t count) {
  std::string bytes(static_cast<size_t>(count), '\0');
  for (int64_t i = 0; i < count; ++i)
    bytes[static_cast<size_t>(i)] = static_cast<char>(std::clamp(std::lround(signal(i)), 0L, 255L));
  return bytes;
}

// Minimum, maximum, mean and RMS of the levels, formed in long double straight from the bytes.
std::vector<std::string> Expected(const std::string& bytes, SampleSpan span, float vpd) {
  long double low = 250, high = 0, sum = 0, squares = 0;
  for (int64_t i = span.first; i < span.end; ++i) {
    const long double v = std::min<int>(static_cast<uint8_t>(bytes[static_cast<size_t>(i)]), 250);
    low = std::min(low, v), high = std::max(high, v), sum += v, squares += v * v;
  }
  const long double n = static_cast<long double>(span.Count());
  const auto text = [vpd](long double level) { return NumberText(level * vpd * 0.04L, 15); };
  return {text(low), text(high), text(sum / n), text(std::sqrt(squares / n))};
}

TEST(Measurements, FiguresOfSignalsAndStretches) {
  testing::TempDir dir;
  const struct {
    const char* name;
    Signal signal;
    int64_t count;
    SampleSpan span;
    double hertz;        // at 0,5 ms; 0: no frequency
    double tolerance;    // relative, of the frequency
    double dutyPercent;  // < 0: not checked
  } rows[] = {
      {"sine, 10 periods, noise 2", Sine(997.3, 2), 10000, {0, 10000}, 2000 / 997.3, 1e-4, -1},
      {"sine, view of 25 periods", Sine(40.1, 2), 20000, {3000, 4003}, 2000 / 40.1, 1e-4, -1},
      {"square 10 %", Square(100, 10), 1234, {0, 1234}, 20, 1e-3, 10},
      {"square 50 %", Square(100, 50), 1234, {17, 1234}, 20, 1e-3, 50},
      {"square 90 %, A–B", Square(100, 90), 5000, {250, 1251}, 20, 1e-3, 90},
      {"square 10 %, noise 2", NoisySquare(97.3, 0.1), 973, {0, 973}, 2000 / 97.3, 1e-3, 10},
      {"square 90 %, noise 2", NoisySquare(97.3, 0.9), 973, {0, 973}, 2000 / 97.3, 1e-3, 90},
      {"square 30 %, over three chunks", Square(1000, 300), 3000000, {1, 2999999}, 2, 1e-6, 30},
      {"one and a half periods", Square(100, 50), 1000, {0, 150}, 0, 0, -1},
      {"DC", [](int64_t) { return 128.0; }, 500, {0, 500}, 0, 0, -1},
      {"one sample", [](int64_t) { return 77.0; }, 10, {5, 6}, 0, 0, -1},
      {"all 0", [](int64_t) { return 0.0; }, 300, {0, 300}, 0, 0, -1},
      {"all 255, beyond 32-bit runs", [](int64_t) { return 255.0; }, 200000, {0, 200000}, 0, 0, -1},
      {"random",
       [r = std::make_shared<std::mt19937>(3)](int64_t) { return double((*r)() % 256); },
       300000,
       {1, 299999},
       -1,
       0,
       -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string bytes = Bytes(row.signal, row.count);
    testing::WriteFile(dir.File("m.osr"), bytes);
    const StretchFigures f = MeasureStretch(SampleFile::Open(dir.File("m.osr")), row.span);
    ASSERT_EQ(f.count, row.span.Count());
    Scales scales;  // 0,5 ms, 10 mV
    const std::vector<FigureText> texts = FigureTexts(f, scales);
    const std::vector<std::string> expected = Expected(bytes, row.span, scales.voltsPerDiv);
    for (size_t i : {0, 1, 3, 4}) EXPECT_EQ(texts[i].number, expected[i < 3 ? i : i - 1]) << i;
    if (row.hertz == 0) {
      EXPECT_EQ(texts[6].why, "mniej niż dwa pełne okresy");
    }
    if (row.hertz > 0) {
      ASSERT_TRUE(f.period);
      const double hertz = 1000.0 / (*f.period * 0.5);
      EXPECT_NEAR(hertz / row.hertz - 1, 0, row.tolerance) << hertz;
      if (row.dutyPercent >= 0) {
        EXPECT_NEAR(*f.duty * 100, row.dutyPercent, 0.5);
      }
    }
  }
}

TEST(Measurements, LongestRecordingsSumWithoutOverflow) {
  StretchFigures f;  // 2^31 − 1 samples of 255 (level 250)
  f.count = INT32_MAX;
  f.minLevel = f.maxLevel = 250;
  f.levelSum = 250ull * INT32_MAX;
  f.levelSquareSum = 62500ull * INT32_MAX;
  const std::vector<FigureText> texts = FigureTexts(f, Scales{});
  for (size_t i : {0, 1, 3, 4}) EXPECT_EQ(texts[i].number, "100") << i;
  EXPECT_EQ(texts[5].number, "0");
}

}  // namespace
}  // namespace wyk
