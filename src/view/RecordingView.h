#pragma once
// The open recording's plot at a chosen zoom step and scroll position, as the window shows it
// after zooming and scrolling there.

#include <cstdint>
#include "config/Settings.h"
#include "storage/OpenRecording.h"
#include "view/CursorState.h"
#include "view/Scales.h"
#include "view/ViewWindow.h"

namespace wyk {

// What closing a recording leaves: no samples in the window, the zoom at 1:1, the scroll bar
// without a range and no selection.
void ClearView(ViewWindow& view, CursorState& cursors);

// The zoom at 1:1 and the view at the start, as for a recording just opened.
void ResetZoom(const OpenRecording& recording, ViewWindow& view);

// The scroll bar for the recording and its first window (windowStart is 0).
void ReadFirstWindow(const OpenRecording& recording, ViewWindow& view);

// The window buffer from `windowStart` with stride `step`, and how much of it holds samples.
void ReadWindow(const OpenRecording& recording, ViewWindow& view, int32_t step);

// Sets zoomStep (at least 1), zoomPercent and the scroll bar for it, moves the scroll position to
// `position` (kept within 0 … maximum, as the scroll bar does), reads the window from there and
// draws the plot layer into plotBitmap. The scale layer is the caller's: DrawScales at
// scrollBar.position.
void ViewRecordingAt(const Settings& settings, const Scales& scales, const OpenRecording& recording,
                     ViewWindow& view, int64_t step, int64_t position);

}  // namespace wyk
