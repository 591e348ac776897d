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
  ScrollBarState& bar = state.scrollBar;
  const double fraction = CheckedDivide(state.zoomStep * 500.0, state.sampleCount);
  bar.thumbLength = static_cast<int32_t>(std::clamp(std::trunc(fraction * 500), 10.0, 500.0));
  bar.SetMaximum(int64_t{state.sampleCount} - 500 * int64_t{state.zoomStep});
  bar.smallChange = state.zoomStep;
  bar.largeChange = ToInt32(25 * int64_t{state.zoomStep});
}

bool PlaceView(RecorderState& state) {
  const int64_t step = std::max(state.zoomStep, 1);
  const int64_t distance = int64_t{state.scrollBar.position} - state.windowStart;
  const int64_t offset = distance / step;
  // previousWindowOffset always lies within the window, so leaving it either way is the same
  // as leaving 0 … windowLength − 500.
  const bool outside = offset < 0 || offset > kWindowLength - kPlotWidth;
  const bool offGrid = distance % step != 0;
  const bool reread = outside || offGrid;
  if (reread) {
    state.windowStart = state.scrollBar.position;
    ReadWindow(state, state.zoomStep);
    state.windowOffset = 0;
  } else {
    state.windowOffset = static_cast<int32_t>(offset);
  }
  state.previousWindowOffset = state.windowOffset;
  return reread;
}

void DrawView(RecorderState& state, Canvas& window) {
  UpdateScaleValues(state, state.scrollBar.position);
  DrawRecordingPlot(state, state.plotBitmap, 25, state.gridOffset);
  PresentPlot(state, window);
}

std::string ShowAll(RecorderState& state) {
  state.zoomPercent = 100;
  state.zoomStep = std::max(state.sampleCount / 500, 1);
  UpdateScrollBar(state);
  state.scrollBar.SetMaximum(0);
  state.windowStart = 0;
  ReadWindow(state, state.zoomStep);
  return "100%";
}

std::string ZoomOff(RecorderState& state) {
  state.zoomStep = 1;
  const std::string label = PercentText(state.sampleCount / 5);
  ReadWindow(state, 1);
  UpdateScrollBar(state);
  state.zoomPercent = state.sampleCount / 5;
  return label;
}

std::string ZoomIn(RecorderState& state) {
  state.zoomPercent =
      ToInt32(std::min<int64_t>(2 * int64_t{state.zoomPercent}, state.sampleCount / 5));
  // Fewer than 5 samples leave no zoom figure to divide by; one sample per column is all there is.
  state.zoomStep =
      state.zoomPercent > 0 ? ToInt32(state.sampleCount / (5 * int64_t{state.zoomPercent})) : 1;
  const std::string label = PercentText(state.zoomPercent);
  ReadWindow(state, state.zoomStep);
  UpdateScrollBar(state);
  return label;
}

std::optional<std::string> ZoomOut(RecorderState& state) {
  if (state.zoomStep >= state.sampleCount / 500) return std::nullopt;
  state.scrollBar.SetPosition(int64_t{state.scrollBar.position} - 500 * int64_t{state.zoomStep});
  state.zoomPercent = std::max(state.zoomPercent / 2, 100);
  state.zoomStep =
      ToInt32(state.sampleCount / (5 * int64_t{state.zoomPercent}));  // zoomPercent ≥ 100
  const std::string label = PercentText(state.zoomPercent);
  ReadWindow(state, state.zoomStep);
  UpdateScrollBar(state);
  return label;
}

std::optional<std::string> ZoomToSelection(RecorderState& state) {
  if (!state.selectionValid) return std::nullopt;
  const int64_t position =
      int64_t{state.scrollBar.position} + int64_t{state.selectionStart} * state.zoomStep;
  const int64_t width = int64_t{state.selectionEnd} - state.selectionStart;
  state.zoomStep = ToInt32(std::max<int64_t>(int64_t{state.zoomStep} * width / 500, 1));
  state.zoomPercent = ToInt32(state.sampleCount / (5 * int64_t{state.zoomStep}));
  UpdateScrollBar(state);
  const std::string label = PercentText(state.zoomPercent);
  state.scrollBar.SetPosition(position);
  ReadWindow(state, state.zoomStep);
  return label;
}

}  // namespace wyk
