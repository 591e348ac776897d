// The amplitude spectrum of 2^20 samples: the engine against the plain transcription it must
// match bit for bit and against FFTW's real-to-complex transform with the same steps around it;
// and one showing of the spectrum window over a 1 MiB recording.

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

#include "Report.h"
#include "app/RecorderState.h"
#include "app/Windows.h"
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
    state->spectrum.fftSampleCount = kMaxFftSize;
    state->spectrum.fftSize = kMaxFftSize;
  }
};

void BM_Engine(benchmark::State& bench) {
  Setup s;
  for (auto _ : bench) {
    ComputeAmplitudeSpectrum(s.state->spectrum, s.input.data(), s.output.data(), 1.0f);
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

// FFTW's real-to-complex transform inside the same mean removal, Hann window (its cosine
// computed per sample, as a plain program would) and magnitudes over both halves. With
// `cachedWindow` it borrows the engine's mean removal and kept window instead, so that only the
// transforms differ.
// FFTW's best plan is chosen by timing candidates once; its wisdom is kept in the build folder so
// that every later run executes the same plan. The estimated plan is made with no wisdom in
// memory: FFTW would otherwise take the measured plan's wisdom for it.
constexpr const char* kWisdom = WYK_BENCH_BUILD_DIR "/fftw-wisdom-2e20.txt";

fftwf_plan Plan(int n, float* in, fftwf_complex* out, bool measured) {
  if (!measured) {
    fftwf_forget_wisdom();
    return fftwf_plan_dft_r2c_1d(n, in, out, FFTW_ESTIMATE);
  }
  fftwf_import_wisdom_from_filename(kWisdom);
  const fftwf_plan plan = fftwf_plan_dft_r2c_1d(n, in, out, FFTW_MEASURE);
  fftwf_export_wisdom_to_filename(kWisdom);
  return plan;
}

void Fftw(benchmark::State& bench, bool cachedWindow, bool measured = false) {
  Setup s;
  const int n = kMaxFftSize;
  float* in = fftwf_alloc_real(static_cast<size_t>(n));
  fftwf_complex* out = fftwf_alloc_complex(static_cast<size_t>(n / 2 + 1));
  const fftwf_plan plan = Plan(n, in, out, measured);
  for (auto _ : bench) {
    if (cachedWindow) {
      RemoveMean(s.state->spectrum, s.input.data());
      ApplyHannWindow(s.state->spectrum);
      std::copy_n(s.state->spectrum.fftInput.data(), n, in);
    } else {
      float sum = 0;
      for (int i = 0; i < n; ++i) sum += s.input[static_cast<size_t>(i)];
      const float mean = static_cast<float>(static_cast<double>(sum) / n);
      for (int i = 0; i < n; ++i) {
        const double w = 0.5 - 0.5 * std::cos(i * kFftTwoPi / n);
        in[i] = static_cast<float>(w * static_cast<float>(s.input[static_cast<size_t>(i)] - mean));
      }
    }
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
void BM_Fftw(benchmark::State& bench) {
  Fftw(bench, false);
}
BENCHMARK(BM_Fftw)->Unit(benchmark::kMillisecond);
void BM_FftwKeptWindow(benchmark::State& bench) {
  Fftw(bench, true);
}
BENCHMARK(BM_FftwKeptWindow)->Unit(benchmark::kMillisecond);
void BM_FftwMeasuredKeptWindow(benchmark::State& bench) {
  Fftw(bench, true, true);
}
BENCHMARK(BM_FftwMeasuredKeptWindow)->Unit(benchmark::kMillisecond);

// One showing of the spectrum window over a 1 MiB recording: progress frame, the single read,
// the computation, grid, line, axes and the window's repaint.
void BM_RefreshSpectrum1MiB(benchmark::State& bench) {
  const std::string path = "/tmp/wyk-bench-spectrum.osr";
  {
    std::mt19937 random(3);
    std::vector<char> bytes(kMaxFftSize);
    for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
  }
  auto state = std::make_unique<RecorderState>();
  const Windows windows = CreateWindows(*state, "/tmp/wyk-bench-spectrum.INI");
  state->recording.dataFile = SampleFile::Open(path);
  state->recording.dataFileOpen = true;
  state->recording.sampleCount = kMaxFftSize;
  windows.form1->show();
  windows.form3->show();
  for (auto _ : bench) windows.form3->RefreshSpectrum();
  state->recording.dataFile.Close();
  std::remove(path.c_str());
}
BENCHMARK(BM_RefreshSpectrum1MiB)->Unit(benchmark::kMillisecond);

// The first spectrum of a process, in milliseconds: the engine's kept tables are made then. A
// fresh child process each time; the median of nine, as one child in three may be slowed by the
// machine.
double FirstCallMs() {
  std::vector<double> times;
  for (int run = 0; run < 9; ++run) {
    times.push_back(bench::InChildProcess([] {
      Setup s;
      const auto start = std::chrono::steady_clock::now();
      ComputeAmplitudeSpectrum(s.state->spectrum, s.input.data(), s.output.data(), 1.0f);
      return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
          .count();
    }));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const double firstCallMs = FirstCallMs();
  QApplication app(argc, argv);
  const int status = bench::RunAndReport(
      argc, argv,
      {{"fft_vs_transcription", "BM_Engine", "BM_Transcription"},
       {"fft_vs_fftw", "BM_Engine", "BM_Fftw"},
       {"fft_vs_fftw_kept_window", "BM_Engine", "BM_FftwKeptWindow"},
       {"fft_vs_fftw_measured_kept_window", "BM_Engine", "BM_FftwMeasuredKeptWindow"}},
      {{"spectrum_refresh_1mib_ms", "BM_RefreshSpectrum1MiB", "ms"}});
  std::printf("figure spectrum_first_call_ms %.3f ms\n", firstCallMs);
  return status;
}
