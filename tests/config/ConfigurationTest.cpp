#include "config/Configuration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace wyk {
namespace {

TEST(Configuration, ControlsShownForTheSettingsAndTheCaption) {
  struct Case {
    uint8_t value;
    int portItem;
    int adapterEntry;
    const char* caption;
  };
  const Case cases[] = {
      {0, -1, 0, "KWARN Wykresownik TEV2R (DSC89C420)"},
      {1, 0, 1, "KWARN Wykresownik TEW2R"},
      {2, 1, 2, "KWARN Wykresownik TEV2R (ATMEGA8)"},
      {3, 2, -1, "KWARN Wykresownik "},
      {8, 7, -1, "KWARN Wykresownik "},
      {9, 7, -1, "KWARN Wykresownik "},
      {255, 7, -1, "KWARN Wykresownik "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PortItemOf(c.value), c.portItem) << int(c.value);
    EXPECT_EQ(AdapterEntryOf(c.value), c.adapterEntry) << int(c.value);
    EXPECT_EQ(MainWindowCaption(c.value), c.caption) << int(c.value);
  }
}

TEST(Configuration, OkTakesPortTypeAndOffsetInEightBits) {
  struct Case {
    DialogChoice choice;
    int port, type, offset;
  };
  const Case cases[] = {
      {{0, 1, "200"}, 1, 1, 200}, {{-1, -1, ""}, 0, 255, 0}, {{7, 2, "abc"}, 8, 2, 0},
      {{3, 0, "300"}, 4, 0, 44},  {{1, 2, "$1F"}, 2, 2, 31}, {{1, 2, "-1"}, 2, 2, 255},
  };
  for (const Case& c : cases) {
    auto state = std::make_unique<RecorderState>();
    TakeDialogChoice(*state, c.choice);
    EXPECT_EQ(state->comPortNumber, c.port) << c.choice.offsetText;
    EXPECT_EQ(state->adapterType, c.type) << c.choice.offsetText;
    EXPECT_EQ(state->dcOffset, c.offset) << c.choice.offsetText;
  }
}

TEST(Configuration, PortHintsNameTheMappedDevices) {
  auto state = std::make_unique<RecorderState>();
  state->comDevicePaths[3] = "/dev/ttyUSB0";
  EXPECT_EQ(PortDeviceHint(*state, 1), "/dev/ttyS0");
  EXPECT_EQ(PortDeviceHint(*state, 3), "/dev/ttyUSB0");
  EXPECT_EQ(PortDeviceHint(*state, 8), "/dev/ttyS7");
}

TEST(Configuration, SnapshotIsRestoredWhole) {
  auto state = std::make_unique<RecorderState>();
  state->lineColor = 1, state->backgroundColor = 2, state->gridColor = 3;
  state->comPortNumber = 4, state->adapterType = 5, state->dcOffset = 6;
  SnapshotSettings(*state);
  state->lineColor = state->backgroundColor = state->gridColor = 99;
  state->comPortNumber = state->adapterType = state->dcOffset = 99;
  RestoreSnapshot(*state);
  EXPECT_EQ(state->lineColor, 1u);
  EXPECT_EQ(state->backgroundColor, 2u);
  EXPECT_EQ(state->gridColor, 3u);
  EXPECT_EQ(state->comPortNumber, 4);
  EXPECT_EQ(state->adapterType, 5);
  EXPECT_EQ(state->dcOffset, 6);
}

TEST(Configuration, PreviewIsARectangleWithAGridAndAZigzag) {
  auto state = std::make_unique<RecorderState>();
  const TColor background = 0x112233, grid = 0x445566, line = 0x778899, outside = 0xC0C0C0;
  state->backgroundColor = background, state->gridColor = grid, state->lineColor = line;
  Canvas surface(kDialogWidth, kDialogHeight);
  surface.SetBrushColor(outside);
  surface.FillRect(0, 0, kDialogWidth, kDialogHeight);
  DrawColourPreview(*state, surface);

  // Trace pixels per row: one segment per column between the vertices.
  const auto traceInRow = [&](int y, int fromX, int toX) {
    for (int x = fromX; x <= toX; ++x)
      if (surface.Pixel(x, y) == line) return true;
    return false;
  };
  for (int y = 16; y <= 103; ++y) {
    const int first = 233 + (103 - y) * 25 / 88, second = 283 - (103 - y) * 25 / 88;
    const int third = 283 + (103 - y) * 6 / 88;
    EXPECT_TRUE(traceInRow(y, first - 1, first + 1)) << "first segment, row " << y;
    EXPECT_TRUE(traceInRow(y, second - 1, second + 1)) << "second segment, row " << y;
    if (y >= 30 && y < 103) {  // higher up it leaves the preview at x 289
      EXPECT_TRUE(traceInRow(y, third - 1, std::min(third + 1, 288))) << "third, row " << y;
    }
  }
  struct Pixel {
    int x, y;
    TColor colour;
  };
  const Pixel pixels[] = {
      {233, 8, grid},        {288, 8, grid},        {233, 60, grid},    {288, 60, grid},
      {240, 8, grid},        {240, 103, grid},      {245, 33, grid},    {250, 58, grid},
      {270, 83, grid},       {258, 40, grid},       {283, 70, grid},    {240, 20, background},
      {270, 95, background}, {285, 40, background}, {233, 103, line},   {258, 15, line},
      {283, 103, line},      {232, 8, outside},     {289, 60, outside}, {260, 7, outside},
      {260, 104, outside},   {258, 104, outside},   {289, 33, outside}, {287, 12, background},
      {289, 18, outside},
  };
  for (const Pixel& p : pixels) EXPECT_EQ(surface.Pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
}

}  // namespace
}  // namespace wyk
