#include "view/FixedWidthTextDrawer.h"

namespace wyk {

// Counts code points: continuation bytes 10xxxxxx do not start a character.
int FixedWidthTextDrawer::TextWidth(const std::string& utf8) {
  int characters = 0;
  for (const char c : utf8)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  return characters * kCharWidth;
}

void FixedWidthTextDrawer::DrawText(Canvas& canvas, int left, int top, const std::string& utf8,
                                    TColor textColour, TColor backgroundColour) {
  drawn.push_back({left, top, utf8, textColour, backgroundColour});
  const int width = TextWidth(utf8);
  const TColor brush = canvas.BrushColor();
  canvas.SetBrushColor(backgroundColour);
  canvas.FillRect(left, top, left + width, top + kCellHeight);
  canvas.SetBrushColor(brush);
  for (int x = left + 1; x < left + width; x += kCharWidth)
    for (int y = top + 1; y < top + 7; ++y) canvas.SetPixel(x, y, textColour);
}

}  // namespace wyk
