#include "view/Cursors.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/RecorderState.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

std::unique_ptr<RecorderState> NewState() {
  auto state = std::make_unique<RecorderState>();
  InitPlotBitmaps(*state);
  for (int i = 0; i < kPlotWidth; ++i) state->plotValues[size_t(i)] = (i * 7) % 251;
  return state;
}

TEST(CursorTexts, TimesAndValues) {
  auto s = NewState();
  s->samplePeriodMs = 0.2f;
  struct Time {
    int a, b;
    const char *aTime, *difference;
  };
  for (const Time t : {Time{5000, 0, "00:00:01:000", "00:00:01:000"},
                       Time{0, 5000, "00:00:00:000", "00:00:01:000"},
                       Time{4999, 1, "00:00:00:999", "00:00:00:999"}}) {
    s->cursorASample = t.a;
    s->cursorBSample = t.b;
    EXPECT_EQ(SampleTimeText(*s, t.a), t.aTime);
    EXPECT_EQ(DifferenceTimeText(*s), t.difference) << t.a << "-" << t.b;
  }
  s->recordingStart = 1.5;  // noon: cursor times are clock times whatever the time axis shows
  EXPECT_EQ(SampleTimeText(*s, 5000), "12:00:01:000");

  struct Value {
    float voltsPerDiv;
    const char* unit;
    int a, b;
    const char *aValue, *difference;
  };
  const Value values[] = {{0.1f, "V", 25, 0, "0,100000001490116V", "0,100000001490116V"},
                          {10, "mV", 125, 250, "50mV", "-50mV"},
                          {10, "mV", 0, 0, "0mV", "0mV"}};
  for (const Value& v : values) {
    s->voltsPerDiv = v.voltsPerDiv;
    s->voltsUnit = v.unit;
    s->cursorALevel = v.a;
    s->cursorBLevel = v.b;
    EXPECT_EQ(LevelValueText(*s, v.a), v.aValue);
    EXPECT_EQ(DifferenceValueText(*s), v.difference);
  }
}

TEST(Cursors, SwitchPickDragAndFollow) {
  auto s = NewState();
  s->scrollBar.SetMaximum(100000);
  s->scrollBar.SetPosition(1000);
  s->zoomStep = 4;
  const CursorMarks start = PutCursorAtViewStart(*s, Cursor::kA);
  EXPECT_EQ(s->cursorASample, 1000);
  EXPECT_EQ(s->cursorALevel, 0);
  EXPECT_EQ(start.pinLeft, -5);
  EXPECT_EQ(start.lineLeft, 40);
  EXPECT_EQ(start.lineTop, 280);

  // Pins of 11 pixels at -5 (A) and 100 (B): A wins where both lie.
  struct Pick {
    int x, pinA, pinB, picked;
  };
  for (const Pick p : {Pick{0, -5, 100, 1}, Pick{6, -5, 100, 1}, Pick{7, -5, 100, 0},
                       Pick{111, -5, 100, 2}, Pick{112, -5, 100, 0}, Pick{3, -5, -5, 1}}) {
    PickCursor(*s, p.x, p.pinA, p.pinB);
    EXPECT_EQ(s->draggedCursor, p.picked) << p.x;
  }

  // Dragged B: held to columns 0 … 499; its sample is the one drawn in the column.
  PickCursor(*s, 105, -5, 100);
  struct Drag {
    int x, column;
  };
  for (const Drag d : {Drag{700, 499}, Drag{-30, 0}, Drag{123, 123}}) {
    const std::optional<CursorMarks> marks = DragCursor(*s, d.x);
    ASSERT_TRUE(marks);
    EXPECT_EQ(s->cursorBSample, 1000 + 4 * d.column) << d.x;
    EXPECT_EQ(s->cursorBLevel, (d.column * 7) % 251) << d.x;
    EXPECT_EQ(marks->pinLeft, d.column - 4);
    EXPECT_EQ(marks->lineLeft, 40 + d.column);
    EXPECT_EQ(marks->lineTop, 280 - (d.column * 7) % 251);
  }
  PickCursor(*s, 300, -5, 100);
  EXPECT_EQ(DragCursor(*s, 50), std::nullopt);

  // After scrolling, B (sample 1492) stays in view while it lies in position … position +
  // 500 × zoomStep − 1, at column (sample − position) / zoomStep.
  struct Follow {
    int step, position;
    bool shown;
    int column;
  };
  const Follow follows[] = {{4, 1000, true, 123}, {4, 1492, true, 0},  {4, 1493, false, 0},
                            {4, 0, true, 373},    {2, 493, true, 499}, {2, 492, false, 0},
                            {1, 1000, true, 492}};
  for (const Follow f : follows) {
    s->zoomStep = f.step;
    s->scrollBar.SetPosition(f.position);
    const std::optional<CursorMarks> marks = FollowScroll(*s, Cursor::kB);
    ASSERT_EQ(marks.has_value(), f.shown) << f.position;
    if (!marks) continue;
    EXPECT_EQ(marks->lineLeft, 40 + f.column) << f.position;
    EXPECT_EQ(marks->pinLeft, f.column - 5) << f.position;
    EXPECT_EQ(marks->lineTop, 280 - s->cursorBLevel);
  }
}

TEST(Selection, PressMoveReleaseAndTheBand) {
  auto s = NewState();
  s->plotBitmap.SetPixel(60, 10, 0x00123456);
  Canvas window(kWindowWidth, kWindowHeight);
  BeginSelection(*s, 140, 100);
  EXPECT_EQ(s->selectionStart, 100);
  EXPECT_FALSE(ExtendSelection(*s, 90, 100, false));  // no left button
  EXPECT_FALSE(ExtendSelection(*s, 90, 290, true));   // below the plot
  EXPECT_TRUE(ExtendSelection(*s, 90, 100, true));
  EXPECT_EQ(s->selectionEnd, 50);
  DrawSelectionBand(*s, window);
  // Window columns 90 … 139 inverted, the rest of the plot as drawn.
  EXPECT_EQ(window.Pixel(100, 40), 0x00123456u ^ 0x00FFFFFFu);
  EXPECT_EQ(window.Pixel(90, 279), s->plotBitmap.Pixel(50, 249) ^ 0x00FFFFFFu);
  EXPECT_EQ(window.Pixel(139, 30), s->plotBitmap.Pixel(99, 0) ^ 0x00FFFFFFu);
  EXPECT_EQ(window.Pixel(140, 30), s->plotBitmap.Pixel(100, 0));
  EXPECT_EQ(window.Pixel(89, 30), s->plotBitmap.Pixel(49, 0));
  EXPECT_FALSE(s->selectionValid);
  EndSelection(*s);
  EXPECT_EQ(s->selectionStart, 50);
  EXPECT_EQ(s->selectionEnd, 100);
  EXPECT_TRUE(s->selectionValid);

  // A press outside the plot keeps the start; a release without a move keeps the end.
  BeginSelection(*s, 20, 100);
  BeginSelection(*s, 540, 280);
  EndSelection(*s);
  EXPECT_EQ(s->selectionStart, 100);
  EXPECT_EQ(s->selectionEnd, 500);
}

}  // namespace
}  // namespace wyk
