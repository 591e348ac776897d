#include "view/Cursors.h"

#include <algorithm>
#include <cmath>

#include "app/RecorderState.h"
#include "common/DateTime.h"
#include "view/CursorTexts.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

constexpr int kPlotBottom = kPlotTop + kPlotHeight;  // window y of level 0

int32_t& SampleOf(RecorderState& state, Cursor cursor) {
  return cursor == Cursor::kA ? state.cursorASample : state.cursorBSample;
}
int32_t& LevelOf(RecorderState& state, Cursor cursor) {
  return cursor == Cursor::kA ? state.cursorALevel : state.cursorBLevel;
}
int32_t SampleOf(const RecorderState& state, Cursor cursor) {
  return cursor == Cursor::kA ? state.cursorASample : state.cursorBSample;
}
int32_t LevelOf(const RecorderState& state, Cursor cursor) {
  return cursor == Cursor::kA ? state.cursorALevel : state.cursorBLevel;
}

int32_t SampleAtColumn(const RecorderState& state, int column) {
  const int64_t sample = int64_t{state.scrollBar.position} + int64_t{column} * state.zoomStep;
  return static_cast<int32_t>(std::min<int64_t>(sample, INT32_MAX));
}

// Whole milliseconds of `samples` sampling periods, the product in extended precision.
long double WholeMs(const RecorderState& state, int64_t samples) {
  return std::trunc(static_cast<long double>(samples) * state.samplePeriodMs);
}

}  // namespace

std::string SampleTimeText(const RecorderState& state, int64_t sample) {
  return TimeText(DateTimeAfterMs(state.recordingStart, WholeMs(state, sample)));
}

std::string LevelValueText(const RecorderState& state, int64_t level) {
  return LevelValueText(static_cast<int32_t>(level), state.voltsPerDiv, state.voltsUnit);
}

std::string DifferenceTimeText(const RecorderState& state) {
  const int64_t d = int64_t{state.cursorASample} - state.cursorBSample;
  return TimeText(DateTimeAfterMs(state.relativeTimeOrigin, std::fabs(WholeMs(state, d))));
}

std::string DifferenceValueText(const RecorderState& state) {
  return LevelValueText(state, int64_t{state.cursorALevel} - state.cursorBLevel);
}

CursorMarks PutCursorAtViewStart(RecorderState& state, Cursor cursor) {
  SampleOf(state, cursor) = state.scrollBar.position;
  LevelOf(state, cursor) = state.plotValues[0];
  return {-5, kPlotLeft, kPlotBottom - state.plotValues[0]};
}

void PickCursor(RecorderState& state, int x, int pinALeft, int pinBLeft) {
  state.draggedCursor = 0;
  if (pinALeft <= x && x <= pinALeft + 11)
    state.draggedCursor = 1;
  else if (pinBLeft <= x && x <= pinBLeft + 11)
    state.draggedCursor = 2;
}

std::optional<CursorMarks> DragCursor(RecorderState& state, int x) {
  if (state.draggedCursor != 1 && state.draggedCursor != 2) return std::nullopt;
  const Cursor cursor = static_cast<Cursor>(state.draggedCursor);
  const int column = std::clamp(x, 0, kPlotWidth - 1);
  LevelOf(state, cursor) = state.plotValues[static_cast<size_t>(column)];
  SampleOf(state, cursor) = SampleAtColumn(state, column);
  return CursorMarks{column - 4, kPlotLeft + column, kPlotBottom - LevelOf(state, cursor)};
}

std::optional<CursorMarks> FollowScroll(const RecorderState& state, Cursor cursor) {
  const int64_t step = std::max(state.zoomStep, 1);
  const int64_t fromView = int64_t{SampleOf(state, cursor)} - state.scrollBar.position;
  if (fromView < 0 || fromView >= kPlotWidth * step) return std::nullopt;
  const int column = static_cast<int>(fromView / step);
  return CursorMarks{column - 5, kPlotLeft + column, kPlotBottom - LevelOf(state, cursor)};
}

namespace {

bool OverPlot(int x, int y) {
  return x >= kPlotLeft && x <= kPlotLeft + kPlotWidth && y >= kPlotTop && y <= kPlotBottom;
}

}  // namespace

void BeginSelection(RecorderState& state, int x, int y) {
  if (OverPlot(x, y)) state.selectionStart = x - kPlotLeft;
}

bool ExtendSelection(RecorderState& state, int x, int y, bool leftButton) {
  if (!OverPlot(x, y) || !leftButton) return false;
  state.selectionEnd = std::clamp(x - kPlotLeft, 0, kPlotWidth);
  return true;
}

void EndSelection(RecorderState& state) {
  state.selectionEnd = std::clamp(state.selectionEnd, 0, kPlotWidth);
  if (state.selectionStart > state.selectionEnd)
    std::swap(state.selectionStart, state.selectionEnd);
  state.selectionValid = true;
}

Rect SelectionBand(const RecorderState& state) {
  const int left = std::min(state.selectionStart, state.selectionEnd);
  const int right = std::max(state.selectionStart, state.selectionEnd);
  return {kPlotLeft + left, kPlotTop, kPlotLeft + right, kPlotBottom};
}

void DrawSelectionBand(const RecorderState& state, Canvas& window) {
  PresentPlot(state, window);
  const Rect band = SelectionBand(state);
  const Rect from{band.left - kPlotLeft, 0, band.right - kPlotLeft, kPlotHeight};
  window.InvertingCopy(state.selectionBitmap, from, band.left, band.top);
}

}  // namespace wyk
