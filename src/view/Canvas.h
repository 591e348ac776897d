#pragma once
// An off-screen bitmap with a pen, a brush and a pen position, origin top-left, y downwards.
// The API speaks 0x00BBGGRR colours. In memory every pixel is the 32-bit word 0xFFRRGGBB,
// rows top to bottom without padding, so a QImage::Format_RGB32 wraps Bits() as it is and
// Qt paints it without converting.
//
// A line covers its start pixel but not its end pixel; a rectangle (left, top, right, bottom)
// covers x = left … right − 1 and y = top … bottom − 1; whatever falls outside is clipped.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/Colour.h"

namespace wyk {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height) { Resize(width, height); }

  // New size; every pixel becomes black. Pen, brush and pen position are kept.
  void Resize(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }

  // The pixel must lie on the canvas.
  TColor Pixel(int x, int y) const { return ColourOf(words_[Index(x, y)]); }
  // Clipped.
  void SetPixel(int x, int y, TColor colour);

  // The word 0xFFRRGGBB per pixel; BytesPerLine() bytes per row.
  const uint8_t* Bits() const { return reinterpret_cast<const uint8_t*>(words_.data()); }
  uint8_t* Bits() { return reinterpret_cast<uint8_t*>(words_.data()); }
  int BytesPerLine() const { return width_ * 4; }

  TColor PenColor() const { return penColor_; }
  void SetPenColor(TColor colour) { penColor_ = colour; }
  TColor BrushColor() const { return brushColor_; }
  void SetBrushColor(TColor colour) { brushColor_ = colour; }

  int PenX() const { return penX_; }
  int PenY() const { return penY_; }
  void MoveTo(int x, int y);
  // A line in the pen colour from the pen position to (x, y), without (x, y); the pen moves there.
  void LineTo(int x, int y);

  // Fills with the brush; an empty rectangle draws nothing.
  void FillRect(int left, int top, int right, int bottom);
  // Fills with the brush and outlines with the pen on the extreme rows and columns.
  void Rectangle(int left, int top, int right, int bottom);

  // Copies the whole source so that its top-left pixel lands on (dx, dy).
  void CopyFrom(const Canvas& source, int dx, int dy);
  // Copies the part `from` of the source (clipped to the source) with its top-left on (dx, dy).
  void CopyRect(const Canvas& source, Rect from, int dx, int dy);
  // Inverts this canvas (destination = NOT destination) over the area CopyRect would cover;
  // the source only gives the area, its colours are not read.
  void InvertingCopy(const Canvas& source, Rect from, int dx, int dy);

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }
  static uint32_t WordOf(TColor colour);
  static TColor ColourOf(uint32_t word);

  void FillClipped(Rect area, uint32_t word);
  void HorizontalRun(int64_t x0, int64_t x1, int64_t y, uint32_t word);  // x0 … x1 − 1, clipped
  void VerticalRun(int64_t x, int64_t y0, int64_t y1, uint32_t word);    // y0 … y1 − 1, clipped
  // Source and destination areas of a copy, both clipped; false when nothing is left.
  bool CopyAreas(const Canvas& source, Rect from, int dx, int dy, Rect& src, Rect& dst) const;

  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> words_;
  TColor penColor_ = kBlack;
  TColor brushColor_ = kWhite;
  int penX_ = 0;
  int penY_ = 0;
};

}  // namespace wyk
