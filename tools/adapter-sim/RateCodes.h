#pragma once
// The adapter's sampling-rate codes: byte 1 of the settings frame.

#include <cstdint>

namespace sim {

// 100..105 → 0.2, 0.5, 1, 2, 5, 10 ms, in microseconds; 0 for any other code.
constexpr int SamplePeriodMicroseconds(uint8_t rateCode) {
  constexpr int kPeriods[] = {200, 500, 1000, 2000, 5000, 10000};
  return rateCode >= 100 && rateCode <= 105 ? kPeriods[rateCode - 100] : 0;
}

}  // namespace sim
