#include "view/Cursors.h"

#include <algorithm>
#include <cmath>

#include "common/DateTime.h"
#include "view/CursorTexts.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

constexpr int kPlotBottom = kPlotTop + kPlotHeight;  // window y of level 0

int32_t& SampleOf(CursorState& cursors, Cursor cursor) {
  return cursor == Cursor::kA ? cursors.cursorASample : cursors.cursorBSample;
}
int32_t& LevelOf(CursorState& cursors, Cursor cursor) {
  return cursor == Cursor::kA ? cursors.cursorALevel : cursors.cursorBLevel;
}
int32_t SampleOf(const CursorState& cursors, Cursor cursor) {
  return cursor == Cursor::kA ? cursors.cursorASample : cursors.cursorBSample;
}
int32_t LevelOf(const CursorState& cursors, Cursor cursor) {
  return cursor == Cursor::kA ? cursors.cursorALevel : cursors.cursorBLevel;
}

int32_t SampleAtColumn(const ViewWindow& view, int column) {
  const int64_t sample = int64_t{view.scrollBar.position} + int64_t{column} * view.zoomStep;
  return static_cast<int32_t>(std::min<int64_t>(sample, INT32_MAX));
}

// Whole milliseconds of `samples` sampling periods, the product in extended precision.
long double WholeMs(const Scales& scales, int64_t samples) {
  return std::trunc(static_cast<long double>(samples) * scales.samplePeriodMs);
}

}  // namespace

std::string SampleTimeText(const Scales& scales, const OpenRecording& recording, int64_t sample) {
  return TimeText(DateTimeAfterMs(recording.recordingStart, WholeMs(scales, sample)));
}

std::string LevelValueText(const Scales& scales, int64_t level) {
  return LevelValueText(static_cast<int32_t>(level), scales.voltsPerDiv, scales.voltsUnit);
}

std::string DifferenceTimeText(const Scales& scales, const OpenRecording& recording,
                               const CursorState& cursors) {
  const int64_t d = int64_t{cursors.cursorASample} - cursors.cursorBSample;
  return TimeText(DateTimeAfterMs(recording.relativeTimeOrigin, std::fabs(WholeMs(scales, d))));
}

std::string DifferenceValueText(const Scales& scales, const CursorState& cursors) {
  return LevelValueText(scales, int64_t{cursors.cursorALevel} - cursors.cursorBLevel);
}

SampleSpan CursorSpan(const CursorState& cursors) {
  const auto [a, b] = std::minmax(cursors.cursorASample, cursors.cursorBSample);
  return {a, int64_t{b} + 1};
}

CursorMarks PutCursorAtViewStart(const ViewWindow& view, CursorState& cursors, Cursor cursor) {
  SampleOf(cursors, cursor) = view.scrollBar.position;
  LevelOf(cursors, cursor) = view.plotValues[0];
  return {-5, kPlotLeft, kPlotBottom - view.plotValues[0]};
}

void PickCursor(CursorState& cursors, int x, int pinALeft, int pinBLeft) {
  cursors.draggedCursor = 0;
  if (pinALeft <= x && x <= pinALeft + 11)
    cursors.draggedCursor = 1;
  else if (pinBLeft <= x && x <= pinBLeft + 11)
    cursors.draggedCursor = 2;
}

std::optional<CursorMarks> DragCursor(const ViewWindow& view, CursorState& cursors, int x) {
  if (cursors.draggedCursor != 1 && cursors.draggedCursor != 2) return std::nullopt;
  const Cursor cursor = static_cast<Cursor>(cursors.draggedCursor);
  // Not past the last sample of the recording.
  const int column = std::clamp(x, 0, std::max(TracedColumns(view), 1) - 1);
  LevelOf(cursors, cursor) = view.plotValues[static_cast<size_t>(column)];
  SampleOf(cursors, cursor) = SampleAtColumn(view, column);
  return CursorMarks{column - 4, kPlotLeft + column, kPlotBottom - LevelOf(cursors, cursor)};
}

std::optional<CursorMarks> FollowScroll(const ViewWindow& view, const CursorState& cursors,
                                        Cursor cursor) {
  const int64_t step = std::max(view.zoomStep, 1);
  const int64_t fromView = int64_t{SampleOf(cursors, cursor)} - view.scrollBar.position;
  if (fromView < 0 || fromView >= kPlotWidth * step) return std::nullopt;
  const int column = static_cast<int>(fromView / step);
  return CursorMarks{column - 5, kPlotLeft + column, kPlotBottom - LevelOf(cursors, cursor)};
}

namespace {

bool OverPlot(int x, int y) {
  return x >= kPlotLeft && x <= kPlotLeft + kPlotWidth && y >= kPlotTop && y <= kPlotBottom;
}

}  // namespace

void BeginSelection(CursorState& cursors, int x, int y) {
  if (OverPlot(x, y)) cursors.selectionStart = x - kPlotLeft;
}

bool ExtendSelection(CursorState& cursors, int x, int y, bool leftButton) {
  if (!OverPlot(x, y) || !leftButton) return false;
  cursors.selectionEnd = std::clamp(x - kPlotLeft, 0, kPlotWidth);
  return true;
}

void EndSelection(CursorState& cursors) {
  cursors.selectionEnd = std::clamp(cursors.selectionEnd, 0, kPlotWidth);
  if (cursors.selectionStart > cursors.selectionEnd)
    std::swap(cursors.selectionStart, cursors.selectionEnd);
  cursors.selectionValid = true;
}

Rect SelectionBand(const CursorState& cursors) {
  const int left = std::min(cursors.selectionStart, cursors.selectionEnd);
  const int right = std::max(cursors.selectionStart, cursors.selectionEnd);
  return {kPlotLeft + left, kPlotTop, kPlotLeft + right, kPlotBottom};
}

void DrawSelectionBand(const ViewWindow& view, const CursorState& cursors, Canvas& window) {
  PresentPlot(view, window);
  const Rect band = SelectionBand(cursors);
  const Rect from{band.left - kPlotLeft, 0, band.right - kPlotLeft, kPlotHeight};
  window.InvertingCopy(cursors.selectionBitmap, from, band.left, band.top);
}

}  // namespace wyk
