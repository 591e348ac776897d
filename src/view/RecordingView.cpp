#include "view/RecordingView.h"

#include <algorithm>

#include "storage/WindowRead.h"
#include "view/EnvelopeWindow.h"
#include "view/PlotRenderer.h"
#include "view/ScaleRenderer.h"
#include "view/ZoomScroll.h"

namespace wyk {

void ClearView(ViewWindow& view, CursorState& cursors) {
  view.zoomStep = 1;
  view.windowBuffer.fill(0);
  view.lastReadSample = 0;
  view.windowSamples = 0;
  cursors.selectionValid = false;
  view.scrollBar.thumbLength = 500;
  view.scrollBar.SetMaximum(0);
  view.windowOffset = view.windowStart = view.previousWindowOffset = 0;
}

void ResetZoom(const OpenRecording& recording, ViewWindow& view) {
  view.scrollBar.SetPosition(0);
  view.zoomPercent = std::max(recording.sampleCount / 5, 100);
  view.zoomStep = 1;
  view.previousWindowOffset = view.windowOffset = view.windowStart = 0;
}

namespace {

// The window's samples alone; any envelope read before no longer fits them.
void ReadSampledWindow(const OpenRecording& recording, ViewWindow& view, int32_t step) {
  view.windowSamples = static_cast<int32_t>(ReadWindow(recording.dataFile, view.windowStart, step,
                                                       view.lastReadSample, view.windowBuffer));
  view.envelopeValid = false;
}

}  // namespace

void ReadFirstWindow(const OpenRecording& recording, ViewWindow& view) {
  UpdateScrollBar(recording, view);
  // One sample a column: the envelope is the trace, so none is read.
  ReadSampledWindow(recording, view, 1);
}

void ReadWindow(const OpenRecording& recording, ViewWindow& view, int32_t step) {
  ReadSampledWindow(recording, view, step);
  if (view.envelopeShown) ReadWindowEnvelope(recording, view, step);
}

void ViewRecordingAt(const Settings& settings, const Scales& scales, const OpenRecording& recording,
                     ViewWindow& view, int64_t step, int64_t position) {
  view.zoomStep = static_cast<int32_t>(std::clamp<int64_t>(step, 1, INT32_MAX));
  view.zoomPercent = static_cast<int32_t>(recording.sampleCount / (5 * int64_t{view.zoomStep}));
  UpdateScrollBar(recording, view);
  view.scrollBar.SetPosition(position);
  // A window read at the view, as scrolling out of the previous window does.
  view.windowStart = view.scrollBar.position;
  ReadWindow(recording, view, view.zoomStep);
  view.windowOffset = view.previousWindowOffset = 0;
  UpdateScaleValues(scales, view, view.scrollBar.position);
  DrawRecordingPlot(settings, view, view.plotBitmap, 25, view.gridOffset);
}

}  // namespace wyk
