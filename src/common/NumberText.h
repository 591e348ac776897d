#pragma once

#include <string>

namespace wyk {

// The value rounded to `digits` significant digits, without exponent in the normal range,
// without trailing zeros, with a decimal comma ("0,2", "-50", "1000").
std::string NumberText(long double value, int digits);
inline std::string NumberText(double value, int digits) {
  return NumberText(static_cast<long double>(value), digits);
}

// Fifteen significant digits, as a plain float-to-text conversion gives.
inline std::string NumberText(double value) {
  return NumberText(value, 15);
}

}  // namespace wyk
