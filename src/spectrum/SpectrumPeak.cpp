#include "spectrum/SpectrumPeak.h"

#include <cmath>
#include <numbers>

#include "common/NumberText.h"

namespace wyk {
namespace {

// |transform| of a Hann window x of its own bins (rate / length) off the tone, 1 at 0: the
// window's continuous transform sinc(x) / (1 − x²), exact enough from 64 samples on.
double HannResponse(double x) {
  x = std::abs(x);
  if (x < 1e-9) return 1;
  if (std::abs(x - 1) < 1e-9) return 0.5;
  const double px = std::numbers::pi * x;
  return std::abs(std::sin(px) / px / (1 - x * x));
}

// The model above holds for the discrete window from this many samples on.
constexpr int kFewestPeakSamples = 64;
// A tone of fewer periods in the stretch lies within the main lobes of the removed mean and of
// its own mirror image at −f (two of the window's bins wide each), which pull the bins apart.
constexpr double kFewestPeakPeriods = 3;

}  // namespace

std::optional<SpectrumPeak> FindSpectrumPeak(const Scales& scales, const SpectrumState& spectrum) {
  const float* m = spectrum.spectrumMagnitudes.data();
  int k = 0;
  for (int i = 1; i < spectrum.fftSize / 2; ++i)
    if (m[i] > m[k] || k == 0) k = i;
  if (k == 0 || m[k] <= 0) return std::nullopt;

  // Frequency: the tone lies d bins from bin k towards its larger neighbour, where the ratio of
  // the two bins equals that of the Hann window's transform at those offsets. The transform is
  // zero-padded, so its bins are fftSampleCount / fftFullSize of the window's own bins.
  const double left = m[k - 1];
  const double right = k + 1 < spectrum.fftFullSize ? m[k + 1] : 0.0;
  const double ratio = std::max(left, right) / m[k];
  const double scale = static_cast<double>(spectrum.fftSampleCount) / spectrum.fftFullSize;
  const auto ratioAt = [scale](double d) {
    return HannResponse((1 - d) * scale) / HannResponse(d * scale);
  };
  double low = 0, high = 0.5;  // the ratio grows from low to high
  if (ratioAt(low) >= ratio) high = low;
  for (int i = 0; i < 60 && high - low > 1e-12; ++i) {
    const double mid = (low + high) / 2;
    (ratioAt(mid) < ratio ? low : high) = mid;
  }
  const double d = (low + high) / 2;

  SpectrumPeak peak;
  peak.bin = k + (right >= left ? d : -d);
  if (spectrum.fftSampleCount < kFewestPeakSamples || peak.bin * scale < kFewestPeakPeriods)
    return SpectrumPeak{.tooFewSamples = true};
  peak.frequencyHz =
      peak.bin * 1000.0 / static_cast<double>(spectrum.samplesPeriodMs) / spectrum.fftFullSize;
  // Amplitude: the bin's loss at offset d undone, then the window's mean (1/2) and the split
  // between positive and negative frequencies (1/2); a sample step is 1/25 of a division, as
  // the cursors read it.
  const double samples = 4 * m[k] / HannResponse(d * scale);
  peak.amplitude = samples * static_cast<double>(scales.voltsPerDiv) * 0.04;
  return peak;
}

std::string PeakText(const Scales& scales, const SpectrumPeak& peak) {
  if (peak.tooFewSamples) return "Szczyt: za mało próbek";
  return "Szczyt: " + NumberText(peak.frequencyHz, 6) + "Hz, amplituda " +
         NumberText(peak.amplitude, 4) + scales.voltsUnit;
}

}  // namespace wyk
