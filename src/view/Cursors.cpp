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
  return cursor == Cursor::kA ? state.cursors.cursorASample : state.cursors.cursorBSample;
}
int32_t& LevelOf(RecorderState& state, Cursor cursor) {
  return cursor == Cursor::kA ? state.cursors.cursorALevel : state.cursors.cursorBLevel;
}
int32_t SampleOf(const RecorderState& state, Cursor cursor) {
  return cursor == Cursor::kA ? state.cursors.cursorASample : state.cursors.cursorBSample;
}
int32_t LevelOf(const RecorderState& state, Cursor cursor) {
  return cursor == Cursor::kA ? state.cursors.cursorALevel : state.cursors.cursorBLevel;
}

int32_t SampleAtColumn(const RecorderState& state, int column) {
  const int64_t sample =
      int64_t{state.view.scrollBar.position} + int64_t{column} * state.view.zoomStep;
  return static_cast<int32_t>(std::min<int64_t>(sample, INT32_MAX));
}

// Whole milliseconds of `samples` sampling periods, the product in extended precision.
long double WholeMs(const RecorderState& state, int64_t samples) {
  return std::trunc(static_cast<long double>(samples) * state.scales.samplePeriodMs);
}

}  // namespace

std::string SampleTimeText(const RecorderState& state, int64_t sample) {
  return TimeText(DateTimeAfterMs(state.recording.recordingStart, WholeMs(state, sample)));
}

std::string LevelValueText(const RecorderState& state, int64_t level) {
  return LevelValueText(static_cast<int32_t>(level), state.scales.voltsPerDiv,
                        state.scales.voltsUnit);
}

std::string DifferenceTimeText(const RecorderState& state) {
  const int64_t d = int64_t{state.cursors.cursorASample} - state.cursors.cursorBSample;
  return TimeText(
      DateTimeAfterMs(state.recording.relativeTimeOrigin, std::fabs(WholeMs(state, d))));
}

std::string DifferenceValueText(const RecorderState& state) {
  return LevelValueText(state, int64_t{state.cursors.cursorALevel} - state.cursors.cursorBLevel);
}

CursorMarks PutCursorAtViewStart(RecorderState& state, Cursor cursor) {
  SampleOf(state, cursor) = state.view.scrollBar.position;
  LevelOf(state, cursor) = state.view.plotValues[0];
  return {-5, kPlotLeft, kPlotBottom - state.view.plotValues[0]};
}

void PickCursor(RecorderState& state, int x, int pinALeft, int pinBLeft) {
  state.cursors.draggedCursor = 0;
  if (pinALeft <= x && x <= pinALeft + 11)
    state.cursors.draggedCursor = 1;
  else if (pinBLeft <= x && x <= pinBLeft + 11)
    state.cursors.draggedCursor = 2;
}

std::optional<CursorMarks> DragCursor(RecorderState& state, int x) {
  if (state.cursors.draggedCursor != 1 && state.cursors.draggedCursor != 2) return std::nullopt;
  const Cursor cursor = static_cast<Cursor>(state.cursors.draggedCursor);
  const int column = std::clamp(x, 0, kPlotWidth - 1);
  LevelOf(state, cursor) = state.view.plotValues[static_cast<size_t>(column)];
  SampleOf(state, cursor) = SampleAtColumn(state, column);
  return CursorMarks{column - 4, kPlotLeft + column, kPlotBottom - LevelOf(state, cursor)};
}

std::optional<CursorMarks> FollowScroll(const RecorderState& state, Cursor cursor) {
  const int64_t step = std::max(state.view.zoomStep, 1);
  const int64_t fromView = int64_t{SampleOf(state, cursor)} - state.view.scrollBar.position;
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
  if (OverPlot(x, y)) state.cursors.selectionStart = x - kPlotLeft;
}

bool ExtendSelection(RecorderState& state, int x, int y, bool leftButton) {
  if (!OverPlot(x, y) || !leftButton) return false;
  state.cursors.selectionEnd = std::clamp(x - kPlotLeft, 0, kPlotWidth);
  return true;
}

void EndSelection(RecorderState& state) {
  state.cursors.selectionEnd = std::clamp(state.cursors.selectionEnd, 0, kPlotWidth);
  if (state.cursors.selectionStart > state.cursors.selectionEnd)
    std::swap(state.cursors.selectionStart, state.cursors.selectionEnd);
  state.cursors.selectionValid = true;
}

Rect SelectionBand(const RecorderState& state) {
  const int left = std::min(state.cursors.selectionStart, state.cursors.selectionEnd);
  const int right = std::max(state.cursors.selectionStart, state.cursors.selectionEnd);
  return {kPlotLeft + left, kPlotTop, kPlotLeft + right, kPlotBottom};
}

void DrawSelectionBand(const RecorderState& state, Canvas& window) {
  PresentPlot(state, window);
  const Rect band = SelectionBand(state);
  const Rect from{band.left - kPlotLeft, 0, band.right - kPlotLeft, kPlotHeight};
  window.InvertingCopy(state.cursors.selectionBitmap, from, band.left, band.top);
}

}  // namespace wyk
