// The view on the real main window: cursors on the strip, the selection on the plot, the scroll
// bar, wheel and keys, and a browse through a long recording against what each column must show.
#include <gtest/gtest.h>

#include <QTest>
#include <QWheelEvent>
#include <functional>

#include "gui/StartedProgram.h"
#include "support/MessageBoxes.h"
#include "support/PatternRecording.h"
#include "view/Cursors.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

using testing::PatternSample;
using testing::StartedProgram;

const QColor kTrace(0, 255, 0);

// Opens a pattern recording of `samples` at 1 ms per sample through "Otworz".
void OpenPattern(StartedProgram& program, int64_t samples) {
  TForm1& f = program.Main();
  f.show();
  testing::WritePatternRecording(program.dir.File("r.osr"), samples);
  testing::WriteFile(program.dir.File("r.osi"), "[Parm]\r\nProb=1\r\nVD=10\r\nJednV=mV\r\n");
  f.FileNameEdit->SetText(QString::fromStdString(program.dir.File("r.osr")));
  QTest::mouseClick(f.OpenButton, Qt::LeftButton);
  ASSERT_EQ(program.state->recording.sampleCount, samples);
}

int64_t SampleAt(const RecorderState& s, int column) {
  return s.view.scrollBar.position + int64_t{s.view.zoomStep} * column;
}

int Shown(const RecorderState& s, int column) {
  return std::min<int>(PatternSample(SampleAt(s, column)), 250);
}

// Every column holds the value of the sample it stands for, and the trace passes through it;
// a column past the last sample shows no trace.
void ExpectPlotShowsItsSamples(TForm1& f, const char* where, bool pixels = true) {
  const RecorderState& s = f.state;
  const QImage shot = f.grab().toImage();
  for (int x = 0; x < kPlotWidth - 1; ++x) {
    if (SampleAt(s, x) >= s.recording.sampleCount) {
      for (int y = 0; y < kPlotHeight && pixels; ++y)
        ASSERT_NE(shot.pixelColor(kPlotLeft + x, kPlotTop + y), kTrace) << where << " column " << x;
      continue;
    }
    ASSERT_EQ(s.view.plotValues[size_t(x)], Shown(s, x)) << where << " column " << x;
    if (!pixels) continue;
    ASSERT_EQ(shot.pixelColor(kPlotLeft + x, kPlotTop + 250 - Shown(s, x)), kTrace)
        << where << " column " << x;
  }
}

