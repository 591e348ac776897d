#pragma once
// Errors that end the handler that raised them; the application shows their text.

#include <stdexcept>
#include <string>

namespace wyk {

class AppError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kFloatDivisionByZero = "Floating point division by zero";
inline constexpr const char* kInvalidFloatOperation = "Invalid floating point operation";
inline constexpr const char* kFloatOverflow = "Floating point overflow";
inline constexpr const char* kDivisionByZero = "Division by zero";

// Floating-point a / b, raising the arithmetic error instead of producing inf or NaN.
double CheckedDivide(double a, double b);

// Integer a / b (toward zero), raising "Division by zero".
long long CheckedDivide(long long a, long long b);

// Conversion to a 32-bit integer toward zero, raising "Invalid floating point operation"
// for NaN and values out of range.
int CheckedTrunc(double value);

}  // namespace wyk
