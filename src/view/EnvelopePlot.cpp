#include "view/EnvelopePlot.h"

#include <algorithm>

#include "view/CursorTexts.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

struct LevelRange {
  int32_t least, greatest;
};

LevelRange ColumnLevels(const ViewWindow& view, int column) {
  const auto at = static_cast<size_t>(view.windowOffset + column);
  return {PlotLevel(view.windowLeast[at]), PlotLevel(view.windowGreatest[at])};
}

}  // namespace

EnvelopeStroke EnvelopeColumn(const ViewWindow& view, int column) {
  LevelRange r = ColumnLevels(view, column);
  if (column > 0) {
    const LevelRange left = ColumnLevels(view, column - 1);
    r = {std::min(r.least, left.greatest), std::max(r.greatest, left.least)};
  }
  return {kPlotHeight - r.greatest, kPlotHeight - r.least};
}

void DrawEnvelopeLayer(const Settings& settings, const ViewWindow& view, Canvas& canvas,
                       int gridSpacing, int gridOffset) {
  DrawPlotGrid(settings, canvas, gridSpacing, gridOffset);
  canvas.SetPenColor(settings.lineColor);
  for (int x = 0; x < kPlotWidth; ++x) {
    const EnvelopeStroke stroke = EnvelopeColumn(view, x);
    canvas.MoveTo(x, stroke.top);
    canvas.LineTo(x, stroke.bottom + 1);
  }
}

}  // namespace wyk
