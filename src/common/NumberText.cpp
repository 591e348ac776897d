#include "common/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace wyk {

std::string NumberText(long double value, int digits) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  if (digits < 1) digits = 1;
  if (digits > 17) digits = 17;

  // Eighteen digits of the value (a double widens exactly), then rounded half away from zero
  // to `digits`.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17Le", std::fabs(value));
  std::string all;
  const char* p = buffer;
  for (; *p != 'e'; ++p)
    if (*p != '.') all += *p;
  int exponent = std::atoi(p + 1);
  std::string mantissa = all.substr(0, static_cast<size_t>(digits));
  if (all[static_cast<size_t>(digits)] >= '5') {
    int i = digits - 1;
    for (; i >= 0 && mantissa[static_cast<size_t>(i)] == '9'; --i)
      mantissa[static_cast<size_t>(i)] = '0';
    if (i >= 0) {
      ++mantissa[static_cast<size_t>(i)];
    } else {
      mantissa.insert(mantissa.begin(), '1');
      mantissa.pop_back();
      ++exponent;
    }
  }
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

  std::string text = value < 0 ? "-" : "";
  if (exponent < digits && std::fabs(value) >= 0.00001L) {
    if (exponent >= 0) {
      const size_t whole = static_cast<size_t>(exponent) + 1;
      if (mantissa.size() <= whole) {
        text += mantissa + std::string(whole - mantissa.size(), '0');
      } else {
        text.append(mantissa, 0, whole).append(",").append(mantissa, whole);
      }
    } else {
      text.append("0,").append(static_cast<size_t>(-exponent - 1), '0').append(mantissa);
    }
    return text;
  }
  text += mantissa.substr(0, 1);
  if (mantissa.size() > 1) text.append(",").append(mantissa, 1);
  text += exponent < 0 ? "E-" : "E+";
  text += std::to_string(std::abs(exponent));
  return text;
}

}  // namespace wyk
