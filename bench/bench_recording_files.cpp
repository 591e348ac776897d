// Window reads of a 256 MiB recording at several strides against the one-byte seek-and-read
// loop, and the opening of a 1 GiB recording through to its first window and scales.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
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
#include "storage/Recordings.h"
#include "storage/WindowRead.h"
#include "view/PlotRenderer.h"
#include "view/QtTextDrawer.h"
#include "view/ScaleRenderer.h"

namespace {

using namespace wyk;

constexpr int64_t kStrides[] = {1, 7, 100, 5000, 26843};

std::string FilledFile(const char* name, int64_t size) {
  return bench::RandomRecording(name, size);
}

// The window as a loop of one seek and one one-byte read per element fills it.
void SeekAndReadWindow(int fd, int64_t start, int64_t step, uint8_t& last, uint8_t* window) {
  for (int i = 0; i < kWindowLength; ++i) {
    uint8_t byte;
    if (lseek(fd, start + step * i, SEEK_SET) >= 0 && read(fd, &byte, 1) == 1) last = byte;
    window[i] = last;
  }
}

void BM_ReadWindow(benchmark::State& bench) {
  const SampleFile file = SampleFile::Open(FilledFile("256mib.osr", int64_t{256} << 20));
  std::vector<uint8_t> window(kWindowLength);
  uint8_t last = 0;
  for (auto _ : bench) {
    ReadWindow(file, 1000, bench.range(0), last, window);
    benchmark::DoNotOptimize(window.data());
  }
}

void BM_SeekAndRead(benchmark::State& bench) {
  const int fd = open(FilledFile("256mib.osr", int64_t{256} << 20).c_str(), O_RDONLY);
  std::vector<uint8_t> window(kWindowLength);
  uint8_t last = 0;
  for (auto _ : bench) {
    SeekAndReadWindow(fd, 1000, bench.range(0), last, window.data());
    benchmark::DoNotOptimize(window.data());
  }
  close(fd);
}

void OpenForViewing(RecorderState& state, Canvas& window, QtTextDrawer& text,
                    const std::string& name) {
  OpenRecordingForView(state, name);
  DrawScales(state.settings, state.scales, state.recording, state.view, window, text, false,
             state.view.scrollBar.position, [](const ScaleCaptions&) {});
  DrawRecordingPlot(state.settings, state.view, state.view.plotBitmap, 25, state.view.gridOffset);
  PresentPlot(state.view, window);
}

void BM_Open1GiB(benchmark::State& bench) {
  const std::string name = FilledFile("1gib.osr", int64_t{1} << 30);
  auto state = std::make_unique<RecorderState>();
  InitPlotBitmaps(state->view, state->cursors);
  Canvas window(kWindowWidth, kWindowHeight);
  QtTextDrawer text;
  for (auto _ : bench) OpenForViewing(*state, window, text, name);
}

// Peak resident memory, in MiB, of a child that opens the recording and draws its first view.
double PeakMiBOpening(const std::string& name) {
  return bench::InChildProcess([&name] {
    auto state = std::make_unique<RecorderState>();
    InitPlotBitmaps(state->view, state->cursors);
    Canvas window(kWindowWidth, kWindowHeight);
    QtTextDrawer text;
    OpenForViewing(*state, window, text, name);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
  });
}

}  // namespace

BENCHMARK(BM_ReadWindow)->ArgsProduct({{1, 7, 100, 5000, 26843}});
BENCHMARK(BM_SeekAndRead)->ArgsProduct({{1, 7, 100, 5000, 26843}});
BENCHMARK(BM_Open1GiB)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  std::vector<bench::Comparison> comparisons;
  for (const int64_t stride : kStrides) {
    const std::string arg = "/" + std::to_string(stride);
    comparisons.push_back({"readwindow_stride" + std::to_string(stride), "BM_ReadWindow" + arg,
                           "BM_SeekAndRead" + arg});
  }
  const int status =
      bench::RunAndReport(argc, argv, comparisons, {{"open_1gib_ms", "BM_Open1GiB", "ms"}});
  std::printf("figure open_1gib_peak_rss_mib %.1f MiB\n",
              PeakMiBOpening(FilledFile("1gib.osr", int64_t{1} << 30)));
  std::printf("figure open_1mib_peak_rss_mib %.1f MiB\n",
              PeakMiBOpening(FilledFile("1mib.osr", int64_t{1} << 20)));
  std::filesystem::remove_all(bench::TempFolder());
  return status;
}
