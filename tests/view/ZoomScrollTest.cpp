#include "view/ZoomScroll.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "app/RecorderFiles.h"
#include "app/RecorderState.h"
#include "storage/Recordings.h"
#include "storage/WindowRead.h"
#include "support/PatternRecording.h"
#include "support/TempDir.h"
#include "view/RecordingView.h"

namespace wyk {
namespace {

using testing::PatternSample;

struct Recording {
  testing::TempDir dir;
  std::unique_ptr<RecorderState> state = std::make_unique<RecorderState>();
  explicit Recording(int64_t samples) {
    testing::WritePatternRecording(dir.File("r.osr"), samples);
    EXPECT_EQ(OpenRecordingForView(*state, dir.File("r.osr")).result, OpenResult::kOpened);
  }
  // Runs the buttons named in `script` ("z1 z3 z3") as the window does, then places the view.
  std::string Press(const std::string& script) {
    std::istringstream words(script);
    std::string word, label = "1:1";
    while (words >> word) {
      const std::optional<std::string> l = word == "z1"   ? ShowAll(state->recording, state->view)
                                           : word == "z2" ? ZoomOff(state->recording, state->view)
                                           : word == "z3" ? ZoomIn(state->recording, state->view)
                                                          : ZoomOut(state->recording, state->view);
      if (l) label = *l;
      PlaceView(state->recording, state->view);
    }
    return label;
  }
  // Column x of the view shows sample position + zoomStep × x (or the last one past the end).
  void ExpectViewShowsItsSamples(const std::string& where) const {
    const RecorderState& s = *state;
    for (int x = 0; x < kPlotWidth; x += 7) {
      const int64_t sample = std::min<int64_t>(
          s.view.scrollBar.position + int64_t{s.view.zoomStep} * x, s.recording.sampleCount - 1);
      ASSERT_EQ(s.view.windowBuffer[size_t(s.view.windowOffset + x)], PatternSample(sample))
          << where << " column " << x;
    }
  }
};

TEST(ZoomButtons, StepFigureLabelAndScrollBar) {
  struct Case {
    int64_t samples;
    const char* script;
    int step, percent;
    const char* label;
    int thumb, maximum;
  };
  const Case cases[] = {
      {1000, "z1", 2, 100, "100%", 500, 0},
      {1234, "z1 z2", 1, 246, "246%", 202, 734},
      {1234, "z3", 1, 246, "246%", 202, 734},  // already 1:1
      {3, "z3", 1, 0, "0%", 500, 0},           // too short for a zoom figure: stays 1:1
      {100000, "z1 z3 z4", 200, 100, "100%", 500, 0},
  };
  for (const Case& c : cases) {
    Recording r(c.samples);
    EXPECT_EQ(r.Press(c.script), c.label) << c.samples << " " << c.script;
    EXPECT_EQ(r.state->view.zoomStep, c.step) << c.samples << " " << c.script;
    EXPECT_EQ(r.state->view.zoomPercent, c.percent) << c.samples << " " << c.script;
    EXPECT_EQ(r.state->view.scrollBar.thumbLength, c.thumb) << c.samples << " " << c.script;
    EXPECT_EQ(r.state->view.scrollBar.maximum, c.maximum) << c.samples << " " << c.script;
    r.ExpectViewShowsItsSamples(c.script);
  }
}

TEST(ZoomButtons, ZoomInFromTheWholeOf3000000SamplesHalvesTheStep) {
  Recording r(3000000);
  EXPECT_EQ(r.Press("z1"), "100%");
  EXPECT_EQ(r.state->view.zoomStep, 6000);
  int percent = 100;
  for (const int step : {3000, 1500, 750, 375, 187, 93, 46, 23, 11, 5, 2, 1, 1}) {
    percent = std::min(2 * percent, 600000);
    EXPECT_EQ(r.Press("z3"), std::to_string(percent) + "%");
    EXPECT_EQ(r.state->view.zoomStep, step) << percent;
  }
}

TEST(ZoomButtons, ZoomOutFrom150PercentAndWhenAllIsShown) {
  Recording r(100000);
  r.state->view.zoomPercent = 150;
  r.state->view.zoomStep = 133;
  r.state->view.scrollBar.SetMaximum(30000);
  r.state->view.scrollBar.SetPosition(30000);
  EXPECT_EQ(ZoomOut(r.state->recording, r.state->view), "100%");
  EXPECT_EQ(r.state->view.zoomStep, 100000 / 500);
  EXPECT_EQ(r.state->view.scrollBar.position, 0);  // one old view width back, then held at 0

  // All in view already: nothing changes, so the caller does not redraw.
  const auto window = r.state->view.windowBuffer;
  EXPECT_EQ(ZoomOut(r.state->recording, r.state->view), std::nullopt);
  EXPECT_EQ(r.state->view.windowBuffer, window);
  EXPECT_EQ(r.state->view.zoomStep, 200);
  EXPECT_EQ(r.state->view.zoomPercent, 100);
}

TEST(ZoomButtons, SelectionFillsTheView) {
  struct Case {
    int step, position, start, end;
    int newStep, newPosition;
  };
  const Case cases[] = {
      {4, 8000, 100, 350, 2, 8400},
      {4, 8000, 100, 224, 1, 8400},  // narrower than 500 / 4 columns
      {5, 1000, 101, 301, 2, 1505},  // the new position falls between the old window's elements
      {1, 0, 0, 500, 1, 0},
  };
  for (const Case& c : cases) {
    Recording r(100000);
    r.state->view.zoomStep = c.step;
    ReadWindow(r.state->recording, r.state->view, c.step);
    UpdateScrollBar(r.state->recording, r.state->view);
    r.state->view.scrollBar.SetPosition(c.position);
    PlaceView(r.state->recording, r.state->view);
    r.state->cursors.selectionStart = c.start;
    r.state->cursors.selectionEnd = c.end;
    r.state->cursors.selectionValid = true;
    EXPECT_EQ(ZoomToSelection(r.state->recording, r.state->view, r.state->cursors),
              std::to_string(100000 / (5 * c.newStep)) + "%");
    PlaceView(r.state->recording, r.state->view);
    EXPECT_EQ(r.state->view.zoomStep, c.newStep) << c.start;
    EXPECT_EQ(r.state->view.scrollBar.position, c.newPosition) << c.start;
    r.ExpectViewShowsItsSamples("selection");
  }
  Recording r(100000);
  EXPECT_EQ(ZoomToSelection(r.state->recording, r.state->view, r.state->cursors),
            std::nullopt);  // nothing marked
}

TEST(Scrolling, ArrowStepsStayInTheWindowUntilColumn9500) {
  Recording r(100000);
  r.state->view.zoomStep = 3;
  ReadWindow(r.state->recording, r.state->view, 3);
  UpdateScrollBar(r.state->recording, r.state->view);
  ASSERT_EQ(r.state->view.scrollBar.smallChange, 3);
  for (int k = 1; k <= 9501; ++k) {
    r.state->view.scrollBar.SetPosition(r.state->view.scrollBar.position +
                                        r.state->view.scrollBar.smallChange);
    const bool reread = PlaceView(r.state->recording, r.state->view);
    ASSERT_EQ(reread, k == 9501) << k;
    ASSERT_EQ(r.state->view.windowOffset, k == 9501 ? 0 : k) << k;
  }
  EXPECT_EQ(r.state->view.windowStart, 9501 * 3);
  r.ExpectViewShowsItsSamples("after 9501 arrows");

  // Back by one arrow leaves the window at its start; a thumb position between two elements
  // is read again too, so the columns keep showing their samples.
  for (const int64_t position : {9500 * 3, 9500 * 3 + 31}) {
    r.state->view.scrollBar.SetPosition(position);
    EXPECT_TRUE(PlaceView(r.state->recording, r.state->view));
    EXPECT_EQ(r.state->view.windowStart, position);
    r.ExpectViewShowsItsSamples("jump");
  }
}

TEST(ScrollBar, ThumbLengthAndThumbPixels) {
  struct Case {
    int32_t samples, step;
    int thumb, maximum;
  };
  const Case cases[] = {{400, 1, 500, 0}, {2000000000, 1, 10, 1999999500}, {5000, 3, 150, 3500}};
  for (const Case& c : cases) {
    auto owner = std::make_unique<RecorderState>();
    RecorderState& s = *owner;
    s.recording.sampleCount = c.samples;
    s.view.zoomStep = c.step;
    UpdateScrollBar(s.recording, s.view);
    EXPECT_EQ(s.view.scrollBar.thumbLength, c.thumb) << c.samples;
    EXPECT_EQ(s.view.scrollBar.maximum, c.maximum) << c.samples;
    EXPECT_EQ(s.view.scrollBar.largeChange, 25 * c.step) << c.samples;
  }

  // The thumb in a 502-pixel track and back.
  ScrollBarState bar;
  bar.thumbLength = 202;
  bar.SetMaximum(734);
  struct Pixel {
    int position, offset;
  };
  for (const Pixel p : {Pixel{734, 300}, Pixel{367, 150}, Pixel{100, 41}}) {
    bar.SetPosition(p.position);
    EXPECT_EQ(bar.ThumbOffset(502), p.offset) << p.position;
  }
  EXPECT_EQ(bar.PositionAtThumb(150, 502), 367);
  EXPECT_EQ(bar.PositionAtThumb(-40, 502), 0);
  EXPECT_EQ(bar.PositionAtThumb(400, 502), 734);
  bar.thumbLength = 3;
  EXPECT_EQ(bar.ThumbPixels(502), 10);
}

}  // namespace
}  // namespace wyk
