#include "view/Canvas.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "view/CanvasArt.h"

namespace wyk {
namespace {

constexpr TColor kPaper = 0x00FFFFFF;
constexpr TColor kInk = 0x00102030;
constexpr TColor kFill = 0x00405060;

std::string Rows(std::initializer_list<const char*> rows) {
  std::string art;
  for (const char* row : rows) art += std::string(row) + "\n";
  return art;
}

Canvas Paper(int width, int height) {
  Canvas canvas(width, height);
  canvas.SetBrushColor(kPaper);
  canvas.FillRect(0, 0, width, height);
  canvas.SetPenColor(kInk);
  canvas.SetBrushColor(kFill);
  return canvas;
}

std::string Art(const Canvas& canvas) {
  return CanvasArt(canvas, {{kPaper, '.'}, {kInk, '#'}, {kFill, 'o'}});
}

TEST(Canvas, PixelsAreRgb32WordsAndColoursAreBgr) {
  Canvas canvas(3, 2);
  EXPECT_EQ(canvas.BytesPerLine(), 12);
  const auto word = [&](int i) {
    uint32_t w;
    std::memcpy(&w, canvas.Bits() + 4 * i, 4);
    return w;
  };
  for (int i = 0; i < 6; ++i) EXPECT_EQ(word(i), 0xFF000000u);  // a new canvas is black
  canvas.SetPixel(1, 1, 0x00332211);
  EXPECT_EQ(word(4), 0xFF112233u);  // red, green, blue from the top
  EXPECT_EQ(canvas.Pixel(1, 1), 0x00332211u);
  canvas.SetPixel(3, 0, kInk);  // clipped
  canvas.SetPixel(-1, 0, kInk);
  EXPECT_EQ(canvas.Pixel(2, 0), kBlack);
}

TEST(Canvas, LineCoversStartButNotEndInEveryDirection) {
  struct Case {
    const char* name;
    int x0, y0, x1, y1;
    std::string art;
  };
  const Case cases[] = {
      {"right", 1, 2, 5, 2, Rows({".......", ".......", ".####..", ".......", "......."})},
      {"left", 5, 2, 1, 2, Rows({".......", ".......", "..####.", ".......", "......."})},
      {"down", 3, 0, 3, 4, Rows({"...#...", "...#...", "...#...", "...#...", "......."})},
      {"up", 3, 4, 3, 0, Rows({".......", "...#...", "...#...", "...#...", "...#..."})},
      {"down right", 1, 0, 5, 4, Rows({".#.....", "..#....", "...#...", "....#..", "......."})},
      {"up left", 5, 4, 1, 0, Rows({".......", "..#....", "...#...", "....#..", ".....#."})},
      {"up right", 1, 4, 5, 0, Rows({".......", "....#..", "...#...", "..#....", ".#....."})},
      {"down left", 5, 0, 1, 4, Rows({".....#.", "....#..", "...#...", "..#....", "......."})},
      // Halves round towards the end point.
      {"shallow", 0, 0, 6, 2, Rows({"##.....", "..###..", ".....#.", ".......", "......."})},
      {"shallow back", 6, 2, 0, 0, Rows({".#.....", "..###..", ".....##", ".......", "......."})},
      {"steep", 2, 0, 3, 4, Rows({"..#....", "..#....", "...#...", "...#...", "......."})},
      {"steep up", 2, 4, 3, 0, Rows({".......", "...#...", "...#...", "..#....", "..#...."})},
      {"one pixel", 2, 2, 3, 2, Rows({".......", ".......", "..#....", ".......", "......."})},
      {"no length", 2, 2, 2, 2, Rows({".......", ".......", ".......", ".......", "......."})},
      {"clipped", -2, 1, 9, 1, Rows({".......", "#######", ".......", ".......", "......."})},
      {"outside", -5, -1, 9, -1, Rows({".......", ".......", ".......", ".......", "......."})},
      {"far away", 3, -2000000000, 4, 2000000000,
       Rows({"....#..", "....#..", "....#..", "....#..", "....#.."})},
      {"far horizontal", -2000000000, 3, 2000000000, 3,
       Rows({".......", ".......", ".......", "#######", "......."})},
  };
  for (const Case& c : cases) {
    Canvas canvas = Paper(7, 5);
    canvas.MoveTo(c.x0, c.y0);
    canvas.LineTo(c.x1, c.y1);
    EXPECT_EQ(Art(canvas), c.art) << c.name;
    EXPECT_EQ(canvas.PenX(), c.x1) << c.name;
    EXPECT_EQ(canvas.PenY(), c.y1) << c.name;
  }
}

// A line clipped at the canvas edges keeps the pixels it has on a larger canvas.
TEST(Canvas, ClippedLineMatchesUnclippedLine) {
  struct Case {
    int x0, y0, x1, y1;
  };
  const Case cases[] = {{-10, -3, 20, 8}, {20, 8, -10, -3}, {-4, 14, 9, -9},
                        {3, -12, 5, 16},  {-7, 2, 13, 3},   {11, 0, -1, 4}};
  constexpr int kShiftX = 20, kShiftY = 20;
  for (const Case& c : cases) {
    Canvas small = Paper(7, 5);
    small.MoveTo(c.x0, c.y0);
    small.LineTo(c.x1, c.y1);
    Canvas large = Paper(60, 60);
    large.MoveTo(c.x0 + kShiftX, c.y0 + kShiftY);
    large.LineTo(c.x1 + kShiftX, c.y1 + kShiftY);
    Canvas window = Paper(7, 5);
    window.CopyRect(large, {kShiftX, kShiftY, kShiftX + 7, kShiftY + 5}, 0, 0);
    EXPECT_EQ(Art(small), Art(window)) << c.x0 << "," << c.y0 << " to " << c.x1 << "," << c.y1;
  }
}

TEST(Canvas, RectanglesFillAndOutlineTheirExtremeRowsAndColumns) {
  struct Case {
    const char* name;
    bool outlined;
    Rect rect;
    std::string art;
  };
  const Case cases[] = {
      {"outlined",
       true,
       {1, 1, 5, 4},
       Rows({".......", ".####..", ".#oo#..", ".####..", "......."})},
      {"filled",
       false,
       {1, 1, 5, 4},
       Rows({".......", ".oooo..", ".oooo..", ".oooo..", "......."})},
      {"right and bottom outside",
       true,
       {0, 0, 8, 6},
       Rows({"#######", "#oooooo", "#oooooo", "#oooooo", "#oooooo"})},
      {"all edges outside",
       true,
       {-1, -1, 8, 6},
       Rows({"ooooooo", "ooooooo", "ooooooo", "ooooooo", "ooooooo"})},
      {"fill clipped",
       false,
       {5, -2, 9, 2},
       Rows({".....oo", ".....oo", ".......", ".......", "......."})},
      {"one pixel",
       true,
       {2, 3, 3, 4},
       Rows({".......", ".......", ".......", "..#....", "......."})},
      {"two by two",
       true,
       {2, 1, 4, 3},
       Rows({".......", "..##...", "..##...", ".......", "......."})},
      {"empty", true, {3, 1, 3, 4}, Rows({".......", ".......", ".......", ".......", "......."})},
      {"reversed",
       false,
       {5, 4, 1, 1},
       Rows({".......", ".......", ".......", ".......", "......."})},
  };
  for (const Case& c : cases) {
    Canvas canvas = Paper(7, 5);
    if (c.outlined)
      canvas.Rectangle(c.rect.left, c.rect.top, c.rect.right, c.rect.bottom);
    else
      canvas.FillRect(c.rect.left, c.rect.top, c.rect.right, c.rect.bottom);
    EXPECT_EQ(Art(canvas), c.art) << c.name;
  }
}

TEST(Canvas, CopiesAreClippedToSourceAndDestination) {
  Canvas source = Paper(3, 2);
  source.SetBrushColor(kInk);
  source.FillRect(0, 0, 3, 2);
  source.SetPixel(1, 0, kFill);
  struct Case {
    const char* name;
    Rect from;
    int dx, dy;
    std::string art;
  };
  const Case cases[] = {
      {"whole", {0, 0, 3, 2}, 1, 1, Rows({".......", ".#o#...", ".###...", ".......", "......."})},
      {"off the corner",
       {0, 0, 3, 2},
       5,
       4,
       Rows({".......", ".......", ".......", ".......", ".....#o"})},
      {"off the top left",
       {0, 0, 3, 2},
       -1,
       -1,
       Rows({"##.....", ".......", ".......", ".......", "......."})},
      {"part", {1, 0, 3, 1}, 2, 2, Rows({".......", ".......", "..o#...", ".......", "......."})},
      {"part beyond the source",
       {1, -1, 9, 1},
       0,
       0,
       Rows({".......", "o#.....", ".......", ".......", "......."})},
  };
  for (const Case& c : cases) {
    Canvas canvas = Paper(7, 5);
    canvas.CopyRect(source, c.from, c.dx, c.dy);
    EXPECT_EQ(Art(canvas), c.art) << c.name;
  }
  Canvas whole = Paper(7, 5);
  whole.CopyFrom(source, 1, 1);
  EXPECT_EQ(Art(whole), cases[0].art);
}

TEST(Canvas, CopyWithinOneCanvasOverlapping) {
  Canvas canvas = Paper(4, 4);
  for (int y = 0; y < 3; ++y) canvas.SetPixel(0, y, y == 1 ? kFill : kInk);
  canvas.CopyRect(canvas, {0, 0, 1, 3}, 0, 1);  // downwards, onto itself
  EXPECT_EQ(Art(canvas), Rows({"#...", "#...", "o...", "#..."}));
  canvas.CopyRect(canvas, {0, 1, 1, 4}, 0, 0);  // and back up
  EXPECT_EQ(Art(canvas), Rows({"#...", "o...", "#...", "#..."}));
}

// The destination is inverted; what the source holds does not matter.
TEST(Canvas, InvertingCopyFlipsTheDestination) {
  Canvas grey(5, 5), white(5, 5);
  grey.SetBrushColor(0x808080);
  grey.Rectangle(0, 0, 5, 5);
  white.SetBrushColor(kWhite);
  white.FillRect(0, 0, 5, 5);
  for (const Canvas* source : {&grey, &white}) {
    Canvas canvas(6, 4);
    canvas.SetBrushColor(0x00332211);
    canvas.FillRect(0, 0, 6, 4);
    canvas.InvertingCopy(*source, {1, 1, 4, 5}, 4, 2);  // 3 × 4 asked, 2 × 2 on the canvas
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x) {
        const bool inside = x >= 4 && y >= 2;
        EXPECT_EQ(canvas.Pixel(x, y), inside ? 0x00CCDDEEu : 0x00332211u) << x << "," << y;
        EXPECT_EQ(canvas.Bits()[(y * 6 + x) * 4 + 3], 0xFF) << x << "," << y;
      }
    canvas.InvertingCopy(*source, {1, 1, 4, 5}, 4, 2);  // twice is the original again
    EXPECT_EQ(canvas.Pixel(5, 3), 0x00332211u);
  }
}

}  // namespace
}  // namespace wyk
