#include <gtest/gtest.h>

#include <QTest>
#include <cmath>

#include "gui/StartedProgram.h"
#include "support/Artifacts.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

using testing::StartedProgram;

// The window as a person sees it after its first paint.
QImage Shown(TForm1& form) {
  form.show();
  return form.grab().toImage();
}

bool SamePicture(const QLabel* a, const QLabel* b) {
  return a->pixmap().toImage() == b->pixmap().toImage();
}

std::vector<TColor> PlotArea(const Canvas& window) {
  std::vector<TColor> pixels;
  for (int y = kPlotTop; y < kPlotTop + kPlotHeight; ++y)
    for (int x = kPlotLeft; x < kPlotLeft + kPlotWidth; ++x) pixels.push_back(window.Pixel(x, y));
  return pixels;
}

TEST(SelectorButtons, FirstPaintShowsTheStartSelections) {
  StartedProgram program;
  TForm1& f = program.Main();
  EXPECT_EQ(f.Label22->text(), "T=0,2ms");  // the design-time caption, until painted
  Shown(f);
  EXPECT_EQ(f.Label21->text(), "V/dz=10mV");
  EXPECT_EQ(f.Label22->text(), "T=0,5ms");
  EXPECT_EQ(f.Label23->text(), "AC");
  EXPECT_TRUE(SamePicture(f.Przelacznik, f.Przel3));
}

TEST(SelectorButtons, Type1StartDisablesTheButtonsItCannotUse) {
  StartedProgram program("[COM]\nTyp=1\n");
  TForm1& f = program.Main();
  const RecorderState& s = *program.state;
  for (int n = 1; n <= 13; ++n)
    EXPECT_EQ(f.SpeedButton(n)->isEnabled(), n >= 4 && n <= 7) << "SpeedButton" << n;
  for (int n = 1; n <= 10; ++n) EXPECT_EQ(f.vd(n)->isEnabled(), n != 1) << "vd" << n;
  EXPECT_EQ(f.Image4->pos(), QPoint(50, 50));
  EXPECT_TRUE(SamePicture(f.Przelacznik, f.Przel1));
  EXPECT_EQ(f.Label23->text(), "DC");
  EXPECT_EQ(s.scales.couplingMode, 128);
  EXPECT_EQ(s.scales.voltsPerDiv, 0.1f);
  EXPECT_EQ(s.scales.voltsUnit, "V");
  EXPECT_EQ(s.scales.voltsPerDivIndex, 4);
  EXPECT_EQ(s.scales.rangeCode, 1);
  EXPECT_EQ(s.scales.softwareGain, 2.5f);
  EXPECT_EQ(s.scales.samplePeriodMs, 0.5f);
  Shown(f);
  EXPECT_EQ(f.Label21->text(), "V/dz=0,1V");

  f.LiftType1Limits();
  for (int n = 1; n <= 13; ++n) EXPECT_TRUE(f.SpeedButton(n)->isEnabled()) << n;
  EXPECT_TRUE(f.vd(1)->isEnabled());
  EXPECT_EQ(f.Label23->text(), "DC");  // lifting changes nothing else
  f.ApplyType1Limits();
  EXPECT_FALSE(f.vd(1)->isEnabled());
  EXPECT_FALSE(f.SpeedButton(13)->isEnabled());
}

// The values of each row are checked in the core; here the click reaches them and the caption.
TEST(SelectorButtons, SamplingButtonsRewriteThePeriodCaption) {
  StartedProgram program;
  TForm1& f = program.Main();
  Shown(f);
  const char* const captions[] = {"T=0,2ms", "T=0,5ms", "T=1ms",  "T=2ms",   "T=5ms",
                                  "T=10ms",  "T=20ms",  "T=50ms", "T=500ms", "T=1000ms"};
  for (int button = 10; button >= 1; --button) {
    QTest::mouseClick(f.vd(button), Qt::LeftButton);
    EXPECT_EQ(f.Label22->text(), captions[button - 1]);
  }
  EXPECT_EQ(program.state->scales.samplePeriodIndex, 0);
}

