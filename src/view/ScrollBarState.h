#pragma once
// The values of the scroll bar under the plot, kept with the recorder state so that the
// zoom and scroll operations run without a window; the window's scroll bar mirrors them.

#include <algorithm>
#include <cstdint>

namespace wyk {

struct ScrollBarState {
  int32_t position = 0;  // sample index shown in plot column 0
  int32_t maximum = 0;
  int32_t thumbLength = 500;  // pixels
  int32_t smallChange = 1;
  int32_t largeChange = 25;

  // A maximum below the minimum 0 becomes 0; the position is lowered to the maximum.
  void SetMaximum(int64_t value) {
    maximum = static_cast<int32_t>(std::clamp<int64_t>(value, 0, INT32_MAX));
    position = std::min(position, maximum);
  }
  // The position stays within 0 … maximum.
  void SetPosition(int64_t value) {
    position = static_cast<int32_t>(std::clamp<int64_t>(value, 0, maximum));
  }
};

}  // namespace wyk
