// One browse redraw (scale values, plot, copy to the window, scales) and one live tick's redraw
// (plot, copy), against the same pictures drawn with plain QPainter calls on QImages.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "Report.h"
#include "app/RecorderState.h"
#include "common/DateTime.h"
#include "common/NumberText.h"
#include "view/PlotRenderer.h"
#include "view/QtTextDrawer.h"
#include "view/ScaleRenderer.h"

namespace {

using namespace wyk;

// A busy trace: a sine with noise, so that most segments are several pixels tall.
std::unique_ptr<RecorderState> NewState() {
  auto state = std::make_unique<RecorderState>();
  InitPlotBitmaps(state->view, state->cursors);
  for (int i = 0; i < kWindowLength; ++i) {
    const double wave = 125 + 100 * std::sin(i / 17.0) + (i * 7919 % 41) - 20;
    state->view.windowBuffer[static_cast<std::size_t>(i)] =
        static_cast<uint8_t>(std::clamp(wave, 0.0, 255.0));
  }
  for (int i = 0; i < kPlotWidth; ++i)
    state->live.liveValues[static_cast<std::size_t>(i)] =
        state->view.windowBuffer[static_cast<std::size_t>(i)];
  return state;
}

Canvas NewWindow() {
  Canvas window(kWindowWidth, kWindowHeight);
  window.SetBrushColor(kWindowColour);
  window.FillRect(0, 0, kWindowWidth, kWindowHeight);
  return window;
}

void BM_RedrawBrowse(benchmark::State& bench) {
  auto state = NewState();
  Canvas window = NewWindow();
  QtTextDrawer text;
  int position = 0;
  for (auto _ : bench) {
    position = (position + 37) % (kWindowLength - kPlotWidth);
    state->view.windowOffset = position;
    UpdateScaleValues(state->scales, state->view, position);
    DrawRecordingPlot(state->settings, state->view, state->view.plotBitmap, 25,
                      state->view.gridOffset);
    PresentPlot(state->view, window);
    benchmark::DoNotOptimize(DrawScales(state->settings, state->scales, state->recording,
                                        state->view, window, text, false, position));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RedrawBrowse)->Unit(benchmark::kMicrosecond);

void BM_RedrawLive(benchmark::State& bench) {
  auto state = NewState();
  Canvas window = NewWindow();
  int count = 0;
  for (auto _ : bench) {
    std::rotate(state->live.liveValues.begin(), state->live.liveValues.begin() + 5,
                state->live.liveValues.end());
    count += 5;
    DrawLivePlot(state->settings, state->live.liveValues, state->view.plotBitmap, 25,
                 25 - count % 25);
    PresentPlot(state->view, window);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RedrawLive)->Unit(benchmark::kMicrosecond);

// The baseline paints RGB32 images, QPainter's fastest format; on RGBX8888 its lines are far
// slower.

// The same plot layer with QPainter: background, frame, grid, 500-point polyline.
void PaintPlot(QImage& plot, const std::array<int32_t, kPlotWidth>& values, int gridOffset,
               std::vector<QPoint>& points) {
  QPainter p(&plot);
  p.fillRect(0, 0, kPlotWidth, kPlotHeight, QColor(0, 0, 0));
  p.setPen(QColor(0, 0x80, 0));
  p.drawLine(0, 0, kPlotWidth - 1, 0);
  p.drawLine(0, 0, 0, kPlotHeight - 1);
  for (int i = 0; i < 20; ++i)
    p.drawLine(gridOffset + 25 * i, 0, gridOffset + 25 * i, kPlotHeight - 1);
  for (int i = 1; i <= 9; ++i) p.drawLine(0, 25 * i, kPlotWidth - 1, 25 * i);
  p.setPen(QColor(0, 0xFF, 0));
  for (int i = 0; i < kPlotWidth; ++i)
    points[static_cast<std::size_t>(i)] = QPoint(i, 250 - values[static_cast<std::size_t>(i)]);
  p.drawPolyline(points.data(), kPlotWidth);
}

void PaintCentred(QPainter& p, const QFontMetrics& metrics, int x, int top, const std::string& s) {
  const QString text = QString::fromStdString(s);
  const int width = metrics.horizontalAdvance(text);
  p.fillRect(x - width / 2, top, width, metrics.height(), QColor(0xC0, 0xC0, 0xC0));
  p.drawText(x - width / 2, top + metrics.ascent(), text);
}

void BM_QPainterBrowse(benchmark::State& bench) {
  auto state = NewState();
  QImage plot(kPlotWidth, kPlotHeight, QImage::Format_RGB32);
  QImage window(kWindowWidth, kWindowHeight, QImage::Format_RGB32);
  window.fill(QColor(0xC0, 0xC0, 0xC0));
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(8);
  font.setStyleStrategy(QFont::NoAntialias);
  const QFontMetrics metrics(font);
  std::vector<QPoint> points(kPlotWidth);
  std::array<int32_t, kPlotWidth> values{};
  const QColor silver(0xC0, 0xC0, 0xC0);
  int position = 0;
  for (auto _ : bench) {
    position = (position + 37) % (kWindowLength - kPlotWidth);
    const int gridOffset = 25 - position % 25, labelOffset = 100 - position % 100;
    for (int i = 0; i < kPlotWidth; ++i)
      values[static_cast<std::size_t>(i)] =
          std::min<int32_t>(state->view.windowBuffer[static_cast<std::size_t>(position + i)], 250);
    PaintPlot(plot, values, gridOffset, points);
    QPainter p(&window);
    p.drawImage(kPlotLeft, kPlotTop, plot);
    p.setFont(font);
    p.fillRect(0, 20, 38, 270, silver);
    p.fillRect(2, 282, 578, 33, silver);
    p.setPen(Qt::black);
    for (int i = 0; i <= 10; ++i) {
      const int y = 30 + 25 * i;
      p.drawLine(32, y, 36, y);
      const QString label = QString::fromStdString(NumberText(50.0 - 10 * i, 3) + "mV");
      const int width = metrics.horizontalAdvance(label);
      p.fillRect(30 - width, 25 + 25 * i, width, metrics.height(), silver);
      p.drawText(30 - width, 25 + 25 * i + metrics.ascent(), label);
    }
    for (int j = 0; j <= 49; ++j) p.drawLine(34, 30 + 5 * j, 36, 30 + 5 * j);
    for (int j = 0; j <= 19; ++j)
      p.drawLine(40 + gridOffset + 25 * j, 282, 40 + gridOffset + 25 * j, 284);
    for (int j = 0; j <= 3; ++j) {
      const int px = labelOffset + 125 * j;
      p.drawLine(40 + px, 282, 40 + px, 286);
      PaintCentred(p, metrics, 40 + px, 288,
                   TimeText(DateTimeAfterMs(0, std::trunc((px + position) * 0.5L))));
    }
    p.drawLine(40, 282, 40, 295);
    p.drawLine(540, 282, 540, 295);
    PaintCentred(p, metrics, 40, 298, TimeText(DateTimeAfterMs(0, std::trunc(position * 0.5L))));
    PaintCentred(p, metrics, 540, 298,
                 TimeText(DateTimeAfterMs(0, std::trunc((500 + position) * 0.5L))));
    p.end();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_QPainterBrowse)->Unit(benchmark::kMicrosecond);

void BM_QPainterLive(benchmark::State& bench) {
  auto state = NewState();
  QImage plot(kPlotWidth, kPlotHeight, QImage::Format_RGB32);
  QImage window(kWindowWidth, kWindowHeight, QImage::Format_RGB32);
  std::vector<QPoint> points(kPlotWidth);
  int count = 0;
  for (auto _ : bench) {
    std::rotate(state->live.liveValues.begin(), state->live.liveValues.begin() + 5,
                state->live.liveValues.end());
    count += 5;
    PaintPlot(plot, state->live.liveValues, 25 - count % 25, points);
    QPainter p(&window);
    p.drawImage(kPlotLeft, kPlotTop, plot);
    p.end();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_QPainterLive)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return bench::RunAndReport(
      argc, argv,
      {{"redraw_vs_qpainter", "BM_RedrawBrowse", "BM_QPainterBrowse"},
       {"redraw_live_vs_qpainter", "BM_RedrawLive", "BM_QPainterLive"}},
      {{"redraw_browse_us", "BM_RedrawBrowse", "us"}, {"redraw_live_us", "BM_RedrawLive", "us"}});
}
