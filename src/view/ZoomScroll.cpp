#include "view/ZoomScroll.h"

#include <algorithm>
#include <cmath>

#include "app/RecorderState.h"
#include "common/Errors.h"

namespace wyk {

void UpdateScrollBar(RecorderState& state) {
  ScrollBarState& bar = state.scrollBar;
  const double fraction = CheckedDivide(state.zoomStep * 500.0, state.sampleCount);
  bar.thumbLength = static_cast<int32_t>(std::clamp(std::trunc(fraction * 500), 10.0, 500.0));
  bar.SetMaximum(int64_t{state.sampleCount} - 500 * int64_t{state.zoomStep});
  bar.smallChange = state.zoomStep;
  bar.largeChange =
      static_cast<int32_t>(std::min<int64_t>(25 * int64_t{state.zoomStep}, INT32_MAX));
}

}  // namespace wyk
