#pragma once
// The plot layer: background, grid and trace in the 500 × 250 plot bitmap, and its copy
// onto the window.

#include "config/Settings.h"
#include "view/Canvas.h"
#include "view/CursorState.h"
#include "view/ViewWindow.h"

namespace wyk {

// The main window's client area, on which both layers are drawn.
constexpr int kWindowWidth = 792;
constexpr int kWindowHeight = 372;
constexpr TColor kWindowColour = kSilver;

// Window position of the plot bitmap's top-left pixel.
constexpr int kPlotLeft = 40;
constexpr int kPlotTop = 30;
constexpr TColor kSelectionGrey = 0x808080;

// Sizes plotBitmap and selectionBitmap to 500 × 250 and paints selectionBitmap grey inside a
// black outline.
void InitPlotBitmaps(ViewWindow& view, CursorState& cursors);

// Background and grid of the plot layer.
void DrawPlotGrid(const Settings& settings, Canvas& canvas, int gridSpacing, int gridOffset);

// The open recording: plotValues[i] = windowBuffer[windowOffset + i] with values above 250 held
// at 250, then background, grid and trace of plotValues over the columns that show a sample of
// the recording (TracedColumns), or the envelope when it is shown and valid. windowOffset lies in
// 0 … 9500.
void DrawRecordingPlot(const Settings& settings, ViewWindow& view, Canvas& canvas, int gridSpacing,
                       int gridOffset);

// The live view: background, grid and trace of liveValues, unclipped (251 … 255 leave the top).
void DrawLivePlot(const Settings& settings, const std::array<int32_t, kPlotWidth>& liveValues,
                  Canvas& canvas, int gridSpacing, int gridOffset);

// Copies plotBitmap onto the window canvas with its top-left corner at (40, 30).
void PresentPlot(const ViewWindow& view, Canvas& window);

}  // namespace wyk
