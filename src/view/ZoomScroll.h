#pragma once
// Zoom and scrolling through a recording: the scroll bar's values from the zoom step, the view
// over the window of samples, and what the five zoom buttons do to them.

#include <optional>
#include <string>

namespace wyk {

class Canvas;
struct RecorderState;

// Thumb length, maximum and step sizes from `zoomStep` and `sampleCount`. With no samples the
// thumb cannot be computed: raises "Floating point division by zero".
void UpdateScrollBar(RecorderState& state);

// Makes the view start at the scroll position: `windowOffset` from it, and the window read again,
// starting at the view, when the view leaves the window or falls between two of its elements
// (so that column x always shows sample position + zoomStep × x). True when it was read again.
bool PlaceView(RecorderState& state);

// Scale values, the plot of the current view into plotBitmap, and its copy onto the window.
void DrawView(RecorderState& state, Canvas& window);

// The zoom buttons' arithmetic, up to the point where the view is shown again (PlaceView and the
// redraw are the caller's). Each returns the zoom label's new text, or nothing when the button
// does nothing at all.
std::string ShowAll(RecorderState& state);                         // z1, "Pokaż całość"
std::string ZoomOff(RecorderState& state);                         // z2, "Wyłącz powiększenie"
std::string ZoomIn(RecorderState& state);                          // z3, "Powiększ"
std::optional<std::string> ZoomOut(RecorderState& state);          // z4, "Zmniejsz"
std::optional<std::string> ZoomToSelection(RecorderState& state);  // z5, then the scroll steps

}  // namespace wyk
