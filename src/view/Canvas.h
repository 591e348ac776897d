#pragma once
// An off-screen bitmap: 32-bit pixels holding 0x00BBGGRR colours, origin top-left.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/Colour.h"

namespace wyk {

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height) { Resize(width, height); }

  // New size; the pixels become black.
  void Resize(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  TColor Pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  const TColor* Pixels() const { return pixels_.data(); }
  TColor* Pixels() { return pixels_.data(); }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<TColor> pixels_;
};

}  // namespace wyk
