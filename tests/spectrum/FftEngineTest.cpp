#include "spectrum/FftEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "app/RecorderState.h"
#include "support/FftTranscription.h"

namespace wyk {
namespace {

struct Spectrum {
  std::unique_ptr<RecorderState> state = std::make_unique<RecorderState>();
  std::vector<float> output;
  std::vector<int> progress;

  Spectrum(const std::vector<float>& input, int size = 0) : output(kMaxFftSize, -1.0f) {
    state->spectrum.fftSampleCount = static_cast<int>(input.size());
    state->spectrum.fftSize = size ? size : TransformSizeFor(state->spectrum.fftSampleCount);
    ComputeAmplitudeSpectrum(state->spectrum, input.data(), output.data(), 1.0f,
                             [this](int stage) { progress.push_back(stage); });
  }
  float operator[](int k) const { return output[static_cast<size_t>(k)]; }
};

std::vector<float> Cosine(int count, double amplitude, int periods, double offset) {
  std::vector<float> x(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    x[static_cast<size_t>(i)] = static_cast<float>(
        offset + amplitude * std::cos(2 * std::numbers::pi * periods * i / count));
  return x;
}

std::vector<float> Noise(int count, unsigned seed, bool bytes) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  std::normal_distribution<float> normal(0.0f, 1000.0f);
  std::vector<float> x(static_cast<size_t>(count));
  for (float& v : x) v = bytes ? static_cast<float>(byte(random)) : normal(random);
  return x;
}

TEST(FftEngine, TransformSizeIsTheNextPowerOfTwoUpToTheLimit) {
  const int cases[][2] = {{0, 2},
                          {1, 2},
                          {2, 4},
                          {1000, 1024},
                          {1023, 1024},
                          {1024, 2048},
                          {1025, 2048},
                          {524287, 524288},
                          {524288, 1048576},
                          {1048575, 1048576},
                          {1048576, 1048576},
                          {2000000, 1048576}};
  for (const auto& c : cases) EXPECT_EQ(TransformSizeFor(c[0]), c[1]) << c[0];
}

TEST(FftEngine, EdgeCases) {
  {  // a constant goes out with the mean
    Spectrum run(std::vector<float>(1000, 77.0f));
    for (int k = 0; k < 1024; ++k) ASSERT_EQ(run[k], 0.0f) << k;
  }
  {  // one sample: N 2, both bins 0, no stage of length 4
    Spectrum run({200.0f});
    EXPECT_EQ(run.state->spectrum.fftSize, 2);
    EXPECT_EQ(run[0], 0.0f);
    EXPECT_EQ(run[1], 0.0f);
    EXPECT_EQ(run[2], -1.0f);  // nothing written beyond N
    EXPECT_TRUE(run.progress.empty());
  }
  {  // 1,000 samples: padded to 1,024 and divided by 1,000, not by N
    const std::vector<float> x = Cosine(1000, 40, 50, 128);
    Spectrum run(x);
    EXPECT_EQ(run.state->spectrum.fftSize, 1024);
    for (int i = 1000; i < 1024; ++i)
      EXPECT_EQ(run.state->spectrum.fftInput[static_cast<size_t>(i)], 0.0f);
    // One bin of a 1,000-sample window padded to 1,024 lies near 51.2; the peak is 40 / 4 times
    // the window's response there, all divided by 1,000.
    RecorderState& s = *run.state;
    double re = 0, im = 0;
    for (int i = 0; i < 1000; ++i) {
      const double angle = 2 * std::numbers::pi * 51 * i / 1024.0;
      re += s.spectrum.fftInput[static_cast<size_t>(i)] * std::cos(angle);
      im -= s.spectrum.fftInput[static_cast<size_t>(i)] * std::sin(angle);
    }
    EXPECT_NEAR(run[51], std::hypot(re, im) / 1000, 1e-3);
    EXPECT_EQ(run.progress, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
  }
}

TEST(FftEngine, CosineOfKPeriodsGivesAQuarterOfItsAmplitudeAtBinsKAndNMinusK) {
  const int n = kMaxFftSize;
  struct Case {
    double amplitude;
    int periods;
  };
  for (const Case c : {Case{100, 1000}, Case{20, 12345}, Case{127, 300000}}) {
    Spectrum run(Cosine(n, c.amplitude, c.periods, 128));
    EXPECT_EQ(run.state->spectrum.fftSize, n);
    EXPECT_NEAR(run[c.periods], c.amplitude / 4, 1e-3 * c.amplitude);
    EXPECT_NEAR(run[n - c.periods], c.amplitude / 4, 1e-3 * c.amplitude);
    // Beside the two bins of the window's main lobe there is only rounding.
    for (int k : {0, c.periods + 2, c.periods / 2, n / 2, n - c.periods - 2})
      EXPECT_LT(run[k], 1e-3 * c.amplitude) << k;
    for (int k = 1; k < n / 2; ++k)
      ASSERT_NEAR(run[k], run[n - k], 1e-5 * c.amplitude) << "bin " << k;
    std::vector<int> stages(19);
    for (int i = 0; i < 19; ++i) stages[static_cast<size_t>(i)] = i;
    EXPECT_EQ(run.progress, stages);
  }
}

// Every array the engine writes, and its output, bit for bit as in the transcription, with and
// without the vector loops.
TEST(FftEngine, GivesTheTranscriptionsBits) {
  struct Case {
    int count;
    bool bytes;
    unsigned seed;
  };
  const Case cases[] = {{1, true, 1},        {2, true, 2},        {5, false, 3},
                        {200, true, 4},      {1000, false, 5},    {4096, true, 6},
                        {5000, false, 7},    {70000, true, 8},    {300000, false, 9},
                        {1048576, true, 10}, {1048576, false, 11}};
  auto reference = std::make_unique<RecorderState>();
  std::vector<float> expected(kMaxFftSize);
  for (const bool vector : {true, false})
    for (const Case& c : cases) {
      UseVectorLoops(vector);
      const std::vector<float> input = Noise(c.count, c.seed, c.bytes);
      Spectrum run(input);
      UseVectorLoops(true);
      const int n = run.state->spectrum.fftSize;
      reference->spectrum.fftSampleCount = c.count;
      reference->spectrum.fftSize = n;
      std::vector<int> progress;
      testing::TranscribedSpectrum(*reference, input.data(), expected.data(), 1.0f, &progress);
      EXPECT_EQ(run.progress, progress);
      const auto same = [n](const float* a, const float* b) {
        return std::memcmp(a, b, sizeof(float) * static_cast<size_t>(n)) == 0;
      };
      const RecorderState& s = *run.state;
      EXPECT_TRUE(same(s.spectrum.fftInput.data(), reference->spectrum.fftInput.data())) << c.count;
      EXPECT_TRUE(same(s.spectrum.fftReversedRe.data(), reference->spectrum.fftReversedRe.data()))
          << c.count;
      EXPECT_TRUE(same(s.spectrum.fftReversedIm.data(), reference->spectrum.fftReversedIm.data()))
          << c.count;
      EXPECT_TRUE(same(s.spectrum.fftRe.data(), reference->spectrum.fftRe.data())) << c.count;
      EXPECT_TRUE(same(s.spectrum.fftIm.data(), reference->spectrum.fftIm.data())) << c.count;
      EXPECT_TRUE(same(run.output.data(), expected.data())) << c.count;
    }
}

}  // namespace
}  // namespace wyk
