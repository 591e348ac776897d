#pragma once
// Colours are 0x00BBGGRR: red in the low byte, then green, then blue.

#include <cstdint>

namespace wyk {

using TColor = uint32_t;

constexpr TColor Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<TColor>(r) | static_cast<TColor>(g) << 8 | static_cast<TColor>(b) << 16;
}
constexpr uint8_t RedOf(TColor c) {
  return c & 0xFF;
}
constexpr uint8_t GreenOf(TColor c) {
  return (c >> 8) & 0xFF;
}
constexpr uint8_t BlueOf(TColor c) {
  return (c >> 16) & 0xFF;
}

constexpr TColor kBlack = Rgb(0, 0, 0);
constexpr TColor kWhite = Rgb(255, 255, 255);
constexpr TColor kSilver = Rgb(0xC0, 0xC0, 0xC0);
constexpr TColor kGrey = Rgb(0x80, 0x80, 0x80);
constexpr TColor kGreen = Rgb(0, 0x80, 0);
constexpr TColor kLime = Rgb(0, 0xFF, 0);
constexpr TColor kBlue = Rgb(0, 0, 0xFF);
constexpr TColor kNavy = Rgb(0, 0, 0x80);
constexpr TColor kMaroon = Rgb(0x80, 0, 0);

}  // namespace wyk
