#include "view/ScaleRenderer.h"

#include <cmath>
#include <cstdint>

#include "common/DateTime.h"
#include "common/Errors.h"
#include "common/NumberText.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

constexpr int kDivision = 25;  // pixels per grid division
constexpr int kLabelledTickStep = 125;
constexpr int kTimeLabelTop = 288;
constexpr int kEdgeLabelTop = 298;
constexpr int kAxisLabelRight = 30;
constexpr int kDateCentre = 270;  // window x, 20 pixels left of the plot's true middle

// A single-precision variable takes an extended result; too large a result is an overflow.
float StoreSingle(long double value) {
  const float stored = static_cast<float>(value);
  if (std::isinf(stored) && std::isfinite(value)) throw AppError(kFloatOverflow);
  return stored;
}

// Milliseconds cut toward zero, in the range of a 64-bit integer.
long double TruncMs(long double ms) {
  const long double whole = std::trunc(ms);
  if (!(whole > -9.2233720368547758e18L && whole < 9.2233720368547758e18L))
    throw AppError(kInvalidFloatOperation);
  return whole;
}

void Line(Canvas& canvas, int x0, int y0, int x1, int y1) {
  canvas.MoveTo(x0, y0);
  canvas.LineTo(x1, y1);
}

void DrawCentred(Canvas& window, TextDrawer& text, int centreX, int top, const std::string& s) {
  const int width = text.TextWidth(s);
  text.DrawText(window, centreX - width / 2, top, s, kBlack, window.BrushColor());
}

std::string TimeLabel(TDateTime base, long double ms) {
  return TimeText(DateTimeAfterMs(base, TruncMs(ms)));
}

void DrawVoltsAxis(const Scales& scales, const ViewWindow& view, Canvas& window, TextDrawer& text) {
  for (int i = 0; i <= 10; ++i) {
    const long double exact = 10.0L * scales.voltsPerDiv -
                              static_cast<long double>(i) * scales.voltsPerDiv - view.axisOffset;
    double value = static_cast<double>(exact);
    // Single-precision residues such as 7.45e-9 read as 0.
    if (value > -0.0001 && value < 0.0001) value = 0;
    const int y = kPlotTop + kDivision * i;
    Line(window, 32, y, 37, y);
    const std::string label = NumberText(value, 3) + scales.voltsUnit;
    text.DrawText(window, kAxisLabelRight - text.TextWidth(label), 25 + kDivision * i, label,
                  kBlack, window.BrushColor());
  }
  for (int j = 0; j <= 49; ++j) Line(window, 34, kPlotTop + 5 * j, 37, kPlotTop + 5 * j);
}

void DrawTimeAxis(const ViewWindow& view, Canvas& window, TextDrawer& text, TDateTime base) {
  for (int j = 0; j <= 19; ++j) {
    const int x = kPlotLeft + view.gridOffset + kDivision * j;
    Line(window, x, 282, x, 285);
  }
  for (int j = 0; j <= 3; ++j) {
    const int p = view.labelOffset + kLabelledTickStep * j;
    const int x = kPlotLeft + p;
    Line(window, x, 282, x, 287);
    const long double ms = static_cast<long double>(p) * view.msPerPixel + view.leftEdgeMs;
    DrawCentred(window, text, x, kTimeLabelTop, TimeLabel(base, ms));
  }
  Line(window, kPlotLeft, 282, kPlotLeft, 296);
  Line(window, kPlotLeft + kPlotWidth, 282, kPlotLeft + kPlotWidth, 296);
}

void DrawEdgeTimes(const ViewWindow& view, Canvas& window, TextDrawer& text, TDateTime base,
                   bool absoluteTime) {
  const long double left = view.leftEdgeMs;
  if (absoluteTime)
    DrawCentred(window, text, kDateCentre, kEdgeLabelTop,
                DateText(DateTimeAfterMs(base, TruncMs(left))));
  DrawCentred(window, text, kPlotLeft, kEdgeLabelTop, TimeLabel(base, left));
  const long double right = static_cast<long double>(kPlotWidth) * view.msPerPixel + left;
  DrawCentred(window, text, kPlotLeft + kPlotWidth, kEdgeLabelTop, TimeLabel(base, right));
}

}  // namespace

void UpdateScaleValues(const Scales& scales, ViewWindow& view, int scrollPosition) {
  const long long q = CheckedDivide(static_cast<long long>(scrollPosition), view.zoomStep);
  view.gridOffset = static_cast<int32_t>(kDivision - q % kDivision);
  view.labelOffset = static_cast<int32_t>(100 - q % 100);
  view.msPerPixel = StoreSingle(static_cast<long double>(view.zoomStep) * scales.samplePeriodMs);
  view.leftEdgeMs = StoreSingle(static_cast<long double>(scrollPosition) * scales.samplePeriodMs);
}

ScaleCaptions CaptionsOf(const Scales& scales) {
  return {"V/dz=" + NumberText(scales.voltsPerDiv, 4) + scales.voltsUnit,
          "T=" + NumberText(scales.samplePeriodMs, 4) + "ms"};
}

ScaleCaptions DrawScales(const Settings& settings, const Scales& scales,
                         const OpenRecording& recording, ViewWindow& view, Canvas& window,
                         TextDrawer& text, bool absoluteTime, int scrollPosition,
                         const std::function<void(const ScaleCaptions&)>& showCaptions) {
  view.axisOffset =
      settings.adapterType == 1 ? 0.0f : StoreSingle(10.0L * scales.voltsPerDiv * 0.5L);
  UpdateScaleValues(scales, view, scrollPosition);
  ScaleCaptions captions = CaptionsOf(scales);
  if (showCaptions) showCaptions(captions);

  window.SetBrushColor(kWindowColour);
  window.FillRect(0, 20, 38, 290);
  window.FillRect(2, 282, 580, 315);
  window.SetPenColor(kBlack);

  DrawVoltsAxis(scales, view, window, text);
  const TDateTime base = absoluteTime ? recording.recordingStart : recording.relativeTimeOrigin;
  DrawTimeAxis(view, window, text, base);
  DrawEdgeTimes(view, window, text, base, absoluteTime);
  return captions;
}

}  // namespace wyk
