#pragma once
// What the plot shows of the open recording: the window of samples read at the zoom step, the
// scroll bar, the scale offsets and the plot bitmap.

#include <array>
#include <cstdint>

#include "view/Canvas.h"
#include "view/ScrollBarState.h"

namespace wyk {

constexpr int kPlotWidth = 500;
constexpr int kPlotHeight = 250;
constexpr int kWindowLength = 10000;

struct ViewWindow {
  Canvas plotBitmap;
  std::array<int32_t, kPlotWidth> plotValues{};
  float axisOffset = 0;
  int32_t gridOffset = 0;
  int32_t labelOffset = 0;
  float msPerPixel = 0;
  float leftEdgeMs = 0;
  std::array<uint8_t, kWindowLength> windowBuffer{};
  static constexpr int32_t windowLength = kWindowLength;
  int32_t windowStart = 0;
  int32_t windowOffset = 0;
  int32_t previousWindowOffset = 0;
  uint8_t lastReadSample = 0;  // fills the window past the end of the file
  int32_t windowSamples = 0;   // leading elements of windowBuffer that hold samples of the file
  // The envelope view: the least and greatest sample under each window element, drawn instead
  // of the sampled trace once valid (until the summary is ready, long steps have none).
  bool envelopeShown = false;
  bool envelopeValid = false;
  std::array<uint8_t, kWindowLength> windowLeast{};
  std::array<uint8_t, kWindowLength> windowGreatest{};
  int32_t zoomStep = 1;
  int32_t zoomPercent = 0;
  ScrollBarState scrollBar;  // ScrollBar1
};

// Plot columns that show a sample of the recording; those right of them draw no trace.
inline int TracedColumns(const ViewWindow& view) {
  const int32_t left = view.windowSamples - view.windowOffset;
  return left < 0 ? 0 : (left > kPlotWidth ? kPlotWidth : left);
}

}  // namespace wyk
