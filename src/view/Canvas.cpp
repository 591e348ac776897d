#include "view/Canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace wyk {
namespace {

int64_t Abs(int64_t v) {
  return v < 0 ? -v : v;
}

}  // namespace

uint32_t Canvas::WordOf(TColor colour) {
  return 0xFF000000u | static_cast<uint32_t>(RedOf(colour)) << 16 |
         static_cast<uint32_t>(GreenOf(colour)) << 8 | BlueOf(colour);
}

TColor Canvas::ColourOf(uint32_t word) {
  return Rgb(static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 8),
             static_cast<uint8_t>(word));
}

void Canvas::Resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  words_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
                WordOf(kBlack));
}

void Canvas::SetPixel(int x, int y, TColor colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  words_[Index(x, y)] = WordOf(colour);
}

void Canvas::MoveTo(int x, int y) {
  penX_ = x;
  penY_ = y;
}

// Bresenham along the longer axis: step k of n puts the shorter coordinate at
// round(k · shorter / longer), halves rounding towards the end point. Only the steps whose
// pixel lies on the canvas are walked, so far-away end points cost nothing.
void Canvas::LineTo(int x, int y) {
  const int64_t x0 = penX_, y0 = penY_;
  MoveTo(x, y);
  const int64_t dx = x - x0, dy = y - y0;
  if (dx == 0 && dy == 0) return;
  const uint32_t word = WordOf(penColor_);
  if (dy == 0) {
    if (dx > 0)
      HorizontalRun(x0, x, y0, word);
    else
      HorizontalRun(int64_t{x} + 1, x0 + 1, y0, word);
    return;
  }
  if (dx == 0) {
    if (dy > 0)
      VerticalRun(x0, y0, y, word);
    else
      VerticalRun(x0, int64_t{y} + 1, y0 + 1, word);
    return;
  }

  const bool xMajor = Abs(dx) >= Abs(dy);
  const int64_t major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
  const int64_t majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int64_t minorStep = (xMajor ? dy : dx) > 0 ? 1 : -1;
  const uint64_t longer = static_cast<uint64_t>(Abs(xMajor ? dx : dy));
  const uint64_t shorter = static_cast<uint64_t>(Abs(xMajor ? dy : dx));
  const int64_t majorLimit = xMajor ? width_ : height_, minorLimit = xMajor ? height_ : width_;

  // Steps whose longer coordinate is on the canvas.
  int64_t kBegin = 0, kEnd = static_cast<int64_t>(longer);
  if (majorStep > 0) {
    kBegin = std::max<int64_t>(kBegin, -major0);
    kEnd = std::min<int64_t>(kEnd, majorLimit - major0);
  } else {
    kBegin = std::max<int64_t>(kBegin, major0 - majorLimit + 1);
    kEnd = std::min<int64_t>(kEnd, major0 + 1);
  }
  if (kBegin >= kEnd) return;

  // |dx|, |dy| < 2^32, so k · shorter fits in 64 unsigned bits.
  const auto offset = [&](int64_t k) {
    const uint64_t product = static_cast<uint64_t>(k) * shorter;
    const uint64_t q = product / longer, r = product % longer;
    return static_cast<int64_t>(q + (2 * r >= longer ? 1 : 0));
  };
  // The offset grows with k: keep the steps whose shorter coordinate is on the canvas.
  const int64_t offsetLow = minorStep > 0 ? -minor0 : minor0 - minorLimit + 1;
  const int64_t offsetHigh = minorStep > 0 ? minorLimit - minor0 : minor0 + 1;
  const auto firstStepReaching = [&](int64_t wanted) {
    int64_t lo = kBegin, hi = kEnd;
    while (lo < hi) {
      const int64_t mid = lo + (hi - lo) / 2;
      if (offset(mid) >= wanted)
        hi = mid;
      else
        lo = mid + 1;
    }
    return lo;
  };
  kBegin = firstStepReaching(offsetLow);
  kEnd = firstStepReaching(offsetHigh);
  if (kBegin >= kEnd) return;

  uint64_t product = static_cast<uint64_t>(kBegin) * shorter;
  uint64_t q = product / longer, r = product % longer;
  for (int64_t k = kBegin; k < kEnd; ++k) {
    const int64_t major = major0 + majorStep * k;
    const int64_t minor = minor0 + minorStep * static_cast<int64_t>(q + (2 * r >= longer ? 1 : 0));
    const int px = static_cast<int>(xMajor ? major : minor);
    const int py = static_cast<int>(xMajor ? minor : major);
    words_[Index(px, py)] = word;
    r += shorter;
    if (r >= longer) {
      r -= longer;
      ++q;
    }
  }
}

