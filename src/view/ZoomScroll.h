#pragma once
// Zoom and scrolling through a recording: the scroll bar's values from the zoom step, the view
// over the window of samples, and what the five zoom buttons do to them.

#include <optional>
#include <string>
#include "config/Settings.h"
#include "storage/OpenRecording.h"
#include "storage/SampleStretch.h"
#include "view/CursorState.h"
#include "view/Scales.h"
#include "view/ViewWindow.h"

namespace wyk {

class Canvas;

// Thumb length, maximum and step sizes from `zoomStep` and `sampleCount`. With no samples the
// thumb cannot be computed: raises "Floating point division by zero".
void UpdateScrollBar(const OpenRecording& recording, ViewWindow& view);

// Makes the view start at the scroll position: `windowOffset` from it, and the window read again,
// starting at the view, when the view leaves the window or falls between two of its elements
// (so that column x always shows sample position + zoomStep × x). True when it was read again.
bool PlaceView(const OpenRecording& recording, ViewWindow& view);

// The samples the plot shows: position … position + 500 × zoomStep, past the end too.
SampleSpan ViewSpan(const ViewWindow& view);

// Scale values, the plot of the current view into plotBitmap, and its copy onto the window.
void DrawView(const Settings& settings, const Scales& scales, ViewWindow& view, Canvas& window);

// The zoom buttons' arithmetic, up to the point where the view is shown again (PlaceView and the
// redraw are the caller's). Each returns the zoom label's new text, or nothing when the button
// does nothing at all.
std::string ShowAll(const OpenRecording& recording, ViewWindow& view);  // z1, "Pokaż całość"
std::string ZoomOff(const OpenRecording& recording, ViewWindow& view);  // z2, "Wyłącz powiększenie"
std::string ZoomIn(const OpenRecording& recording, ViewWindow& view);  // z3, "Powiększ"
std::optional<std::string> ZoomOut(const OpenRecording& recording,
                                   ViewWindow& view);  // z4, "Zmniejsz"
std::optional<std::string> ZoomToSelection(
    const OpenRecording& recording, ViewWindow& view,
    const CursorState& cursors);  // z5, then the scroll steps

}  // namespace wyk
