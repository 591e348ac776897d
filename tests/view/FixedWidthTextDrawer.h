#pragma once
// A deterministic TextDrawer for tests: every character is 5 pixels wide and 8 high. It paints
// the opaque cell, one 1 × 6 bar of the text colour per character, and keeps every call.

#include <string>
#include <vector>

#include "view/TextDrawer.h"

namespace wyk {

struct DrawnText {
  int left;
  int top;
  std::string text;
  TColor textColour;
  TColor backgroundColour;
};

class FixedWidthTextDrawer : public TextDrawer {
 public:
  static constexpr int kCharWidth = 5;
  static constexpr int kCellHeight = 8;

  int TextWidth(const std::string& utf8) override;
  void DrawText(Canvas& canvas, int left, int top, const std::string& utf8, TColor textColour,
                TColor backgroundColour) override;

  std::vector<DrawnText> drawn;
};

}  // namespace wyk
