#pragma once
// The measurement cursors A and B and the marked stretch of the plot: which sample and level a
// cursor stands on, where its three markers go, the readout texts, and the selection band.
//
// A cursor at plot column c stands on sample position + c × zoomStep, the sample drawn in that
// column, so that its readouts match the trace at every zoom.

#include <cstdint>
#include <optional>
#include <string>

#include "view/Canvas.h"

namespace wyk {

struct RecorderState;

enum class Cursor : uint8_t { kA = 1, kB = 2 };  // as draggedCursor counts them

// Where a cursor's markers stand: the pin in strip x, the vertical line's left and the
// horizontal line's top in window pixels.
struct CursorMarks {
  int pinLeft = 0;
  int lineLeft = 0;
  int lineTop = 0;
};

// Time of day of sample s after recordingStart: s × samplePeriodMs cut to whole milliseconds.
std::string SampleTimeText(const RecorderState& state, int64_t sample);
// Volts of a level in pixels above the plot's bottom edge, 25 pixels to a division.
std::string LevelValueText(const RecorderState& state, int64_t level);
// The A-B readouts: the magnitude of the time between the two samples, and the signed value.
std::string DifferenceTimeText(const RecorderState& state);
std::string DifferenceValueText(const RecorderState& state);

// The cursor to column 0 of the view, as switching on and snapping put it.
CursorMarks PutCursorAtViewStart(RecorderState& state, Cursor cursor);

// draggedCursor from a press at strip x: the pin whose left … left + 11 holds x, A before B.
void PickCursor(RecorderState& state, int x, int pinALeft, int pinBLeft);

// The dragged cursor to strip x held within the plot's columns; its new marks, or nothing when
// no cursor is dragged. The A-B readouts follow either way.
std::optional<CursorMarks> DragCursor(RecorderState& state, int x);

// After a scroll: the pin and vertical line of a cursor whose sample is in view (lineTop keeps
// the level), nothing when it is out of view.
std::optional<CursorMarks> FollowScroll(const RecorderState& state, Cursor cursor);

// Mouse on the window's surface, in window pixels.
void BeginSelection(RecorderState& state, int x, int y);
// True when the band is to be drawn again (left button held over the plot).
bool ExtendSelection(RecorderState& state, int x, int y, bool leftButton);
void EndSelection(RecorderState& state);

// The band between the two selection bounds over the plot's height, in window pixels.
Rect SelectionBand(const RecorderState& state);
// Copies the plot onto the window, wiping the previous band, then inverts the current band.
void DrawSelectionBand(const RecorderState& state, Canvas& window);

}  // namespace wyk
