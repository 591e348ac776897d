// Browsing a 1 GiB recording with a warm cache: one scroll step that stays inside the window, one
// scroll jump that reads the window again, and zoom changes up to the worst one, each with the
// full redraw of plot and scales.

#include <benchmark/benchmark.h>

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
#include "view/PlotRenderer.h"
#include "view/QtTextDrawer.h"
#include "view/ScaleRenderer.h"
#include "view/ZoomScroll.h"

namespace {

using namespace wyk;

constexpr int64_t kSize = int64_t{1} << 30;

std::string Recording() {
  return bench::RandomRecording("1gib.osr", kSize);
}

struct Browser {
  std::unique_ptr<RecorderState> state = std::make_unique<RecorderState>();
  Canvas window{kWindowWidth, kWindowHeight};
  QtTextDrawer text;
  Browser() {
    InitPlotBitmaps(state->view, state->cursors);
    OpenRecordingForView(*state, Recording());
  }
  // What the scroll handler and the zoom buttons do after their arithmetic.
  void ShowViewAt() {
    PlaceView(state->recording, state->view);
    DrawView(state->settings, state->scales, state->view, window);
    DrawScales(state->settings, state->scales, state->recording, state->view, window, text, false,
               state->view.scrollBar.position);
  }
};

// Arrow steps at 1:1 back and forth inside the first window.
void BM_ScrollStep(benchmark::State& bench) {
  Browser b;
  b.ShowViewAt();
  int direction = 1;
  for (auto _ : bench) {
    ScrollBarState& bar = b.state->view.scrollBar;
    if (bar.position >= kWindowLength - kPlotWidth - 1 || bar.position <= 0) direction = -direction;
    bar.SetPosition(bar.position - direction * bar.smallChange);
    b.ShowViewAt();
    if (b.state->view.windowStart != 0) bench.SkipWithError("left the window");
  }
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMillisecond);

// Thumb jumps at 1:1 to places all over the recording: each reads a window of 10,000 samples.
void BM_ScrollJump(benchmark::State& bench) {
  Browser b;
  std::mt19937 random(3);
  for (auto _ : bench) {
    ScrollBarState& bar = b.state->view.scrollBar;
    bar.SetPosition(random() % uint32_t(bar.maximum));
    b.ShowViewAt();
  }
}
BENCHMARK(BM_ScrollJump)->Unit(benchmark::kMillisecond);

// "Pokaż całość" on 1 GiB: stride 2,147,483, so only the first 500 elements lie in the file.
void BM_ShowAll(benchmark::State& bench) {
  Browser b;
  for (auto _ : bench) {
    ShowAll(b.state->recording, b.state->view);
    b.ShowViewAt();
    benchmark::DoNotOptimize(b.state->view.plotValues.data());
  }
}
BENCHMARK(BM_ShowAll)->Unit(benchmark::kMillisecond);

// "Powiększ" to the given zoom figure from half of it. At 3200 % (stride 67,108) the window is
// the largest stride whose 10,000 elements all lie in the file: one read per element, each on a
// page of its own, the worst a zoom change does.
void BM_ZoomIn(benchmark::State& bench) {
  Browser b;
  const int percent = static_cast<int>(bench.range(0));
  for (auto _ : bench) {
    b.state->view.zoomPercent = percent / 2;
    ZoomIn(b.state->recording, b.state->view);
    b.ShowViewAt();
    benchmark::DoNotOptimize(b.state->view.plotValues.data());
  }
}
BENCHMARK(BM_ZoomIn)
    ->Unit(benchmark::kMillisecond)
    ->Arg(200)
    ->Arg(800)
    ->Arg(1600)
    ->Arg(3200)
    ->Arg(6400)
    ->Arg(204800)
    ->Arg(214748364);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int status = bench::RunAndReport(argc, argv, {},
                                         {{"scroll_step_1gib_ms", "BM_ScrollStep", "ms"},
                                          {"scroll_jump_1gib_ms", "BM_ScrollJump", "ms"},
                                          {"zoom_change_1gib_worst_ms", "BM_ZoomIn/3200", "ms"},
                                          {"zoom_show_all_1gib_ms", "BM_ShowAll", "ms"}});
  std::filesystem::remove_all(bench::TempFolder());
  return status;
}
