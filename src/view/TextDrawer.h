#pragma once
// Text on a canvas in the program's small font. The shell draws with its font engine;
// tests use a fixed-width stand-in, so the renderers stay testable pixel by pixel.

#include <string>

#include "common/Colour.h"
#include "view/Canvas.h"

namespace wyk {

class TextDrawer {
 public:
  virtual ~TextDrawer() = default;

  // Advance width of the text in pixels.
  virtual int TextWidth(const std::string& utf8) = 0;

  // Draws the text with its cell's top-left corner at (left, top) over an opaque cell of the
  // background colour, clipped to the canvas.
  virtual void DrawText(Canvas& canvas, int left, int top, const std::string& utf8,
                        TColor textColour, TColor backgroundColour) = 0;
};

}  // namespace wyk
