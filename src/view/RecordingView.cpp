#include "view/RecordingView.h"

#include <algorithm>

#include "app/RecorderState.h"
#include "storage/WindowRead.h"
#include "view/PlotRenderer.h"
#include "view/ScaleRenderer.h"
#include "view/ZoomScroll.h"

namespace wyk {

void ViewRecordingAt(RecorderState& state, int64_t step, int64_t position) {
  state.view.zoomStep = static_cast<int32_t>(std::clamp<int64_t>(step, 1, INT32_MAX));
  state.view.zoomPercent =
      static_cast<int32_t>(state.recording.sampleCount / (5 * int64_t{state.view.zoomStep}));
  UpdateScrollBar(state);
  state.view.scrollBar.SetPosition(position);
  // A window read at the view, as scrolling out of the previous window does.
  state.view.windowStart = state.view.scrollBar.position;
  ReadWindow(state, state.view.zoomStep);
  state.view.windowOffset = state.view.previousWindowOffset = 0;
  UpdateScaleValues(state, state.view.scrollBar.position);
  DrawRecordingPlot(state, state.view.plotBitmap, 25, state.view.gridOffset);
}

}  // namespace wyk
