#include "Waveform.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

// 64 Hz sampled every 1/1024 s: sample k lies at k/16 of a cycle, exactly in binary.
constexpr double kPeriod = 1.0 / 1024;

TEST(Waveform, SamplesFollowTheShape) {
  struct Case {
    WaveShape shape;
    double amplitude, offset;
    int64_t index;
    int expected;
  };
  const Case cases[] = {
      {WaveShape::kSine, 100, 128, 4, 228},      {WaveShape::kSine, 100, 128, 12, 28},
      {WaveShape::kSquare, 100, 128, 7, 228},    {WaveShape::kSquare, 100, 128, 8, 28},
      {WaveShape::kTriangle, 100, 128, 0, 28},   {WaveShape::kTriangle, 100, 128, 8, 228},
      {WaveShape::kSawtooth, 100, 128, 15, 216},  // 215.5 rounds up
      {WaveShape::kSine, 300, 128, 4, 255},      {WaveShape::kSine, 300, 128, 12, 0},
      {WaveShape::kRamp, 100, 128, 255, 255},    {WaveShape::kRamp, 100, 128, 1000, 232},
  };
  for (const Case& c : cases) {
    const Waveform wave{c.shape, 64, c.amplitude, c.offset};
    EXPECT_EQ(WaveSample(wave, c.index, kPeriod), c.expected)
        << static_cast<int>(c.shape) << " index " << c.index;
  }
}

}  // namespace
}  // namespace sim
