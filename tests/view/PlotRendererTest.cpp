#include "view/PlotRenderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <set>

#include "app/RecorderState.h"
#include "storage/Recordings.h"
#include "support/TempDir.h"
#include "view/RecordingView.h"

namespace wyk {
namespace {

// Colours whose three bytes differ, so that a swapped byte order shows.
constexpr TColor kBackground = 0x00112233;
constexpr TColor kGrid = 0x00445566;
constexpr TColor kLine = 0x00778899;

std::unique_ptr<RecorderState> NewState() {
  auto state = std::make_unique<RecorderState>();
  state->settings.backgroundColor = kBackground;
  state->settings.gridColor = kGrid;
  state->settings.lineColor = kLine;
  InitPlotBitmaps(state->view, state->cursors);
  return state;
}

int CountOf(const Canvas& canvas, TColor colour) {
  int count = 0;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) count += canvas.Pixel(x, y) == colour;
  return count;
}

TEST(PlotRenderer, InitPlotBitmapsPaintsSelectionGreyInBlackOutline) {
  auto state = NewState();
  EXPECT_EQ(state->view.plotBitmap.Width(), 500);
  EXPECT_EQ(state->view.plotBitmap.Height(), 250);
  const Canvas& selection = state->cursors.selectionBitmap;
  ASSERT_EQ(selection.Width(), 500);
  ASSERT_EQ(selection.Height(), 250);
  struct Case {
    int x, y;
    TColor colour;
  };
  const Case cases[] = {{0, 0, kBlack},     {499, 0, kBlack},     {0, 249, kBlack},
                        {499, 249, kBlack}, {250, 0, kBlack},     {0, 125, kBlack},
                        {1, 1, 0x808080},   {498, 248, 0x808080}, {250, 125, 0x808080}};
  for (const Case& c : cases) EXPECT_EQ(selection.Pixel(c.x, c.y), c.colour) << c.x << "," << c.y;
  EXPECT_EQ(CountOf(selection, kBlack), 2 * 500 + 2 * 248);
}

// Vertical lines stand at gridOffset + 25 i; the frame adds column 0 and row 0.
TEST(PlotRenderer, GridColumnsFollowGridOffsetAndRowsAreFixed) {
  struct Case {
    int gridOffset;
    int firstColumn;
    int lastColumn;
  };
  const Case cases[] = {{25, 25, 475}, {0, 0, 475}, {7, 7, 482}, {1, 1, 476}, {24, 24, 499}};
  for (const Case& c : cases) {
    auto state = NewState();
    DrawRecordingPlot(state->settings, state->view, state->view.plotBitmap, 25, c.gridOffset);
    const Canvas& plot = state->view.plotBitmap;
    std::set<int> columns{0};
    for (int x = c.firstColumn; x <= c.lastColumn; x += 25) columns.insert(x);
    for (int x = 0; x < 500; ++x) {
      const TColor expected = columns.count(x) ? kGrid : kBackground;
      EXPECT_EQ(plot.Pixel(x, 10), expected) << "offset " << c.gridOffset << " x " << x;
      EXPECT_EQ(plot.Pixel(x, 249), expected) << "offset " << c.gridOffset << " x " << x;
    }
    for (int y = 0; y < 250; ++y) {
      const TColor expected = y % 25 == 0 ? kGrid : kBackground;
      EXPECT_EQ(plot.Pixel(13, y), expected) << "offset " << c.gridOffset << " y " << y;
      EXPECT_EQ(plot.Pixel(499, y), y % 25 == 0 || c.lastColumn == 499 ? kGrid : kBackground)
          << "offset " << c.gridOffset << " right edge y " << y;
    }
    for (int x = 0; x < 500; ++x) EXPECT_EQ(plot.Pixel(x, 225), kGrid);
    for (int y = 0; y < 250; ++y) EXPECT_EQ(plot.Pixel(c.firstColumn, y), kGrid);
  }
}

// A flat trace of v lies on row 250 − v; the last column is the end point and stays unpainted.
TEST(PlotRenderer, TraceRowsInRecordingAndLiveViews) {
  struct Case {
    int value;
    std::optional<int> recordingRow;
    std::optional<int> liveRow;
  };
  const Case cases[] = {{0, {}, {}}, {1, 249, 249}, {2, 248, 248}, {100, 150, 150},
                        {249, 1, 1}, {250, 0, 0},   {251, 0, {}},  {255, 0, {}}};
  for (const Case& c : cases) {
    auto state = NewState();
    state->view.windowBuffer.fill(static_cast<uint8_t>(c.value));
    state->view.windowSamples = kWindowLength;
    state->live.liveValues.fill(c.value);
    Canvas recording(500, 250), live(500, 250);
    DrawRecordingPlot(state->settings, state->view, recording, 25, 25);
    DrawLivePlot(state->settings, state->live.liveValues, live, 25, 25);
    for (int32_t v : state->view.plotValues) ASSERT_EQ(v, c.value > 250 ? 250 : c.value);
    const std::pair<const Canvas*, std::optional<int>> views[] = {{&recording, c.recordingRow},
                                                                  {&live, c.liveRow}};
    for (const auto& [canvas, row] : views) {
      const bool isLive = canvas == &live;
      if (!row) {
        EXPECT_EQ(CountOf(*canvas, kLine), 0) << c.value << (isLive ? " live" : " recording");
        continue;
      }
      EXPECT_EQ(CountOf(*canvas, kLine), 499) << c.value << (isLive ? " live" : " recording");
      for (int x = 0; x < 499; ++x)
        ASSERT_EQ(canvas->Pixel(x, *row), kLine) << c.value << " x " << x;
      EXPECT_NE(canvas->Pixel(499, *row), kLine) << c.value;
    }
  }
}

TEST(PlotRenderer, RecordingTraceReadsFromWindowOffset) {
  auto state = NewState();
  state->view.windowOffset = 9500;
  state->view.windowSamples = kWindowLength;
  for (int i = 0; i < 250; ++i) state->view.windowBuffer[static_cast<std::size_t>(9500 + i)] = 40;
  for (int i = 250; i < 500; ++i)
    state->view.windowBuffer[static_cast<std::size_t>(9500 + i)] = 200;
  DrawRecordingPlot(state->settings, state->view, state->view.plotBitmap, 25, 25);
  const Canvas& plot = state->view.plotBitmap;
  EXPECT_EQ(state->view.plotValues[0], 40);
  EXPECT_EQ(state->view.plotValues[249], 40);
  EXPECT_EQ(state->view.plotValues[250], 200);
  EXPECT_EQ(state->view.plotValues[499], 200);
  // The step from row 210 to row 50 splits between columns 249 and 250 at its middle.
  struct Case {
    int x, y;
    bool line;
  };
  const Case cases[] = {{0, 210, true},    {248, 210, true}, {249, 210, true}, {249, 131, true},
                        {249, 130, false}, {250, 130, true}, {250, 51, true},  {250, 50, true},
                        {250, 131, false}, {251, 50, true},  {498, 50, true},  {499, 50, false},
                        {251, 210, false}};
  for (const Case& c : cases) EXPECT_EQ(plot.Pixel(c.x, c.y) == kLine, c.line) << c.x << "," << c.y;
  EXPECT_EQ(CountOf(plot, kLine), 249 + 160 + 249);
}

TEST(PlotRenderer, PresentPlotPutsTheBitmapAt40By30) {
  auto state = NewState();
  DrawRecordingPlot(state->settings, state->view, state->view.plotBitmap, 25, 25);
  Canvas window(kWindowWidth, kWindowHeight);
  window.SetBrushColor(kWindowColour);
  window.FillRect(0, 0, kWindowWidth, kWindowHeight);
  PresentPlot(state->view, window);
  struct Case {
    int x, y;
    TColor colour;
  };
  const Case cases[] = {{40, 30, kGrid},         {41, 31, kBackground}, {65, 100, kGrid},
                        {539, 279, kBackground}, {40, 279, kGrid},      {539, 30, kGrid},
                        {39, 30, kSilver},       {540, 279, kSilver},   {40, 29, kSilver},
                        {40, 280, kSilver}};
  for (const Case& c : cases) EXPECT_EQ(window.Pixel(c.x, c.y), c.colour) << c.x << "," << c.y;
}

}  // namespace
}  // namespace wyk

