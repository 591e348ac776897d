#pragma once
// A canvas as text, one line per row and one character per pixel, for exact comparisons.

#include <map>
#include <string>

#include "view/Canvas.h"

namespace wyk {

// Colours missing from the legend show as '?'.
inline std::string CanvasArt(const Canvas& canvas, const std::map<TColor, char>& legend) {
  std::string art;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const auto it = legend.find(canvas.Pixel(x, y));
      art += it == legend.end() ? '?' : it->second;
    }
    art += '\n';
  }
  return art;
}

}  // namespace wyk
