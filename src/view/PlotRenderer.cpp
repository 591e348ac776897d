#include "view/PlotRenderer.h"

#include <cassert>
#include <cstdint>

#include "common/Errors.h"
#include "view/CursorTexts.h"
#include "view/EnvelopePlot.h"

namespace wyk {
namespace {

// A value v lies 250 − v pixels below the top: 250 on the top row, 0 just below the bitmap.
// The trace covers the first `traced` columns.
void DrawPlotLayer(const Settings& settings, Canvas& canvas, int gridSpacing, int gridOffset,
                   const std::array<int32_t, kPlotWidth>& values, int traced) {
  DrawPlotGrid(settings, canvas, gridSpacing, gridOffset);
  canvas.SetPenColor(settings.lineColor);
  const auto row = [](int32_t v) { return static_cast<int>(int64_t{kPlotHeight} - v); };
  if (traced <= 0) return;
  canvas.MoveTo(0, row(values[0]));
  for (int i = 1; i < traced; ++i) canvas.LineTo(i, row(values[i]));
  // A line leaves out its end point: a short trace still shows its last sample.
  if (traced < kPlotWidth) canvas.LineTo(traced, row(values[static_cast<size_t>(traced - 1)]));
}

}  // namespace

void DrawPlotGrid(const Settings& settings, Canvas& canvas, int gridSpacing, int gridOffset) {
  canvas.SetBrushColor(settings.backgroundColor);
  canvas.SetPenColor(settings.gridColor);
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
}

void InitPlotBitmaps(ViewWindow& view, CursorState& cursors) {
  view.plotBitmap.Resize(kPlotWidth, kPlotHeight);
  cursors.selectionBitmap.Resize(kPlotWidth, kPlotHeight);
  Canvas& selection = cursors.selectionBitmap;
  selection.SetBrushColor(kSelectionGrey);
  selection.SetPenColor(kBlack);
  selection.Rectangle(0, 0, kPlotWidth, kPlotHeight);
}

void DrawRecordingPlot(const Settings& settings, ViewWindow& view, Canvas& canvas, int gridSpacing,
                       int gridOffset) {
  assert(view.windowOffset >= 0 && view.windowOffset <= kWindowLength - kPlotWidth);
  for (int i = 0; i < kPlotWidth; ++i) {
    view.plotValues[static_cast<std::size_t>(i)] =
        PlotLevel(view.windowBuffer[static_cast<std::size_t>(view.windowOffset + i)]);
  }
  if (view.envelopeShown && view.envelopeValid)
    DrawEnvelopeLayer(settings, view, canvas, gridSpacing, gridOffset);
  else
    DrawPlotLayer(settings, canvas, gridSpacing, gridOffset, view.plotValues, TracedColumns(view));
}

void DrawLivePlot(const Settings& settings, const std::array<int32_t, kPlotWidth>& liveValues,
                  Canvas& canvas, int gridSpacing, int gridOffset) {
  DrawPlotLayer(settings, canvas, gridSpacing, gridOffset, liveValues, kPlotWidth);
}

void PresentPlot(const ViewWindow& view, Canvas& window) {
  window.CopyFrom(view.plotBitmap, kPlotLeft, kPlotTop);
}

}  // namespace wyk
