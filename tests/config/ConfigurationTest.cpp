#include "config/Configuration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/RecorderState.h"
#include "view/ColourPreview.h"

namespace wyk {
namespace {

TEST(Configuration, OkTakesPortTypeAndOffsetInEightBits) {
  struct Case {
    DialogChoice choice;
    int port, type, offset;
  };
  const Case cases[] = {
      {{0, 1, "200"}, 1, 1, 200}, {{-1, -1, ""}, 0, 255, 0}, {{7, 2, "abc"}, 8, 2, 0},
      {{3, 0, "300"}, 4, 0, 44},  {{1, 2, "$1F"}, 2, 2, 31},
  };
  for (const Case& c : cases) {
    auto state = std::make_unique<RecorderState>();
    TakeDialogChoice(state->settings, c.choice);
    EXPECT_EQ(state->settings.comPortNumber, c.port) << c.choice.offsetText;
    EXPECT_EQ(state->settings.adapterType, c.type) << c.choice.offsetText;
    EXPECT_EQ(state->settings.dcOffset, c.offset) << c.choice.offsetText;
  }
}

TEST(Configuration, PreviewIsARectangleWithAGridAndAZigzag) {
  auto state = std::make_unique<RecorderState>();
  const TColor background = 0x112233, grid = 0x445566, line = 0x778899, outside = 0xC0C0C0;
  state->settings.backgroundColor = background, state->settings.gridColor = grid,
  state->settings.lineColor = line;
  Canvas surface(kDialogWidth, kDialogHeight);
  surface.SetBrushColor(outside);
  surface.FillRect(0, 0, kDialogWidth, kDialogHeight);
  DrawColourPreview(state->settings, surface);

  // Every row of the trace has a pixel on each segment, a column or so off the ideal line.
  const auto traceNear = [&](int x, int y) {
    for (int dx = -1; dx <= 1; ++dx)
      if (surface.Pixel(std::min(x + dx, 288), y) == line) return true;
    return false;
  };
  for (int y = 16; y <= 103; ++y) {
    EXPECT_TRUE(traceNear(233 + (103 - y) * 25 / 88, y)) << "first segment, row " << y;
    EXPECT_TRUE(traceNear(283 - (103 - y) * 25 / 88, y)) << "second segment, row " << y;
    // Higher up the last segment leaves the preview at x 289.
    if (y >= 30 && y < 103) {
      EXPECT_TRUE(traceNear(283 + (103 - y) * 6 / 88, y)) << "last segment, row " << y;
    }
  }
  struct Pixel {
    int x, y;
    TColor colour;
  };
  const Pixel pixels[] = {
      {233, 8, grid},        {288, 8, grid},     {233, 60, grid},       {288, 60, grid},
      {240, 103, grid},      {245, 33, grid},    {250, 58, grid},       {270, 83, grid},
      {258, 40, grid},       {283, 70, grid},    {240, 20, background}, {270, 95, background},
      {287, 12, background}, {233, 103, line},   {258, 15, line},       {283, 103, line},
      {232, 8, outside},     {289, 60, outside}, {260, 7, outside},     {260, 104, outside},
      {289, 18, outside},
  };
  for (const Pixel& p : pixels) EXPECT_EQ(surface.Pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
}

}  // namespace
}  // namespace wyk
