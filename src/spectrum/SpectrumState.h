#pragma once
// The spectrum window's samples, the engine's work arrays and the spectrum on show. About 28 MiB:
// keep it on the heap.

#include <array>
#include <cstdint>

#include "view/Canvas.h"

namespace wyk {

constexpr int kMaxFftSize = 1048576;
constexpr int kSpectrumWidth = 512;

struct SpectrumState {
  int32_t fftSampleCount = kMaxFftSize;
  int32_t fftSize = kMaxFftSize;
  std::array<float, kMaxFftSize> fftInput{};
  std::array<float, kMaxFftSize> fftReversedRe{};
  std::array<float, kMaxFftSize> fftReversedIm{};
  // fftReversedIm[0 … this) is zero: it starts so, and nothing else writes it.
  int32_t fftReversedImCleared = kMaxFftSize;
  std::array<float, kMaxFftSize> fftRe{};
  std::array<float, kMaxFftSize> fftIm{};
  int32_t fftFullSize = 0;
  float fftSamplePeriodMs = 0.5f;  // samplePeriodMs at program start
  float samplesPeriodMs = 0.5f;    // the sampling period of the recording the samples came from
  float spectrumMax = 0;
  int64_t spectrumFirst = 0;  // sample of the recording at spectrumSamples[0]
  Canvas spectrumBitmap;
  std::array<uint8_t, kMaxFftSize> spectrumFileBytes{};
  std::array<float, kMaxFftSize> spectrumSamples{};
  std::array<float, kMaxFftSize> spectrumMagnitudes{};
};

}  // namespace wyk
