#pragma once
// The strongest tone of the last spectrum: its frequency between the bins and the amplitude of
// the sine that gives it, in the recording's unit.

#include <optional>
#include <string>
#include "spectrum/SpectrumState.h"
#include "view/Scales.h"

namespace wyk {

struct SpectrumPeak {
  double bin = 0;  // in bins of the transform, between two of them
  double frequencyHz = 0;
  double amplitude = 0;        // peak value of the sine, in voltsUnit
  bool tooFewSamples = false;  // the stretch is too short for the figures above to hold
};

// The largest of the bins on show (1 … fftSize / 2 − 1), nothing when they are all 0.
std::optional<SpectrumPeak> FindSpectrumPeak(const Scales& scales, const SpectrumState& spectrum);

// "Szczyt: 50Hz, amplituda 2V", or "Szczyt: za mało próbek".
std::string PeakText(const Scales& scales, const SpectrumPeak& peak);

}  // namespace wyk
