#pragma once
// The open recording's plot at a chosen zoom step and scroll position, as the window shows it
// after zooming and scrolling there.

#include <cstdint>

namespace wyk {

struct RecorderState;

// Sets zoomStep (at least 1), zoomPercent and the scroll bar for it, moves the scroll position to
// `position` (kept within 0 … maximum, as the scroll bar does), reads the window from there and
// draws the plot layer into plotBitmap. The scale layer is the caller's: DrawScales at
// scrollBar.position.
void ViewRecordingAt(RecorderState& state, int64_t step, int64_t position);

}  // namespace wyk