void Canvas::HorizontalRun(int64_t x0, int64_t x1, int64_t y, uint32_t word) {
  if (y < 0 || y >= height_) return;
  const int left = static_cast<int>(std::max<int64_t>(x0, 0));
  const int right = static_cast<int>(std::min<int64_t>(x1, width_));
  if (left >= right) return;
  const int row = static_cast<int>(y);
  std::fill(words_.begin() + static_cast<std::ptrdiff_t>(Index(left, row)),
            words_.begin() + static_cast<std::ptrdiff_t>(Index(right, row)), word);
}

void Canvas::VerticalRun(int64_t x, int64_t y0, int64_t y1, uint32_t word) {
  if (x < 0 || x >= width_) return;
  const int top = static_cast<int>(std::max<int64_t>(y0, 0));
  const int bottom = static_cast<int>(std::min<int64_t>(y1, height_));
  for (int y = top; y < bottom; ++y) words_[Index(static_cast<int>(x), y)] = word;
}

void Canvas::FillClipped(Rect area, uint32_t word) {
  for (int y = std::max(area.top, 0); y < std::min(area.bottom, height_); ++y)
    HorizontalRun(area.left, area.right, y, word);
}

void Canvas::FillRect(int left, int top, int right, int bottom) {
  FillClipped({left, top, right, bottom}, WordOf(brushColor_));
}

void Canvas::Rectangle(int left, int top, int right, int bottom) {
  if (left >= right || top >= bottom) return;
  FillRect(left, top, right, bottom);
  const uint32_t pen = WordOf(penColor_);
  HorizontalRun(left, right, top, pen);
  HorizontalRun(left, right, int64_t{bottom} - 1, pen);
  VerticalRun(left, top, bottom, pen);
  VerticalRun(int64_t{right} - 1, top, bottom, pen);
}

bool Canvas::CopyAreas(const Canvas& source, Rect from, int dx, int dy, Rect& src,
                       Rect& dst) const {
  // Work in 64 bits: the offsets of far-away rectangles must not overflow.
  int64_t sl = std::max<int64_t>(from.left, 0), st = std::max<int64_t>(from.top, 0);
  int64_t sr = std::min<int64_t>(from.right, source.width_);
  int64_t sb = std::min<int64_t>(from.bottom, source.height_);
  const int64_t shiftX = static_cast<int64_t>(dx) - from.left;
  const int64_t shiftY = static_cast<int64_t>(dy) - from.top;
  const int64_t dl = std::max<int64_t>(sl + shiftX, 0), dt = std::max<int64_t>(st + shiftY, 0);
  const int64_t dr = std::min<int64_t>(sr + shiftX, width_);
  const int64_t db = std::min<int64_t>(sb + shiftY, height_);
  if (dl >= dr || dt >= db) return false;
  dst = {static_cast<int>(dl), static_cast<int>(dt), static_cast<int>(dr), static_cast<int>(db)};
  src = {static_cast<int>(dl - shiftX), static_cast<int>(dt - shiftY),
         static_cast<int>(dr - shiftX), static_cast<int>(db - shiftY)};
  return true;
}

void Canvas::CopyFrom(const Canvas& source, int dx, int dy) {
  CopyRect(source, {0, 0, source.width_, source.height_}, dx, dy);
}

void Canvas::CopyRect(const Canvas& source, Rect from, int dx, int dy) {
  Rect src, dst;
  if (!CopyAreas(source, from, dx, dy, src, dst)) return;
  const std::size_t rowBytes = static_cast<std::size_t>(dst.right - dst.left) * 4;
  const auto copyRow = [&](int row) {
    std::memmove(&words_[Index(dst.left, dst.top + row)],
                 &source.words_[source.Index(src.left, src.top + row)], rowBytes);
  };
  const int rows = dst.bottom - dst.top;
  // Copying within one canvas downwards must start from the bottom row.
  if (&source == this && dst.top > src.top) {
    for (int row = rows - 1; row >= 0; --row) copyRow(row);
  } else {
    for (int row = 0; row < rows; ++row) copyRow(row);
  }
}

void Canvas::InvertingCopy(const Canvas& source, Rect from, int dx, int dy) {
  Rect src, dst;
  if (!CopyAreas(source, from, dx, dy, src, dst)) return;
  const uint32_t flip = WordOf(0xFFFFFF) ^ WordOf(0);
  for (int y = dst.top; y < dst.bottom; ++y)
    for (int x = dst.left; x < dst.right; ++x) words_[Index(x, y)] ^= flip;
}

}  // namespace wyk
