#include "view/ZoomScroll.h"

#include <algorithm>
#include <cmath>

#include "common/Errors.h"
#include "view/PlotRenderer.h"
#include "view/RecordingView.h"
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

void UpdateScrollBar(const OpenRecording& recording, ViewWindow& view) {
  ScrollBarState& bar = view.scrollBar;
  const double fraction = CheckedDivide(view.zoomStep * 500.0, recording.sampleCount);
  bar.thumbLength = static_cast<int32_t>(std::clamp(std::trunc(fraction * 500), 10.0, 500.0));
  bar.SetMaximum(int64_t{recording.sampleCount} - 500 * int64_t{view.zoomStep});
  bar.smallChange = view.zoomStep;
  bar.largeChange = ToInt32(25 * int64_t{view.zoomStep});
}

bool PlaceView(const OpenRecording& recording, ViewWindow& view) {
  const int64_t step = std::max(view.zoomStep, 1);
  const int64_t distance = int64_t{view.scrollBar.position} - view.windowStart;
  const int64_t offset = distance / step;
  // previousWindowOffset always lies within the window, so leaving it either way is the same
  // as leaving 0 … windowLength − 500.
  const bool outside = offset < 0 || offset > kWindowLength - kPlotWidth;
  const bool offGrid = distance % step != 0;
  const bool reread = outside || offGrid;
  if (reread) {
    view.windowStart = view.scrollBar.position;
    ReadWindow(recording, view, view.zoomStep);
    view.windowOffset = 0;
  } else {
    view.windowOffset = static_cast<int32_t>(offset);
  }
  view.previousWindowOffset = view.windowOffset;
  return reread;
}

SampleSpan ViewSpan(const ViewWindow& view) {
  const int64_t position = view.scrollBar.position;
  return {position, position + int64_t{kPlotWidth} * view.zoomStep};
}

void DrawView(const Settings& settings, const Scales& scales, ViewWindow& view, Canvas& window) {
  UpdateScaleValues(scales, view, view.scrollBar.position);
  DrawRecordingPlot(settings, view, view.plotBitmap, 25, view.gridOffset);
  PresentPlot(view, window);
}

std::string ShowAll(const OpenRecording& recording, ViewWindow& view) {
  view.zoomPercent = 100;
  view.zoomStep = std::max(recording.sampleCount / 500, 1);
  UpdateScrollBar(recording, view);
  view.scrollBar.SetMaximum(0);
  view.windowStart = 0;
  ReadWindow(recording, view, view.zoomStep);
  return "100%";
}

std::string ZoomOff(const OpenRecording& recording, ViewWindow& view) {
  view.zoomStep = 1;
  const std::string label = PercentText(recording.sampleCount / 5);
  ReadWindow(recording, view, 1);
  UpdateScrollBar(recording, view);
  view.zoomPercent = recording.sampleCount / 5;
  return label;
}

std::string ZoomIn(const OpenRecording& recording, ViewWindow& view) {
  view.zoomPercent =
      ToInt32(std::min<int64_t>(2 * int64_t{view.zoomPercent}, recording.sampleCount / 5));
  // Fewer than 5 samples leave no zoom figure to divide by; one sample per column is all there is.
  view.zoomStep =
      view.zoomPercent > 0 ? ToInt32(recording.sampleCount / (5 * int64_t{view.zoomPercent})) : 1;
  const std::string label = PercentText(view.zoomPercent);
  ReadWindow(recording, view, view.zoomStep);
  UpdateScrollBar(recording, view);
  return label;
}

std::optional<std::string> ZoomOut(const OpenRecording& recording, ViewWindow& view) {
  if (view.zoomStep >= recording.sampleCount / 500) return std::nullopt;
  view.scrollBar.SetPosition(int64_t{view.scrollBar.position} - 500 * int64_t{view.zoomStep});
  view.zoomPercent = std::max(view.zoomPercent / 2, 100);
  view.zoomStep =
      ToInt32(recording.sampleCount / (5 * int64_t{view.zoomPercent}));  // zoomPercent ≥ 100
  const std::string label = PercentText(view.zoomPercent);
  ReadWindow(recording, view, view.zoomStep);
  UpdateScrollBar(recording, view);
  return label;
}

std::optional<std::string> ZoomToSelection(const OpenRecording& recording, ViewWindow& view,
                                           const CursorState& cursors) {
  if (!cursors.selectionValid) return std::nullopt;
  const int64_t position =
      int64_t{view.scrollBar.position} + int64_t{cursors.selectionStart} * view.zoomStep;
  const int64_t width = int64_t{cursors.selectionEnd} - cursors.selectionStart;
  view.zoomStep = ToInt32(std::max<int64_t>(int64_t{view.zoomStep} * width / 500, 1));
  view.zoomPercent = ToInt32(recording.sampleCount / (5 * int64_t{view.zoomStep}));
  UpdateScrollBar(recording, view);
  const std::string label = PercentText(view.zoomPercent);
  view.scrollBar.SetPosition(position);
  ReadWindow(recording, view, view.zoomStep);
  return label;
}

}  // namespace wyk
