#include "view/RecordingView.h"

#include <algorithm>

#include "app/RecorderState.h"
#include "storage/WindowRead.h"
#include "view/PlotRenderer.h"
#include "view/ScaleRenderer.h"
#include "view/ZoomScroll.h"

namespace wyk {

void ViewRecordingAt(RecorderState& state, int64_t step, int64_t position) {
  state.zoomStep = static_cast<int32_t>(std::clamp<int64_t>(step, 1, INT32_MAX));
  state.zoomPercent = static_cast<int32_t>(state.sampleCount / (5 * int64_t{state.zoomStep}));
  UpdateScrollBar(state);
  state.scrollBar.SetPosition(position);
  // A window read at the view, as scrolling out of the previous window does.
  state.windowStart = state.scrollBar.position;
  ReadWindow(state, state.zoomStep);
  state.windowOffset = state.previousWindowOffset = 0;
  UpdateScaleValues(state, state.scrollBar.position);
  DrawRecordingPlot(state, state.plotBitmap, 25, state.gridOffset);
}

}  // namespace wyk
