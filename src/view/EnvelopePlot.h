#pragma once
// The envelope trace: in each column a stroke from the least to the greatest level the column
// stands for.

#include "config/Settings.h"
#include "view/Canvas.h"
#include "view/ViewWindow.h"

namespace wyk {

// The level rows a column's stroke covers, top (greatest level) first.
struct EnvelopeStroke {
  int32_t top = 0;
  int32_t bottom = 0;  // included
};

// Column i's stroke from window elements windowOffset + i: its own least and greatest levels,
// reaching to the column on its left where the two do not overlap, so the trace stays joined.
EnvelopeStroke EnvelopeColumn(const ViewWindow& view, int column);

// Background and grid, then the strokes of the 500 columns in the line colour.
void DrawEnvelopeLayer(const Settings& settings, const ViewWindow& view, Canvas& canvas,
                       int gridSpacing, int gridOffset);

}  // namespace wyk
