#include "export/Csv.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace wyk {

std::string CsvNumber(std::string text, const CsvFormat& format) {
  for (char& c : text)
    if (c == ',') c = format.decimal;
  return text;
}

std::string CsvText(const std::string& text, const CsvFormat& format) {
  const bool plain = std::none_of(text.begin(), text.end(), [&format](char c) {
    return c == '"' || c == '\r' || c == '\n' || c == format.separator;
  });
  if (plain) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

SampleTimes::SampleTimes(float periodMs) {
  // d.dddddde±x: seven significant digits.
  char text[32];
  std::snprintf(text, sizeof text, "%.6e", static_cast<double>(periodMs));
  const char* e = std::strchr(text, 'e');
  for (const char* p = text; p < e; ++p)
    if (*p >= '0' && *p <= '9') mantissa_ = mantissa_ * 10 + (*p - '0');
  exponent_ = std::atoi(e + 1) - 6;
  while (mantissa_ != 0 && mantissa_ % 10 == 0) {
    mantissa_ /= 10;
    ++exponent_;
  }
  periodMs_ = std::strtod(text, nullptr);
}

char* SampleTimes::Write(int64_t index, char decimal, char* out) const {
  // index < 2^31 and mantissa < 10^7: the product fits.
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, index * mantissa_);
  size_t length = static_cast<size_t>(result.ptr - digits);
  if (exponent_ >= 0 || index * mantissa_ == 0) {
    std::memcpy(out, digits, length);
    out += length;
    if (index * mantissa_ != 0)
      for (int i = 0; i < exponent_; ++i) *out++ = '0';
    return out;
  }
  const size_t fraction = static_cast<size_t>(-exponent_);
  // The whole part, "0" when the product has no more digits than the fraction.
  if (length > fraction) {
    std::memcpy(out, digits, length - fraction);
    out += length - fraction;
  } else {
    *out++ = '0';
  }
  // The fraction, with leading zeros, without trailing ones.
  size_t last = length;
  while (last > 0 && digits[last - 1] == '0' && length - last < fraction) --last;
  if (length - last == fraction) return out;
  *out++ = decimal;
  for (size_t i = length; i < fraction; ++i) *out++ = '0';
  const size_t from = length > fraction ? length - fraction : 0;
  std::memcpy(out, digits + from, last - from);
  return out + (last - from);
}

std::string SampleTimes::Text(int64_t index, char decimal) const {
  char text[96];
  return std::string(text, Write(index, decimal, text));
}

}  // namespace wyk
