// Measuring and the envelope on a 1 GiB recording with a warm cache: the figures of the whole
// recording against a plain sum of its bytes, the summary's build, and "Pokaż całość" drawn as
// the envelope once the summary is there.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "RandomRecording.h"
#include "Report.h"
#include "app/RecorderFiles.h"
#include "app/RecorderState.h"
#include "view/Measurements.h"
#include "view/PlotRenderer.h"
#include "view/ZoomScroll.h"

namespace {

using namespace wyk;

constexpr int64_t kSize = int64_t{1} << 30;

// A 50 Hz sine at 0,5 ms (40 samples a period) of 100 levels with noise of 2 levels RMS: what a
// measured recording looks like. Written once and read back so that the page cache holds it.
std::string SineRecording() {
  const std::string path = bench::TempFolder() + "/sine.osr";
  if (std::filesystem::exists(path)) return path;
  std::vector<uint8_t> block(1 << 20);
  std::mt19937 random(5);
  std::normal_distribution<double> noise(0, 2);
  for (size_t i = 0; i < block.size(); ++i)
    block[i] = static_cast<uint8_t>(std::clamp(
        std::lround(128 + 100 * std::sin(2 * M_PI * double(i) / 40) + noise(random)), 0L, 255L));
  std::FILE* out = std::fopen(path.c_str(), "wb");
  for (int64_t done = 0; done < kSize; done += int64_t(block.size()))
    std::fwrite(block.data(), 1, block.size(), out);
  std::fclose(out);
  const SampleFile file = SampleFile::Open(path);
  for (int64_t at = 0; at < kSize; at += int64_t(block.size()))
    file.ReadAt(at, block.data(), int64_t(block.size()));
  return path;
}

void BM_Measure(benchmark::State& bench) {
  const SampleFile file = SampleFile::Open(SineRecording());
  for (auto _ : bench) benchmark::DoNotOptimize(MeasureStretch(file, {0, kSize}).period);
}
BENCHMARK(BM_Measure)->Unit(benchmark::kMillisecond);

// Random bytes cross the mean every few samples: the slowest case of the edge search.
void BM_MeasureRandom(benchmark::State& bench) {
  const SampleFile file = SampleFile::Open(bench::RandomRecording("1gib.osr", kSize));
  for (auto _ : bench) benchmark::DoNotOptimize(MeasureStretch(file, {0, kSize}).period);
}
BENCHMARK(BM_MeasureRandom)->Unit(benchmark::kMillisecond);

// The yardstick: the same reads and a loop adding up the bytes.
void BM_PlainSum(benchmark::State& bench) {
  const SampleFile file = SampleFile::Open(SineRecording());
  std::vector<uint8_t> chunk(1 << 20);
  for (auto _ : bench) {
    uint64_t sum = 0;
    for (int64_t at = 0; at < kSize; at += int64_t(chunk.size())) {
      const int64_t got = file.ReadAt(at, chunk.data(), int64_t(chunk.size()));
      for (int64_t i = 0; i < got; ++i) sum += chunk[size_t(i)];
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_PlainSum)->Unit(benchmark::kMillisecond);

void BM_EnvelopeSummary(benchmark::State& bench) {
  const SampleFile file = SampleFile::Open(SineRecording());
  SampleSummary summary;
  for (auto _ : bench) summary.Build(file);
  bench.counters["MiB"] = double(summary.MemoryBytes()) / (1 << 20);
}
BENCHMARK(BM_EnvelopeSummary)->Unit(benchmark::kMillisecond);

// "Pokaż całość" with the envelope shown: the window's elements from the summary, and the redraw.
void BM_EnvelopeShowAll(benchmark::State& bench) {
  auto state = std::make_unique<RecorderState>();
  Canvas window(kWindowWidth, kWindowHeight);
  InitPlotBitmaps(state->view, state->cursors);
  OpenRecordingForView(*state, SineRecording());
  state->recording.summary.Build(state->recording.dataFile);
  state->view.envelopeShown = true;
  for (auto _ : bench) {
    ShowAll(state->recording, state->view);
    PlaceView(state->recording, state->view);
    DrawView(state->settings, state->scales, state->view, window);
    if (!state->view.envelopeValid) bench.SkipWithError("no envelope");
  }
}
BENCHMARK(BM_EnvelopeShowAll)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int status =
      bench::RunAndReport(argc, argv, {{"measure_vs_plain_sum", "BM_Measure", "BM_PlainSum"}},
                          {{"measure_1gib_ms", "BM_Measure", "ms"},
                           {"measure_random_1gib_ms", "BM_MeasureRandom", "ms"},
                           {"plain_sum_1gib_ms", "BM_PlainSum", "ms"},
                           {"envelope_summary_1gib_ms", "BM_EnvelopeSummary", "ms"},
                           {"envelope_show_all_1gib_ms", "BM_EnvelopeShowAll", "ms"}});
  SampleSummary summary;
  summary.Build(SampleFile::Open(SineRecording()));
  std::printf("figure envelope_summary_memory_per_gib %.2f MiB\n",
              double(summary.MemoryBytes()) / (1 << 20));
  std::filesystem::remove_all(bench::TempFolder());
  return status;
}
