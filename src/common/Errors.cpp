#include "common/Errors.h"

#include <cmath>
#include <limits>

namespace wyk {

double CheckedDivide(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) throw AppError(kInvalidFloatOperation);
  if (b == 0) throw AppError(a == 0 ? kInvalidFloatOperation : kFloatDivisionByZero);
  const double result = a / b;
  if (std::isinf(result) && !std::isinf(a)) throw AppError(kFloatOverflow);
  return result;
}

long long CheckedDivide(long long a, long long b) {
  if (b == 0) throw AppError(kDivisionByZero);
  return a / b;
}

int CheckedTrunc(double value) {
  const double t = std::trunc(value);
  if (!(t >= std::numeric_limits<int>::min() && t <= std::numeric_limits<int>::max()))
    throw AppError(kInvalidFloatOperation);
  return static_cast<int>(t);
}

}  // namespace wyk
