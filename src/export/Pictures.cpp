#include "export/Pictures.h"

#include "export/Png.h"
#include "spectrum/SpectrumView.h"
#include "view/PlotRenderer.h"
#include "view/QtTextDrawer.h"
#include "view/ScaleRenderer.h"

namespace wyk {
namespace {

// From the volts axis's labels to the edge time labels, above the scroll bar.
constexpr Rect kViewArea{0, 20, 580, 310};
// From the amplitude labels to the frequency labels.
constexpr Rect kSpectrumArea{0, 20, 580, 315};

}  // namespace

QImage ViewPicture(const Settings& settings, const Scales& scales, const OpenRecording& recording,
                   ViewWindow& view, bool absoluteTime) {
  Canvas window(kWindowWidth, kWindowHeight);
  window.SetBrushColor(kWindowColour);
  window.FillRect(0, 0, kWindowWidth, kWindowHeight);
  PresentPlot(view, window);
  QtTextDrawer text;
  DrawScales(settings, scales, recording, view, window, text, absoluteTime,
             view.scrollBar.position);
  return PictureOf(window, kViewArea);
}

QImage SpectrumPicture(const SpectrumState& spectrum) {
  Canvas window(kSpectrumFormWidth, kSpectrumFormHeight);
  window.SetBrushColor(kSpectrumFormColour);
  window.FillRect(0, 0, kSpectrumFormWidth, kSpectrumFormHeight);
  QtTextDrawer text;
  DrawSpectrumAxes(spectrum, window, text);
  PresentSpectrum(spectrum, window);
  return PictureOf(window, kSpectrumArea);
}

}  // namespace wyk