namespace wyk {
namespace {

// A 40-sample sine with one spike of 250 at sample 500 123, between the samples a zoomed-out
// sampled view takes.
std::string SpikedSine(int64_t count) {
  std::string bytes(static_cast<size_t>(count), '\0');
  for (int64_t i = 0; i < count; ++i)
    bytes[static_cast<size_t>(i)] = static_cast<char>(128 + std::lround(90 * std::sin(i * 0.157)));
  bytes[500123] = static_cast<char>(250);
  return bytes;
}

// Rows of the line colour in plot column x: the top and the bottom one; {-1, -1} when none.
std::pair<int, int> LineRows(const Canvas& plot, int x) {
  int top = -1, bottom = -1;
  for (int y = 0; y < kPlotHeight; ++y)
    if (plot.Pixel(x, y) == kLine) (top < 0 ? top : bottom) = y, bottom = y;
  return {top, bottom};
}

TEST(PlotRenderer, EnvelopeColumnsSpanTheLeastAndGreatestSampleUnderThem) {
  testing::TempDir dir;
  const std::string bytes = SpikedSine(1000000);
  testing::WriteFile(dir.File("e.osr"), bytes);
  const struct {
    int64_t step, position;
    bool summary;  // built; without it long steps keep the sampled trace
  } rows[] = {{2000, 0, true}, {100, 480000, false}, {100, 480000, true}, {2000, 0, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.step) + " " + std::to_string(row.summary));
    auto state = NewState();
    ASSERT_EQ(OpenRecordingFiles(state->recording, dir.File("e.osr")).result, OpenResult::kOpened);
    if (row.summary) state->recording.summary.Build(state->recording.dataFile);
    state->view.envelopeShown = true;
    ViewRecordingAt(state->settings, state->scales, state->recording, state->view, row.step,
                    row.position);
    const Canvas& plot = state->view.plotBitmap;
    const int spike = static_cast<int>((500123 - row.position) / row.step);
    const bool envelope = row.step <= 256 || row.summary;
    EXPECT_EQ(plot.Pixel(spike, 0) == kLine, envelope);  // the sampled trace misses it
    if (!envelope) continue;
    int leftLeast = 0, leftGreatest = 0;
    for (int x = 0; x < kPlotWidth; ++x) {
      const auto first = static_cast<size_t>(row.position + row.step * x);
      const std::string under = bytes.substr(first, static_cast<size_t>(row.step));
      int least = 250, greatest = 0;
      for (const char c : under)
        least = std::min(least, int(uint8_t(c))), greatest = std::max(greatest, int(uint8_t(c)));
      // Joined to the column on the left where the two do not overlap.
      const int top = 250 - (x > 0 ? std::max(greatest, leftLeast) : greatest);
      const int bottom = 250 - (x > 0 ? std::min(least, leftGreatest) : least);
      ASSERT_EQ(LineRows(plot, x), std::make_pair(top, bottom)) << "column " << x;
      leftLeast = least, leftGreatest = greatest;
    }
  }
}

}  // namespace
}  // namespace wyk
