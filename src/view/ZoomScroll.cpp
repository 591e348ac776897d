#include "view/ZoomScroll.h"

#include <algorithm>
#include <cmath>

#include "app/RecorderState.h"
#include "common/Errors.h"
#include "storage/WindowRead.h"
#include "view/PlotRenderer.h"
#include "view/ScaleRenderer.h"

namespace wyk {
namespace {

std::string PercentText(int64_t percent) {
  return std::to_string(percent) + "%";
}

int32_t ToInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

void UpdateScrollBar(RecorderState& state) {
  ScrollBarState& bar = state.view.scrollBar;
  const double fraction = CheckedDivide(state.view.zoomStep * 500.0, state.recording.sampleCount);
  bar.thumbLength = static_cast<int32_t>(std::clamp(std::trunc(fraction * 500), 10.0, 500.0));
  bar.SetMaximum(int64_t{state.recording.sampleCount} - 500 * int64_t{state.view.zoomStep});
  bar.smallChange = state.view.zoomStep;
  bar.largeChange = ToInt32(25 * int64_t{state.view.zoomStep});
}

bool PlaceView(RecorderState& state) {
  const int64_t step = std::max(state.view.zoomStep, 1);
  const int64_t distance = int64_t{state.view.scrollBar.position} - state.view.windowStart;
  const int64_t offset = distance / step;
  // previousWindowOffset always lies within the window, so leaving it either way is the same
  // as leaving 0 … windowLength − 500.
  const bool outside = offset < 0 || offset > kWindowLength - kPlotWidth;
  const bool offGrid = distance % step != 0;
  const bool reread = outside || offGrid;
  if (reread) {
    state.view.windowStart = state.view.scrollBar.position;
    ReadWindow(state, state.view.zoomStep);
    state.view.windowOffset = 0;
  } else {
    state.view.windowOffset = static_cast<int32_t>(offset);
  }
  state.view.previousWindowOffset = state.view.windowOffset;
  return reread;
}

void DrawView(RecorderState& state, Canvas& window) {
  UpdateScaleValues(state, state.view.scrollBar.position);
  DrawRecordingPlot(state, state.view.plotBitmap, 25, state.view.gridOffset);
  PresentPlot(state, window);
}

std::string ShowAll(RecorderState& state) {
  state.view.zoomPercent = 100;
  state.view.zoomStep = std::max(state.recording.sampleCount / 500, 1);
  UpdateScrollBar(state);
  state.view.scrollBar.SetMaximum(0);
  state.view.windowStart = 0;
  ReadWindow(state, state.view.zoomStep);
  return "100%";
}

std::string ZoomOff(RecorderState& state) {
  state.view.zoomStep = 1;
  const std::string label = PercentText(state.recording.sampleCount / 5);
  ReadWindow(state, 1);
  UpdateScrollBar(state);
  state.view.zoomPercent = state.recording.sampleCount / 5;
  return label;
}

std::string ZoomIn(RecorderState& state) {
  state.view.zoomPercent = ToInt32(
      std::min<int64_t>(2 * int64_t{state.view.zoomPercent}, state.recording.sampleCount / 5));
  // Fewer than 5 samples leave no zoom figure to divide by; one sample per column is all there is.
  state.view.zoomStep =
      state.view.zoomPercent > 0
          ? ToInt32(state.recording.sampleCount / (5 * int64_t{state.view.zoomPercent}))
          : 1;
  const std::string label = PercentText(state.view.zoomPercent);
  ReadWindow(state, state.view.zoomStep);
  UpdateScrollBar(state);
  return label;
}

std::optional<std::string> ZoomOut(RecorderState& state) {
  if (state.view.zoomStep >= state.recording.sampleCount / 500) return std::nullopt;
  state.view.scrollBar.SetPosition(int64_t{state.view.scrollBar.position} -
                                   500 * int64_t{state.view.zoomStep});
  state.view.zoomPercent = std::max(state.view.zoomPercent / 2, 100);
  state.view.zoomStep = ToInt32(state.recording.sampleCount /
                                (5 * int64_t{state.view.zoomPercent}));  // zoomPercent ≥ 100
  const std::string label = PercentText(state.view.zoomPercent);
  ReadWindow(state, state.view.zoomStep);
  UpdateScrollBar(state);
  return label;
}

std::optional<std::string> ZoomToSelection(RecorderState& state) {
  if (!state.cursors.selectionValid) return std::nullopt;
  const int64_t position = int64_t{state.view.scrollBar.position} +
                           int64_t{state.cursors.selectionStart} * state.view.zoomStep;
  const int64_t width = int64_t{state.cursors.selectionEnd} - state.cursors.selectionStart;
  state.view.zoomStep = ToInt32(std::max<int64_t>(int64_t{state.view.zoomStep} * width / 500, 1));
  state.view.zoomPercent =
      ToInt32(state.recording.sampleCount / (5 * int64_t{state.view.zoomStep}));
  UpdateScrollBar(state);
  const std::string label = PercentText(state.view.zoomPercent);
  state.view.scrollBar.SetPosition(position);
  ReadWindow(state, state.view.zoomStep);
  return label;
}

}  // namespace wyk
