#pragma once
// Zoom and scrolling through a recording: the scroll bar's values from the zoom step.

namespace wyk {

struct RecorderState;

// Thumb length, maximum and step sizes from `zoomStep` and `sampleCount`. With no samples the
// thumb cannot be computed: raises "Floating point division by zero".
void UpdateScrollBar(RecorderState& state);

}  // namespace wyk
