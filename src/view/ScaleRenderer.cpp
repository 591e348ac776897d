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

void DrawVoltsAxis(const RecorderState& state, Canvas& window, TextDrawer& text) {
  for (int i = 0; i <= 10; ++i) {
    const long double exact = 10.0L * state.scales.voltsPerDiv -
                              static_cast<long double>(i) * state.scales.voltsPerDiv -
                              state.view.axisOffset;
    double value = static_cast<double>(exact);
    // Single-precision residues such as 7.45e-9 read as 0.
    if (value > -0.0001 && value < 0.0001) value = 0;
    const int y = kPlotTop + kDivision * i;
    Line(window, 32, y, 37, y);
    const std::string label = NumberText(value, 3) + state.scales.voltsUnit;
    text.DrawText(window, kAxisLabelRight - text.TextWidth(label), 25 + kDivision * i, label,
                  kBlack, window.BrushColor());
  }
  for (int j = 0; j <= 49; ++j) Line(window, 34, kPlotTop + 5 * j, 37, kPlotTop + 5 * j);
}

void DrawTimeAxis(const RecorderState& state, Canvas& window, TextDrawer& text, TDateTime base) {
  for (int j = 0; j <= 19; ++j) {
    const int x = kPlotLeft + state.view.gridOffset + kDivision * j;
    Line(window, x, 282, x, 285);
  }
  for (int j = 0; j <= 3; ++j) {
    const int p = state.view.labelOffset + kLabelledTickStep * j;
    const int x = kPlotLeft + p;
    Line(window, x, 282, x, 287);
    const long double ms =
        static_cast<long double>(p) * state.view.msPerPixel + state.view.leftEdgeMs;
    DrawCentred(window, text, x, kTimeLabelTop, TimeLabel(base, ms));
  }
  Line(window, kPlotLeft, 282, kPlotLeft, 296);
  Line(window, kPlotLeft + kPlotWidth, 282, kPlotLeft + kPlotWidth, 296);
}

void DrawEdgeTimes(const RecorderState& state, Canvas& window, TextDrawer& text, TDateTime base,
                   bool absoluteTime) {
  const long double left = state.view.leftEdgeMs;
  if (absoluteTime)
    DrawCentred(window, text, kDateCentre, kEdgeLabelTop,
                DateText(DateTimeAfterMs(base, TruncMs(left))));
  DrawCentred(window, text, kPlotLeft, kEdgeLabelTop, TimeLabel(base, left));
  const long double right = static_cast<long double>(kPlotWidth) * state.view.msPerPixel + left;
  DrawCentred(window, text, kPlotLeft + kPlotWidth, kEdgeLabelTop, TimeLabel(base, right));
}

}  // namespace

void UpdateScaleValues(RecorderState& state, int scrollPosition) {
  const long long q = CheckedDivide(static_cast<long long>(scrollPosition), state.view.zoomStep);
  state.view.gridOffset = static_cast<int32_t>(kDivision - q % kDivision);
  state.view.labelOffset = static_cast<int32_t>(100 - q % 100);
  state.view.msPerPixel =
      StoreSingle(static_cast<long double>(state.view.zoomStep) * state.scales.samplePeriodMs);
  state.view.leftEdgeMs =
      StoreSingle(static_cast<long double>(scrollPosition) * state.scales.samplePeriodMs);
}

ScaleCaptions CaptionsOf(const RecorderState& state) {
  return {"V/dz=" + NumberText(state.scales.voltsPerDiv, 4) + state.scales.voltsUnit,
          "T=" + NumberText(state.scales.samplePeriodMs, 4) + "ms"};
}

ScaleCaptions DrawScales(RecorderState& state, Canvas& window, TextDrawer& text, bool absoluteTime,
                         int scrollPosition,
                         const std::function<void(const ScaleCaptions&)>& showCaptions) {
  state.view.axisOffset =
      state.settings.adapterType == 1 ? 0.0f : StoreSingle(10.0L * state.scales.voltsPerDiv * 0.5L);
  UpdateScaleValues(state, scrollPosition);
  ScaleCaptions captions = CaptionsOf(state);
  if (showCaptions) showCaptions(captions);

  window.SetBrushColor(kWindowColour);
  window.FillRect(0, 20, 38, 290);
  window.FillRect(2, 282, 580, 315);
  window.SetPenColor(kBlack);

  DrawVoltsAxis(state, window, text);
  const TDateTime base =
      absoluteTime ? state.recording.recordingStart : state.recording.relativeTimeOrigin;
  DrawTimeAxis(state, window, text, base);
  DrawEdgeTimes(state, window, text, base, absoluteTime);
  return captions;
}

}  // namespace wyk
