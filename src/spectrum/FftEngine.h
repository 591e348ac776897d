#pragma once
// The amplitude spectrum of up to 2^20 real samples: mean removal, Hann window, zero padding,
// radix-2 decimation-in-time FFT, and the magnitude of every bin divided by the sample count.
//
// Every stored value is single precision and the points where a double result is rounded to
// single are fixed, so the output is the same bits however the loops are ordered or
// vectorised. The engine works in the state's fft* arrays and checks nothing: the caller sets
// 1 <= fftSampleCount <= fftSize <= 2^20, fftSize a power of two.

#include <functional>
#include "spectrum/SpectrumState.h"

namespace wyk {

// 2π as the engine uses it, for the window and the twiddle factors alike.
inline constexpr double kFftTwoPi = 6.283185308;

// Receives the index of every finished stage from the stage of length 4 on: 0 … log2 N − 2.
using FftProgress = std::function<void(int stage)>;

// The smallest power of two above count (2 for 0 and 1), at most 2^20.
int TransformSizeFor(int count);

// fftInput[0 … fftSampleCount − 1] = input less its mean.
void RemoveMean(SpectrumState& spectrum, const float* input);
// Weights fftInput by the Hann window of period fftSampleCount, pads it with zeros to fftSize
// and clears fftReversedIm.
void ApplyHannWindow(SpectrumState& spectrum);
// fftInput in bit-reversed order into fftReversedRe, then the transform into fftRe and fftIm.
void Transform(SpectrumState& spectrum, const FftProgress& progress = {});
// output[k] = |bin k| for k < fftSize.
void TakeMagnitudes(const SpectrumState& spectrum, float* output);
// output[k] /= fftSampleCount / scale for k < fftSize.
void Normalise(const SpectrumState& spectrum, float* output, float scale);

// Whether the transform may use the AVX2 loops (where the processor has them); both kinds give
// the same bits. On by default.
void UseVectorLoops(bool enabled);

// All five steps in order; output receives fftSize magnitudes.
void ComputeAmplitudeSpectrum(SpectrumState& spectrum, const float* input, float* output,
                              float scale, const FftProgress& progress = {});

}  // namespace wyk