void Wheel(TForm1& f, QPoint at, int delta, Qt::KeyboardModifiers modifiers = {}) {
  QWheelEvent wheel(at, f.mapToGlobal(at), {}, {0, delta}, Qt::NoButton, modifiers,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(&f, &wheel);
}

QColor Inverted(const Canvas& plot, int x, int y) {
  const TColor c = plot.Pixel(x, y) ^ 0xFFFFFFu;
  return QColor(c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF);
}
QColor Plain(const Canvas& plot, int x, int y) {
  const TColor c = plot.Pixel(x, y);
  return QColor(c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF);
}

TEST(ViewWindow, CursorsOnTheStripWithTheirReadouts) {
  StartedProgram program;
  OpenPattern(program, 1234);
  TForm1& f = program.Main();
  RecorderState& s = *program.state;
  f.ScrollBar1->ScrollTo(100);
  f.Label17->setText("bez zmian");
  QTest::mouseClick(f.CursorsButton, Qt::LeftButton);

  // Both at the left edge on sample 100 (100 ms); A-B untouched; zoom buttons off.
  const QString value100 = QString::fromStdString(LevelValueText(s.scales, Shown(s, 0)));
  EXPECT_EQ(f.Label8->text(), "00:00:00:100");
  EXPECT_EQ(f.Label15->text(), "00:00:00:100");
  EXPECT_EQ(f.Label11->text(), value100);
  EXPECT_EQ(f.Label16->text(), value100);
  EXPECT_EQ(f.Label17->text(), "bez zmian");
  for (QWidget* b : {f.z1, f.z2, f.z3, f.z4, f.z5}) EXPECT_FALSE(b->isEnabled());
  EXPECT_EQ(f.znAtop->pos(), QPoint(-5, 1));
  EXPECT_EQ(f.znApion->pos(), QPoint(40, 30));
  EXPECT_EQ(f.znBpoziom->pos(), QPoint(40, 280 - Shown(s, 0)));
  // B's dashed line lies over A's; every fourth pixel lets the plot through.
  QImage shot = f.grab().toImage();
  EXPECT_EQ(shot.pixelColor(40, 30), QColor(0, 0, 255));
  EXPECT_EQ(shot.pixelColor(40, 33), Plain(s.view.plotBitmap, 0, 3));
  EXPECT_EQ(shot.pixelColor(41, 280 - Shown(s, 0)), QColor(0, 0, 255));

  // A dragged past the right end stops at column 499; the strip keeps the mouse meanwhile.
  QTest::mousePress(f.Panel2, Qt::LeftButton, {}, {0, 6});
  QTest::mouseMove(f.Panel2, {700, 6});
  QTest::mouseRelease(f.Panel2, Qt::LeftButton, {}, {700, 6});
  EXPECT_EQ(s.cursors.cursorASample, 599);
  EXPECT_EQ(f.znApion->pos(), QPoint(539, 30));
  EXPECT_EQ(f.znAtop->pos(), QPoint(495, 1));
  EXPECT_EQ(f.Label8->text(), "00:00:00:599");
  EXPECT_EQ(f.Label17->text(), "00:00:00:499");
  EXPECT_EQ(f.Label19->text(),
            QString::fromStdString(LevelValueText(s.scales, Shown(s, 499) - Shown(s, 0))));

  // A press on the last column of A's pin (495 … 506) takes A, not B.
  QTest::mousePress(f.Panel2, Qt::LeftButton, {}, {506, 6});
  QTest::mouseMove(f.Panel2, {450, 6});
  EXPECT_EQ(s.cursors.cursorASample, 550);
  QTest::mouseMove(f.Panel2, {700, 6});
  QTest::mouseRelease(f.Panel2, Qt::LeftButton, {}, {700, 6});
  // Now B is the pin under x 0; dragged left of the plot it stops at column 0, then to 250.
  QTest::mousePress(f.Panel2, Qt::LeftButton, {}, {0, 6});
  QTest::mouseMove(f.Panel2, {-60, 6});
  EXPECT_EQ(f.znBpion->pos(), QPoint(40, 30));
  QTest::mouseMove(f.Panel2, {250, 6});
  QTest::mouseRelease(f.Panel2, Qt::LeftButton, {}, {250, 6});
  EXPECT_EQ(s.cursors.cursorBSample, 350);
  EXPECT_EQ(f.Label15->text(), "00:00:00:350");
  EXPECT_EQ(f.Label17->text(), "00:00:00:249");

  // Scrolling moves the markers with their samples and hides what leaves the view.
  struct Follow {
    int position;
    int aLeft, bLeft;  // vertical lines; 0: hidden
  };
  // At 99, A lies exactly 500 columns on: just past the view.
  for (const Follow& c :
       {Follow{99, 0, 291}, Follow{125, 514, 265}, Follow{351, 288, 0}, Follow{600, 0, 0}}) {
    f.ScrollBar1->ScrollTo(c.position);
    EXPECT_EQ(f.znApion->isVisible(), c.aLeft != 0) << c.position;
    EXPECT_EQ(f.znAtop->isVisible(), c.aLeft != 0) << c.position;
    EXPECT_EQ(f.znBpion->isVisible(), c.bLeft != 0) << c.position;
    if (c.aLeft) {
      EXPECT_EQ(f.znApion->x(), c.aLeft) << c.position;
      EXPECT_EQ(f.znAtop->x(), c.aLeft - 45) << c.position;
    }
    if (c.bLeft) {
      EXPECT_EQ(f.znBpion->x(), c.bLeft) << c.position;
    }
    EXPECT_TRUE(f.znApoziom->isVisible() && f.znBpoziom->isVisible());
    EXPECT_EQ(f.Label8->text(), "00:00:00:599");  // readouts stay
  }
  // Snapped A returns at column 0 and stays after a scroll to the same position.
  QTest::mouseClick(f.SnapAButton, Qt::LeftButton);
  EXPECT_EQ(f.Label8->text(), "00:00:00:600");
  f.ScrollBar1->ScrollTo(600);
  EXPECT_TRUE(f.znApion->isVisible());
  EXPECT_EQ(f.znAtop->x(), -5);

  QTest::mouseClick(f.CursorsButton, Qt::LeftButton);
  for (QWidget* m : {f.znAtop, f.znBtop, f.znApion, f.znBpion, f.znApoziom, f.znBpoziom})
    EXPECT_FALSE(m->isVisible());
  EXPECT_EQ(f.Label8->text(), "00:00:00:600");
  EXPECT_FALSE(f.z1->isEnabled());  // until the next "Otworz"
}

TEST(ViewWindow, SelectionBandAndShowSelection) {
  StartedProgram program;
  OpenPattern(program, 100000);
  TForm1& f = program.Main();
  RecorderState& s = *program.state;
  QTest::mouseClick(f.z1, Qt::LeftButton);  // step 200
  QTest::qWait(20);                         // shown and painted
  QTest::mousePress(&f, Qt::LeftButton, {}, {140, 100});
  QTest::mouseMove(&f, {290, 100});
  QTest::mouseMove(&f, {240, 100});
  QTest::qWait(20);  // the window repaints what changed
  // Window columns 140 … 239 inverted; the wider band of the first move is wiped.
  QImage shot = f.grab().toImage();
  EXPECT_EQ(shot.pixelColor(140, 30), Inverted(s.view.plotBitmap, 100, 0));
  EXPECT_EQ(shot.pixelColor(200, 150), Inverted(s.view.plotBitmap, 160, 120));
  EXPECT_EQ(shot.pixelColor(239, 279), Inverted(s.view.plotBitmap, 199, 249));
  EXPECT_EQ(shot.pixelColor(240, 150), Plain(s.view.plotBitmap, 200, 120));
  EXPECT_EQ(shot.pixelColor(280, 150), Plain(s.view.plotBitmap, 240, 120));
  EXPECT_EQ(shot.pixelColor(139, 150), Plain(s.view.plotBitmap, 99, 120));
  // Released outside the plot: the stretch 100 … 200 is marked and stays drawn.
  QTest::mouseRelease(&f, Qt::LeftButton, {}, {600, 300});
  EXPECT_TRUE(s.cursors.selectionValid);
  EXPECT_EQ(s.cursors.selectionStart, 100);
  EXPECT_EQ(s.cursors.selectionEnd, 200);
  f.repaint();
  EXPECT_EQ(f.grab().toImage().pixelColor(200, 150), Inverted(s.view.plotBitmap, 160, 120));

  QTest::mouseClick(f.z5, Qt::LeftButton);
  EXPECT_EQ(s.view.zoomStep, 40);  // 200 × 100 / 500
  EXPECT_EQ(f.ScrollBar1->value(), 20000);
  EXPECT_EQ(f.ZoomLabel->text(), "500%");
  EXPECT_FALSE(s.cursors.selectionValid);
  ExpectPlotShowsItsSamples(f, "z5");

  // A drag on to the right edge, released past it, marks up to the plot's last column.
  QTest::mousePress(&f, Qt::LeftButton, {}, {340, 100});
  QTest::mouseMove(&f, {540, 100});
  QTest::mouseRelease(&f, Qt::LeftButton, {}, {700, 300});
  EXPECT_EQ(f.grab().toImage().pixelColor(539, 279), Inverted(s.view.plotBitmap, 499, 249));
  QTest::mouseClick(f.z5, Qt::LeftButton);
  EXPECT_EQ(s.view.zoomStep, 16);  // 40 × 200 / 500
}

TEST(ViewWindow, ScrollBarArrowsPagesAndThumb) {
  StartedProgram program;
  OpenPattern(program, 100000);
  TForm1& f = program.Main();
  QTest::mouseClick(f.z1, Qt::LeftButton);
  QTest::mouseClick(f.z3, Qt::LeftButton);  // step 100: thumb 250 of 502, maximum 50000
  ThumbScrollBar& bar = *f.ScrollBar1;
  ASSERT_EQ(bar.thumbLength(), 250);
  EXPECT_EQ(bar.ThumbRect(), QRect(16, 0, 250, 16));
  struct Click {
    int x;
    int position;
  };
  // Right arrow, left arrow, page right of the thumb, page left of it.
  for (const Click c : {Click{525, 100}, Click{5, 0}, Click{400, 2500}, Click{20, 0}}) {
    QTest::mouseClick(&bar, Qt::LeftButton, {}, {c.x, 8});
    EXPECT_EQ(bar.value(), c.position) << c.x;
    ExpectPlotShowsItsSamples(f, "click");
  }
  // The view follows the thumb at every move.
  bar.ScrollTo(0);
  int scrolls = 0;
  QObject::connect(&bar, &ThumbScrollBar::Scroll, [&] { ++scrolls; });
  QTest::mousePress(&bar, Qt::LeftButton, {}, {100, 8});
  for (int dx = 30; dx <= 120; dx += 30) {
    QTest::mouseMove(&bar, {100 + dx, 8});
    ScrollBarState expected = f.state.view.scrollBar;
    EXPECT_EQ(bar.value(), expected.PositionAtThumb(dx, 502)) << dx;
    EXPECT_EQ(bar.ThumbRect().left(), 16 + dx) << dx;
    ExpectPlotShowsItsSamples(f, "drag");
  }
  QTest::mouseRelease(&bar, Qt::LeftButton, {}, {220, 8});
  EXPECT_EQ(scrolls, 4);
  EXPECT_EQ(bar.value(), 23810);  // 120 of 252 free pixels of 50000
}

TEST(ViewWindow, WheelAndKeysGoThroughTheButtonsAndTheScrollBar) {
  StartedProgram program;
  OpenPattern(program, 100000);
  TForm1& f = program.Main();
  QTest::mouseClick(f.z1, Qt::LeftButton);
  // All shown: "Zmniejsz" and "-" change nothing, not even the plot bitmap.
  f.state.view.plotBitmap.SetPixel(3, 3, 0x123456);
  QTest::mouseClick(f.z4, Qt::LeftButton);
  QTest::keyClick(&f, Qt::Key_Minus);
  EXPECT_EQ(f.state.view.plotBitmap.Pixel(3, 3), 0x123456u);
  QTest::mouseClick(f.z3, Qt::LeftButton);  // step 100, large change 2500, maximum 50000

  const QPoint plot(200, 100);
  struct Step {
    const char* what;
    std::function<void()> act;
    int position;
    const char* label;
  };
  const Step steps[] = {
      {"wheel towards", [&] { Wheel(f, plot, -120); }, 2500, "200%"},
      {"wheel outside the plot",
       [&] {
         Wheel(f, {20, 100}, -120);
       },
       2500, "200%"},
      {"two half notches", [&] { Wheel(f, plot, 60), Wheel(f, plot, 60); }, 0, "200%"},
      {"shift wheel", [&] { Wheel(f, plot, -120, Qt::ShiftModifier); }, 50000, "200%"},
      {"Home", [&] { QTest::keyClick(&f, Qt::Key_Home); }, 0, "200%"},
      {"End", [&] { QTest::keyClick(&f, Qt::Key_End); }, 50000, "200%"},
      {"Left", [&] { QTest::keyClick(&f, Qt::Key_Left); }, 49900, "200%"},
      {"PageUp", [&] { QTest::keyClick(&f, Qt::Key_PageUp); }, 47400, "200%"},
      {"PageDown", [&] { QTest::keyClick(&f, Qt::Key_PageDown); }, 49900, "200%"},
      {"ctrl wheel away", [&] { Wheel(f, plot, 120, Qt::ControlModifier); }, 49900, "400%"},
      {"minus", [&] { QTest::keyClick(&f, Qt::Key_Minus); }, 24900, "200%"},
      {"plus", [&] { QTest::keyClick(&f, Qt::Key_Plus); }, 24900, "400%"},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(f.ScrollBar1->value(), step.position) << step.what;
    EXPECT_EQ(f.ZoomLabel->text(), step.label) << step.what;
    ExpectPlotShowsItsSamples(f, step.what);
  }

  // Keys typed into the file-name box stay there; with the cursors on there is no zoom.
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  f.FileNameEdit->Edit()->setFocus();
  QTest::keyClick(f.FileNameEdit->Edit(), Qt::Key_PageUp);
  QTest::keyClick(f.FileNameEdit->Edit(), Qt::Key_Plus);
  EXPECT_EQ(f.ScrollBar1->value(), 24900);
  EXPECT_EQ(f.ZoomLabel->text(), "400%");
  QTest::mouseClick(f.CursorsButton, Qt::LeftButton);
  Wheel(f, plot, 120, Qt::ControlModifier);
  QTest::keyClick(&f, Qt::Key_Minus);
  EXPECT_EQ(f.ZoomLabel->text(), "400%");
}

// Ten million samples: all of it, three times closer, to its end, a cursor, then a selection
// enlarged with the cursors on; each column checked against the sample it stands for.
TEST(ViewWindow, BrowseTenMillionSamples) {
  StartedProgram program;
  OpenPattern(program, 10000000);
  TForm1& f = program.Main();
  RecorderState& s = *program.state;
  QTest::mouseClick(f.z1, Qt::LeftButton);
  EXPECT_EQ(s.view.zoomStep, 20000);
  ExpectPlotShowsItsSamples(f, "z1");
  for (int i = 0; i < 3; ++i) QTest::mouseClick(f.z3, Qt::LeftButton);
  EXPECT_EQ(f.ZoomLabel->text(), "800%");
  EXPECT_EQ(s.view.zoomStep, 2500);
  QTest::keyClick(&f, Qt::Key_End);
  EXPECT_EQ(f.ScrollBar1->value(), 10000000 - 500 * 2500);
  ExpectPlotShowsItsSamples(f, "end");

  QTest::mouseClick(f.CursorsButton, Qt::LeftButton);
  QTest::mousePress(f.Panel2, Qt::LeftButton, {}, {0, 6});
  QTest::mouseMove(f.Panel2, {321, 6});
  QTest::mouseRelease(f.Panel2, Qt::LeftButton, {}, {321, 6});
  const int64_t a = 8750000 + 321 * 2500;
  EXPECT_EQ(s.cursors.cursorASample, a);
  EXPECT_EQ(s.cursors.cursorALevel, std::min<int>(PatternSample(a), 250));
  EXPECT_EQ(f.Label8->text(), "02:39:12:500");  // 9,552,500 ms
  EXPECT_EQ(f.Label17->text(), "00:13:22:500");

  // Columns 300 … 400 at step 2500 become 500 columns at step 500; A stays on its sample.
  QTest::mousePress(&f, Qt::LeftButton, {}, {340, 100});
  QTest::mouseMove(&f, {440, 100});
  QTest::mouseRelease(&f, Qt::LeftButton, {}, {440, 100});
  f.z5Click();  // the button itself is off while the cursors are on
  EXPECT_EQ(s.view.zoomStep, 500);
  EXPECT_EQ(f.ScrollBar1->value(), 8750000 + 300 * 2500);
  ExpectPlotShowsItsSamples(f, "z5", false);  // the cursor lines cross the trace
  EXPECT_EQ(f.znApion->x(), 40 + 105);        // (321 − 300) × 2500 / 500
  EXPECT_EQ(s.view.plotValues[105], s.cursors.cursorALevel);
  EXPECT_FALSE(f.znBpion->isVisible());
}

// Recordings at the edges of the view and of the window, through every zoom button and to the
// end: no message, and every column shows its sample (none past the end).
TEST(BadInputCatalogue, RecordingsAtTheEdgesAtEveryZoomButton) {
  for (const int64_t samples : {499, 500, 501, 9999, 10000, 10001}) {
    StartedProgram program;
    OpenPattern(program, samples);
    TForm1& f = program.Main();
    const std::string name = std::to_string(samples);
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"z1", [&] { f.z1Click(); }},
        {"z3", [&] { f.z3Click(); }},
        {"z3", [&] { f.z3Click(); }},
        {"z4", [&] { f.z4Click(); }},
        {"z5", [&] { f.z5Click(); }},
        {"z2", [&] { f.z2Click(); }},
        {"End", [&] { QTest::keyClick(&f, Qt::Key_End); }},
        {"z4", [&] { f.z4Click(); }},
        {"Home", [&] { QTest::keyClick(&f, Qt::Key_Home); }},
    };
    for (const auto& [button, press] : steps) {
      auto seen = testing::AnswerNextMessageBox();
      press();
      seen->StopWaiting();
      EXPECT_FALSE(seen->shown) << name << " " << button << ": " << seen->text.toStdString();
      ExpectPlotShowsItsSamples(f, (name + " " + button).c_str());
    }
    // Cursor A dragged past the right end stops on the last sample shown.
    const RecorderState& s = *program.state;
    QTest::mouseClick(f.CursorsButton, Qt::LeftButton);
    QTest::mousePress(f.Panel2, Qt::LeftButton, {}, {0, 6});
    QTest::mouseMove(f.Panel2, {700, 6});
    QTest::mouseRelease(f.Panel2, Qt::LeftButton, {}, {700, 6});
    const int64_t last = std::min<int64_t>(499, (samples - 1 - SampleAt(s, 0)) / s.view.zoomStep);
    EXPECT_EQ(s.cursors.cursorASample, SampleAt(s, static_cast<int>(last))) << name;
  }
}

}  // namespace
}  // namespace wyk
