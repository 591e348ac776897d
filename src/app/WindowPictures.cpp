#include "app/WindowPictures.h"

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

QImage ViewPicture(RecorderState& state, bool absoluteTime) {
  Canvas window(kWindowWidth, kWindowHeight);
  window.SetBrushColor(kWindowColour);
  window.FillRect(0, 0, kWindowWidth, kWindowHeight);
  PresentPlot(state, window);
  QtTextDrawer text;
  DrawScales(state, window, text, absoluteTime, state.view.scrollBar.position);
  return PictureOf(window, kViewArea);
}

QImage SpectrumPicture(const RecorderState& state) {
  Canvas window(kSpectrumFormWidth, kSpectrumFormHeight);
  window.SetBrushColor(kSpectrumFormColour);
  window.FillRect(0, 0, kSpectrumFormWidth, kSpectrumFormHeight);
  QtTextDrawer text;
  DrawSpectrumAxes(state, window, text);
  PresentSpectrum(state, window);
  return PictureOf(window, kSpectrumArea);
}

}  // namespace wyk
