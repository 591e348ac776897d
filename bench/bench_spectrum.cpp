// The amplitude spectrum of 2^20 samples: the engine against the plain transcription it must
// match bit for bit, and against FFTW's real-to-complex transform with the same mean removal,
// Hann window and magnitudes around it.

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "Report.h"
#include "spectrum/FftEngine.h"
#include "support/FftTranscription.h"

namespace {

using namespace wyk;

struct Setup {
  std::unique_ptr<RecorderState> state = std::make_unique<RecorderState>();
  std::vector<float> input = std::vector<float>(kMaxFftSize);
  std::vector<float> output = std::vector<float>(kMaxFftSize);

  Setup() {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (float& v : input) v = static_cast<float>(byte(random));
    state->fftSampleCount = kMaxFftSize;
    state->fftSize = kMaxFftSize;
  }
};

void BM_Engine(benchmark::State& bench) {
  Setup s;
  for (auto _ : bench) {
    ComputeAmplitudeSpectrum(*s.state, s.input.data(), s.output.data(), 1.0f);
    benchmark::DoNotOptimize(s.output.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Engine)->Unit(benchmark::kMillisecond);

void BM_Transcription(benchmark::State& bench) {
  Setup s;
  for (auto _ : bench) {
    testing::TranscribedSpectrum(*s.state, s.input.data(), s.output.data(), 1.0f);
    benchmark::DoNotOptimize(s.output.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Transcription)->Unit(benchmark::kMillisecond);

// The engine's own mean removal and window, then FFTW, then magnitudes over both halves.
void BM_Fftw(benchmark::State& bench) {
  Setup s;
  const int n = kMaxFftSize;
  float* in = fftwf_alloc_real(static_cast<size_t>(n));
  fftwf_complex* out = fftwf_alloc_complex(static_cast<size_t>(n / 2 + 1));
  const fftwf_plan plan = fftwf_plan_dft_r2c_1d(n, in, out, FFTW_MEASURE);
  for (auto _ : bench) {
    RemoveMean(*s.state, s.input.data());
    ApplyHannWindow(*s.state);
    std::copy_n(s.state->fftInput.data(), n, in);
    fftwf_execute(plan);
    const double divisor = static_cast<double>(n) / 1.0f;
    float* m = s.output.data();
    for (int k = 0; k <= n / 2; ++k) {
      const double re = out[k][0], im = out[k][1];
      m[k] = static_cast<float>(static_cast<float>(std::sqrt(re * re + im * im)) / divisor);
    }
    for (int k = n / 2 + 1; k < n; ++k) m[k] = m[n - k];
    benchmark::DoNotOptimize(m);
    benchmark::ClobberMemory();
  }
  fftwf_destroy_plan(plan);
  fftwf_free(out);
  fftwf_free(in);
}
BENCHMARK(BM_Fftw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return bench::RunAndReport(argc, argv,
                             {{"fft_vs_transcription", "BM_Engine", "BM_Transcription"},
                              {"fft_vs_fftw", "BM_Engine", "BM_Fftw"}},
                             {});
}