TEST(SelectorButtons, VoltsButtonsMoveThePointerAndRelabelTheAxis) {
  StartedProgram program;
  TForm1& f = program.Main();
  Shown(f);
  struct Case {
    int button;
    const char* caption;
    QPoint pointer;
  };
  const Case cases[] = {
      {1, "V/dz=10mV", {50, 86}},  {2, "V/dz=20mV", {45, 72}}, {3, "V/dz=50mV", {45, 60}},
      {4, "V/dz=0,1V", {50, 50}},  {5, "V/dz=0,2V", {62, 41}}, {6, "V/dz=0,5V", {85, 41}},
      {7, "V/dz=1V", {100, 50}},   {8, "V/dz=2V", {104, 60}},  {9, "V/dz=5V", {104, 72}},
      {10, "V/dz=10V", {100, 86}},
  };
  for (const Case& c : cases) {
    QTest::mouseClick(f.SpeedButton(c.button), Qt::LeftButton);
    EXPECT_EQ(f.Label21->text(), c.caption);
    EXPECT_EQ(f.Image4->pos(), c.pointer) << c.caption;
    EXPECT_EQ(program.state->scales.voltsPerDivIndex, c.button);
  }
  // "2V" after "500mV" keeps the type-1 range and gain of "500mV".
  QTest::mouseClick(f.SpeedButton(6), Qt::LeftButton);
  QTest::mouseClick(f.SpeedButton(8), Qt::LeftButton);
  EXPECT_EQ(program.state->scales.rangeCode, 2);
  EXPECT_EQ(program.state->scales.softwareGain, 1.0f);
}

TEST(SelectorButtons, CouplingChangesOnlyTheSwitchAndItsLabel) {
  StartedProgram program;
  TForm1& f = program.Main();
  Shown(f);
  struct Case {
    int button;
    QLabel* picture;
    const char* label;
    int mode;
  };
  const Case cases[] = {
      {12, f.Przel2, "GND", 2}, {13, f.Przel1, "DC", 128}, {11, f.Przel3, "AC", 0}};
  for (const Case& c : cases) {
    const std::vector<TColor> before = PlotArea(f.windowCanvas);
    const Canvas windowBefore = f.windowCanvas;
    QTest::mouseClick(f.SpeedButton(c.button), Qt::LeftButton);
    EXPECT_TRUE(SamePicture(f.Przelacznik, c.picture)) << c.label;
    EXPECT_EQ(f.Label23->text(), c.label);
    EXPECT_EQ(program.state->scales.couplingMode, c.mode);
    EXPECT_EQ(f.Label21->text(), "V/dz=10mV");
    EXPECT_EQ(f.Label22->text(), "T=0,5ms");
    EXPECT_TRUE(
        std::equal(windowBefore.Bits(), windowBefore.Bits() + 792 * 372 * 4, f.windowCanvas.Bits()))
        << c.label;
  }
}

TEST(SelectorButtons, ASelectorRelabelsTheAxisButKeepsTheTrace) {
  StartedProgram program;
  TForm1& f = program.Main();
  RecorderState& s = *program.state;
  for (int i = 0; i < kWindowLength; ++i)
    s.view.windowBuffer[static_cast<size_t>(i)] =
        static_cast<uint8_t>(125 + 100 * std::sin(i * 2 * M_PI / 125));
  s.view.windowSamples = kWindowLength;
  DrawRecordingPlot(s.settings, s.view, s.view.plotBitmap, 25, 0);
  Shown(f);
  const std::vector<TColor> plotBefore = PlotArea(f.windowCanvas);
  // Column 0 holds value 125, drawn 125 rows below the top.
  EXPECT_EQ(f.windowCanvas.Pixel(kPlotLeft, kPlotTop + 125), s.settings.lineColor);

  QTest::mouseClick(f.SpeedButton(7), Qt::LeftButton);  // 1V
  const QImage shot = f.grab().toImage();
  EXPECT_EQ(f.Label21->text(), "V/dz=1V");
  EXPECT_EQ(PlotArea(f.windowCanvas), plotBefore);
  EXPECT_EQ(shot.pixelColor(kPlotLeft, kPlotTop + 125), QColor(0, 255, 0));
  EXPECT_TRUE(shot.save(testing::ArtifactPath("main-window-trace.png")));
}

TEST(SelectorButtons, TimeScaleButtonsSwitchToClockTimeAndBack) {
  StartedProgram program;
  TForm1& f = program.Main();
  Shown(f);
  // Nothing under the middle of the time axis in relative mode.
  const auto dateRowIsBlank = [&] {
    for (int x = 240; x < 300; ++x)
      for (int y = 298; y < 308; ++y)
        if (f.windowCanvas.Pixel(x, y) != kSilver) return false;
    return true;
  };
  EXPECT_TRUE(dateRowIsBlank());
  QTest::mouseClick(f.t2, Qt::LeftButton);
  EXPECT_TRUE(program.state->scales.timeScaleAbsolute);
  EXPECT_FALSE(dateRowIsBlank());  // the date 30:12:1899 under the plot
  QTest::mouseClick(f.t1, Qt::LeftButton);
  EXPECT_FALSE(program.state->scales.timeScaleAbsolute);
  EXPECT_TRUE(dateRowIsBlank());
}

}  // namespace
}  // namespace wyk
