#include "view/PlotRenderer.h"

#include <cassert>
#include <cstdint>

#include "common/Errors.h"
#include "view/CursorTexts.h"

namespace wyk {
namespace {

// A value v lies 250 − v pixels below the top: 250 on the top row, 0 just below the bitmap.
void DrawPlotLayer(const RecorderState& state, Canvas& canvas, int gridSpacing, int gridOffset,
                   const std::array<int32_t, kPlotWidth>& values) {
  canvas.SetBrushColor(state.settings.backgroundColor);
  canvas.SetPenColor(state.settings.gridColor);
  // One pixel wider and higher than the bitmap: only the left and top edges show.
  canvas.Rectangle(0, 0, kPlotWidth + 1, kPlotHeight + 1);

  const long long columns = CheckedDivide(static_cast<long long>(kPlotWidth), gridSpacing);
  for (long long i = 0; i < columns; ++i) {
    const int x = static_cast<int>(gridOffset + int64_t{gridSpacing} * i);
    canvas.MoveTo(x, 0);
    canvas.LineTo(x, kPlotHeight);
  }
  for (int i = 1; i <= 9; ++i) {
    const int y = static_cast<int>(int64_t{gridSpacing} * i);
    canvas.MoveTo(0, y);
    canvas.LineTo(kPlotWidth, y);
  }

  canvas.SetPenColor(state.settings.lineColor);
  const auto row = [](int32_t v) { return static_cast<int>(int64_t{kPlotHeight} - v); };
  canvas.MoveTo(0, row(values[0]));
  for (int i = 1; i < kPlotWidth; ++i) canvas.LineTo(i, row(values[i]));
}

}  // namespace

void InitPlotBitmaps(RecorderState& state) {
  state.view.plotBitmap.Resize(kPlotWidth, kPlotHeight);
  state.cursors.selectionBitmap.Resize(kPlotWidth, kPlotHeight);
  Canvas& selection = state.cursors.selectionBitmap;
  selection.SetBrushColor(kSelectionGrey);
  selection.SetPenColor(kBlack);
  selection.Rectangle(0, 0, kPlotWidth, kPlotHeight);
}

void DrawRecordingPlot(RecorderState& state, Canvas& canvas, int gridSpacing, int gridOffset) {
  assert(state.view.windowOffset >= 0 && state.view.windowOffset <= kWindowLength - kPlotWidth);
  for (int i = 0; i < kPlotWidth; ++i) {
    state.view.plotValues[static_cast<std::size_t>(i)] =
        PlotLevel(state.view.windowBuffer[static_cast<std::size_t>(state.view.windowOffset + i)]);
  }
  DrawPlotLayer(state, canvas, gridSpacing, gridOffset, state.view.plotValues);
}

void DrawLivePlot(const RecorderState& state, Canvas& canvas, int gridSpacing, int gridOffset) {
  DrawPlotLayer(state, canvas, gridSpacing, gridOffset, state.live.liveValues);
}

void PresentPlot(const RecorderState& state, Canvas& window) {
  window.CopyFrom(state.view.plotBitmap, kPlotLeft, kPlotTop);
}

}  // namespace wyk
