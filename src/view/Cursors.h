#pragma once
// The measurement cursors A and B and the marked stretch of the plot: which sample and level a
// cursor stands on, where its three markers go, the readout texts, and the selection band.
//
// A cursor at plot column c stands on sample position + c × zoomStep, the sample drawn in that
// column, so that its readouts match the trace at every zoom.

#include <cstdint>
#include <optional>
#include <string>

#include "storage/OpenRecording.h"
#include "storage/SampleStretch.h"
#include "view/Canvas.h"
#include "view/CursorState.h"
#include "view/Scales.h"
#include "view/ViewWindow.h"

namespace wyk {

enum class Cursor : uint8_t { kA = 1, kB = 2 };  // as draggedCursor counts them

// Where a cursor's markers stand: the pin in strip x, the vertical line's left and the
// horizontal line's top in window pixels.
struct CursorMarks {
  int pinLeft = 0;
  int lineLeft = 0;
  int lineTop = 0;
};

// Time of day of sample s after recordingStart: s × samplePeriodMs cut to whole milliseconds.
std::string SampleTimeText(const Scales& scales, const OpenRecording& recording, int64_t sample);
// Volts of a level in pixels above the plot's bottom edge, 25 pixels to a division.
std::string LevelValueText(const Scales& scales, int64_t level);
// The A-B readouts: the magnitude of the time between the two samples, and the signed value.
std::string DifferenceTimeText(const Scales& scales, const OpenRecording& recording,
                               const CursorState& cursors);
std::string DifferenceValueText(const Scales& scales, const CursorState& cursors);

// From the earlier of A and B to the later, both included.
SampleSpan CursorSpan(const CursorState& cursors);

// The cursor to column 0 of the view, as switching on and snapping put it.
CursorMarks PutCursorAtViewStart(const ViewWindow& view, CursorState& cursors, Cursor cursor);

// draggedCursor from a press at strip x: the pin whose left … left + 11 holds x, A before B.
void PickCursor(CursorState& cursors, int x, int pinALeft, int pinBLeft);

// The dragged cursor to strip x held within the columns that show samples; its new marks, or
// nothing when no cursor is dragged. The A-B readouts follow either way.
std::optional<CursorMarks> DragCursor(const ViewWindow& view, CursorState& cursors, int x);

// After a scroll: the pin and vertical line of a cursor whose sample is in view (lineTop keeps
// the level), nothing when it is out of view.
std::optional<CursorMarks> FollowScroll(const ViewWindow& view, const CursorState& cursors,
                                        Cursor cursor);

// Mouse on the window's surface, in window pixels.
void BeginSelection(CursorState& cursors, int x, int y);
// True when the band is to be drawn again (left button held over the plot).
bool ExtendSelection(CursorState& cursors, int x, int y, bool leftButton);
void EndSelection(CursorState& cursors);

// The band between the two selection bounds over the plot's height, in window pixels.
Rect SelectionBand(const CursorState& cursors);
// Copies the plot onto the window, wiping the previous band, then inverts the current band.
void DrawSelectionBand(const ViewWindow& view, const CursorState& cursors, Canvas& window);

}  // namespace wyk
