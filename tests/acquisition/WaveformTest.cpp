#include "Waveform.h"

#include <gtest/gtest.h>

#include <set>

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
      {WaveShape::kSine, 100, 128, 0, 128},        {WaveShape::kSine, 100, 128, 4, 228},
      {WaveShape::kSine, 100, 128, 8, 128},        {WaveShape::kSine, 100, 128, 12, 28},
      {WaveShape::kSquare, 100, 128, 0, 228},      {WaveShape::kSquare, 100, 128, 7, 228},
      {WaveShape::kSquare, 100, 128, 8, 28},       {WaveShape::kSquare, 100, 128, 16, 228},
      {WaveShape::kTriangle, 100, 128, 0, 28},     {WaveShape::kTriangle, 100, 128, 4, 128},
      {WaveShape::kTriangle, 100, 128, 8, 228},    {WaveShape::kTriangle, 100, 128, 12, 128},
      {WaveShape::kSawtooth, 100, 128, 0, 28},     {WaveShape::kSawtooth, 100, 128, 8, 128},
      {WaveShape::kSawtooth, 100, 128, 15, 216},   // 215.5 rounds up
      {WaveShape::kSine, 300, 128, 4, 255},        {WaveShape::kSine, 300, 128, 12, 0},
      {WaveShape::kSquare, 10, -50, 0, 0},         {WaveShape::kSquare, 10, 300, 8, 255},
      {WaveShape::kRamp, 100, 128, 0, 0},          {WaveShape::kRamp, 100, 128, 255, 255},
      {WaveShape::kRamp, 100, 128, 256, 0},        {WaveShape::kRamp, 100, 128, 1000, 232},
  };
  for (const Case& c : cases) {
    const Waveform wave{c.shape, 64, c.amplitude, c.offset};
    EXPECT_EQ(WaveSample(wave, c.index, kPeriod), c.expected)
        << static_cast<int>(c.shape) << " index " << c.index;
  }
}

TEST(Waveform, NoiseStaysWithinTheAmplitudeAndRepeatsPerIndex) {
  const Waveform wave{WaveShape::kNoise, 64, 50, 100};
  std::set<int> seen;
  for (int64_t i = 0; i < 10000; ++i) {
    const int v = WaveSample(wave, i, kPeriod);
    ASSERT_GE(v, 50);
    ASSERT_LE(v, 150);
    ASSERT_EQ(v, WaveSample(wave, i, kPeriod));
    seen.insert(v);
  }
  EXPECT_GT(seen.size(), 90u);
}

TEST(Waveform, ShapesByName) {
  EXPECT_EQ(WaveShapeNamed("sine"), WaveShape::kSine);
  EXPECT_EQ(WaveShapeNamed("square"), WaveShape::kSquare);
  EXPECT_EQ(WaveShapeNamed("triangle"), WaveShape::kTriangle);
  EXPECT_EQ(WaveShapeNamed("sawtooth"), WaveShape::kSawtooth);
  EXPECT_EQ(WaveShapeNamed("noise"), WaveShape::kNoise);
  EXPECT_EQ(WaveShapeNamed("ramp"), WaveShape::kRamp);
  EXPECT_EQ(WaveShapeNamed("Sine"), std::nullopt);
}

}  // namespace
}  // namespace sim
