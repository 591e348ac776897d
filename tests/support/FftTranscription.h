#pragma once
// The amplitude spectrum written out step by step the slow, plain way: a twiddle computed for
// every butterfly, one stage after another, every double intermediate rounded to float where it
// is stored. The engine must give the same bits. Build with -ffp-contract=off.

#include <cmath>
#include <vector>

#include "app/RecorderState.h"

namespace wyk::testing {

inline void TranscribedSpectrum(RecorderState& st, const float* input, float* output, float scale,
                                std::vector<int>* progress = nullptr) {
  const int count = st.spectrum.fftSampleCount;
  const int n = st.spectrum.fftSize;
  const double twoPi = 6.283185308;

  // Mean removal.
  float sum = 0;
  for (int i = 0; i < count; ++i) sum = static_cast<float>(static_cast<double>(input[i]) + sum);
  const float mean = static_cast<float>(static_cast<double>(sum) / count);
  for (int i = 0; i < count; ++i)
    st.spectrum.fftInput[i] = static_cast<float>(static_cast<double>(input[i]) - mean);

  // Hann window, padding.
  for (int i = 0; i < count; ++i) {
    const double argument = static_cast<double>(i) * twoPi / static_cast<double>(count);
    const double w = 0.5 - 0.5 * std::cos(argument);
    st.spectrum.fftInput[i] = static_cast<float>(w * static_cast<double>(st.spectrum.fftInput[i]));
  }
  for (int i = count; i < n; ++i) st.spectrum.fftInput[i] = 0;
  for (int i = 0; i < n; ++i) st.spectrum.fftReversedIm[i] = 0;

  // Bit reversal.
  int bits = 0;
  for (int size = 1; size < n; size *= 2) ++bits;
  for (int k = 0; k < n; ++k) {
    int r = 0;
    for (int b = 0; b < bits; ++b)
      if (k & (1 << b)) r |= 1 << (bits - 1 - b);
    st.spectrum.fftReversedRe[r] = st.spectrum.fftInput[k];
  }

  // Stage of length 2.
  for (int k = 0; k + 1 < n; k += 2) {
    const double a = st.spectrum.fftReversedRe[k], b = st.spectrum.fftReversedRe[k + 1];
    st.spectrum.fftRe[k] = static_cast<float>(a + b);
    st.spectrum.fftRe[k + 1] = static_cast<float>(a - b);
    const double ai = st.spectrum.fftReversedIm[k], bi = st.spectrum.fftReversedIm[k + 1];
    st.spectrum.fftIm[k] = static_cast<float>(ai + bi);
    st.spectrum.fftIm[k + 1] = static_cast<float>(ai - bi);
  }
  for (int k = 0; k < n; ++k) st.spectrum.fftIm[k] = 0;

  // Stages of length 4 … N.
  int stage = 0;
  for (int len = 4; len <= n; len *= 2, ++stage) {
    const int half = len / 2;
    for (int g = 0; g < n / len; ++g) {
      for (int j = 0; j < half; ++j) {
        const int p = g * len + j, q = p + half;
        const float theta = static_cast<float>(-twoPi * j / len);
        const float c = static_cast<float>(std::cos(static_cast<double>(theta)));
        const float s = static_cast<float>(std::sin(static_cast<double>(theta)));
        const double bre = st.spectrum.fftRe[q], bim = st.spectrum.fftIm[q];
        const double t1 = static_cast<float>(bre * c), t2 = static_cast<float>(bre * s);
        const double t3 = static_cast<float>(bim * c), t4 = static_cast<float>(bim * s);
        const double are = st.spectrum.fftRe[p], aim = st.spectrum.fftIm[p];
        st.spectrum.fftRe[p] = static_cast<float>(are + t1 - t4);
        st.spectrum.fftIm[p] = static_cast<float>(aim + t3 + t2);
        st.spectrum.fftRe[q] = static_cast<float>(are - t1 + t4);
        st.spectrum.fftIm[q] = static_cast<float>(aim - t3 - t2);
      }
    }
    if (progress) progress->push_back(stage);
  }

  // Magnitudes, normalised.
  for (int k = 0; k < n; ++k) {
    const double re = st.spectrum.fftRe[k], im = st.spectrum.fftIm[k];
    output[k] = static_cast<float>(std::sqrt(re * re + im * im));
  }
  for (int k = 0; k < n; ++k)
    output[k] = static_cast<float>(static_cast<double>(output[k]) /
                                   (static_cast<double>(count) / static_cast<double>(scale)));
}

}  // namespace wyk::testing
