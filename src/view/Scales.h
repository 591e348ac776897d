#pragma once
// The sampling period and volts per division chosen by the selector buttons (or read from an
// opened recording), the coupling and the time-axis mode.

#include <cstdint>
#include <string>

namespace wyk {

enum CouplingMode : uint8_t { kCouplingAc = 0, kCouplingGnd = 2, kCouplingDc = 128 };

struct Scales {
  int32_t samplePeriodIndex = 1;
  int32_t sampleDecimation = 1;
  float samplePeriodMs = 0.5f;
  float voltsPerDiv = 10.0f;
  std::string voltsUnit = "mV";
  uint8_t voltsPerDivIndex = 1;
  uint8_t rangeCode = 0;
  float softwareGain = 1.0f;
  uint8_t couplingMode = kCouplingAc;
  bool timeScaleAbsolute = false;
};

}  // namespace wyk
