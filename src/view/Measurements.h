#pragma once
// The figures of a stretch of samples: minimum, maximum, mean, RMS, and the period and duty
// cycle of a repeating signal. Samples count as the levels the plot and the cursors read
// (bytes 251 … 255 as 250), so a minimum reads exactly as a cursor on that sample does.

#include <cstdint>
#include <optional>

#include "storage/SampleFile.h"
#include "storage/SampleStretch.h"

namespace wyk {

struct StretchFigures {
  int64_t count = 0;  // samples measured
  int32_t minLevel = 0;
  int32_t maxLevel = 0;
  uint64_t levelSum = 0;         // exact: at most 2^31 samples of 250
  uint64_t levelSquareSum = 0;   // exact: at most 2^31 × 62 500
  std::optional<double> period;  // in samples, when at least two whole periods are there
  std::optional<double> duty;    // 0 … 1, the share of the whole periods above the mean

  long double MeanLevel() const;
  long double RmsLevel() const;
  long double AcRmsLevel() const;  // about the mean
};

// The figures of `count` samples in memory.
StretchFigures MeasureSamples(const uint8_t* samples, int64_t count);

// The figures of the file's samples in `span`; `count` falls short when the file does.
StretchFigures MeasureStretch(const SampleFile& file, SampleSpan span);

}  // namespace wyk
