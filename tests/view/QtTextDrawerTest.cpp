#include "view/QtTextDrawer.h"

#include <gtest/gtest.h>

namespace wyk {
namespace {

bool IsDark(TColor c) {
  return RedOf(c) + GreenOf(c) + BlueOf(c) < 3 * 0x60;
}

// Dark pixels only inside the text's cell: its advance width and 13 rows from the top.
TEST(QtTextDrawer, TextStaysInsideItsCell) {
  struct Case {
    const char* text;
    int left, top;
  };
  const Case cases[] = {{"V/dz=10mV", 20, 10},
                        {"00:00:00:237", 3, 5},
                        {"-50mV", 60, 20},
                        {"Błąd!", 40, 0},
                        {"30:12:1899", 2, 24}};
  QtTextDrawer drawer;
  for (const Case& c : cases) {
    Canvas canvas(160, 40);
    canvas.SetBrushColor(kWhite);
    canvas.FillRect(0, 0, 160, 40);
    const int width = drawer.TextWidth(c.text);
    ASSERT_GT(width, 0) << c.text;
    drawer.DrawText(canvas, c.left, c.top, c.text, kBlack, kSilver);
    int inside = 0, outside = 0, backgroundInside = 0;
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x) {
        const bool inCell = x >= c.left && x < c.left + width && y >= c.top && y < c.top + 13;
        const TColor pixel = canvas.Pixel(x, y);
        if (IsDark(pixel)) {
          ++(inCell ? inside : outside);
        }
        if (inCell && pixel == kSilver) ++backgroundInside;
        if (!inCell) {
          EXPECT_EQ(pixel, kWhite) << c.text << " at " << x << "," << y;
        }
        EXPECT_EQ(canvas.Bits()[(y * canvas.Width() + x) * 4 + 3], 0xFF);
      }
    EXPECT_GT(inside, 5) << c.text;
    EXPECT_EQ(outside, 0) << c.text;
    EXPECT_GT(backgroundInside, 0) << c.text;  // opaque cell
  }
  EXPECT_EQ(drawer.TextWidth(""), 0);
  EXPECT_LE(drawer.TextHeight(), 13);
}

}  // namespace
}  // namespace wyk
