#include "spectrum/FftEngine.h"

#include <immintrin.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

// A float sum, difference, product or quotient computed in double and rounded once to float is
// the float operation itself (the double result is exact or rounds innocuously), so the code
// below uses float arithmetic wherever the rounding point follows a single operation, and double
// wherever several operations precede it.

namespace wyk {
namespace {

constexpr int kMaxBits = 20;
// Stages up to this length run block by block while the block stays in the first cache levels.
constexpr int kBlockBits = 12;
// Columns of the later stages handled at once in the scratch buffer.
constexpr int kColumns = 32;

// Numbers derived once and kept: they never change a result, only spare recomputing it.
struct Tables {
  // Twiddles of the stage of length 2·half at [half + j], j < half. θ(j, len) and θ(2j, 2len)
  // are the same double, so the longest stage's factors serve every shorter one.
  std::vector<float> cosine, sine;
  // The Hann weights of the last sample count.
  std::vector<double> window;
  int windowCount = -1;
  std::vector<float> scratchRe, scratchIm;
  bool avx2 = false;

  Tables()
      : cosine(std::size_t{1} << kMaxBits),
        sine(std::size_t{1} << kMaxBits),
        window(std::size_t{1} << kMaxBits),
        scratchRe((std::size_t{1} << (kMaxBits - kBlockBits)) * kColumns),
        scratchIm(scratchRe.size()) {
    const int top = 1 << (kMaxBits - 1);
    for (int j = 0; j < top; ++j) {
      const float theta = static_cast<float>(-kFftTwoPi * j / (2.0 * top));
      cosine[static_cast<std::size_t>(top + j)] =
          static_cast<float>(std::cos(static_cast<double>(theta)));
      sine[static_cast<std::size_t>(top + j)] =
          static_cast<float>(std::sin(static_cast<double>(theta)));
    }
    for (int half = top / 2; half >= 1; half /= 2) {
      const int stride = top / half;
      for (int j = 0; j < half; ++j) {
        cosine[static_cast<std::size_t>(half + j)] =
            cosine[static_cast<std::size_t>(top + j * stride)];
        sine[static_cast<std::size_t>(half + j)] = sine[static_cast<std::size_t>(top + j * stride)];
      }
    }
    __builtin_cpu_init();
    avx2 = __builtin_cpu_supports("avx2");
  }
};

Tables& SharedTables() {
  static Tables tables;
  return tables;
}

// count butterflies a ± W·b over parallel runs, W = c − i·s per element.
void ButterfliesScalar(float* __restrict aRe, float* __restrict aIm, float* __restrict bRe,
                       float* __restrict bIm, const float* __restrict c, const float* __restrict s,
                       int count) {
  for (int j = 0; j < count; ++j) {
    const float t1 = bRe[j] * c[j];
    const float t2 = bRe[j] * s[j];
    const float t3 = bIm[j] * c[j];
    const float t4 = bIm[j] * s[j];
    const double re = aRe[j];
    const double im = aIm[j];
    aRe[j] = static_cast<float>(re + t1 - t4);
    aIm[j] = static_cast<float>(im + t3 + t2);
    bRe[j] = static_cast<float>(re - t1 + t4);
    bIm[j] = static_cast<float>(im - t3 - t2);
  }
}

__attribute__((target("avx2"))) void ButterfliesAvx2(float* __restrict aRe, float* __restrict aIm,
                                                     float* __restrict bRe, float* __restrict bIm,
                                                     const float* __restrict c,
                                                     const float* __restrict s, int count) {
  int j = 0;
  for (; j + 8 <= count; j += 8) {
    const __m256 br = _mm256_loadu_ps(bRe + j);
    const __m256 bi = _mm256_loadu_ps(bIm + j);
    const __m256 cj = _mm256_loadu_ps(c + j);
    const __m256 sj = _mm256_loadu_ps(s + j);
    const __m256 t1 = _mm256_mul_ps(br, cj);
    const __m256 t2 = _mm256_mul_ps(br, sj);
    const __m256 t3 = _mm256_mul_ps(bi, cj);
    const __m256 t4 = _mm256_mul_ps(bi, sj);
    __m128 out[4][2];
    for (int h = 0; h < 2; ++h) {
      const __m256d re = _mm256_cvtps_pd(_mm_loadu_ps(aRe + j + 4 * h));
      const __m256d im = _mm256_cvtps_pd(_mm_loadu_ps(aIm + j + 4 * h));
      const __m256d d1 =
          _mm256_cvtps_pd(h ? _mm256_extractf128_ps(t1, 1) : _mm256_castps256_ps128(t1));
      const __m256d d2 =
          _mm256_cvtps_pd(h ? _mm256_extractf128_ps(t2, 1) : _mm256_castps256_ps128(t2));
      const __m256d d3 =
          _mm256_cvtps_pd(h ? _mm256_extractf128_ps(t3, 1) : _mm256_castps256_ps128(t3));
      const __m256d d4 =
          _mm256_cvtps_pd(h ? _mm256_extractf128_ps(t4, 1) : _mm256_castps256_ps128(t4));
      out[0][h] = _mm256_cvtpd_ps(_mm256_sub_pd(_mm256_add_pd(re, d1), d4));
      out[1][h] = _mm256_cvtpd_ps(_mm256_add_pd(_mm256_add_pd(im, d3), d2));
      out[2][h] = _mm256_cvtpd_ps(_mm256_add_pd(_mm256_sub_pd(re, d1), d4));
      out[3][h] = _mm256_cvtpd_ps(_mm256_sub_pd(_mm256_sub_pd(im, d3), d2));
    }
    _mm256_storeu_ps(aRe + j, _mm256_set_m128(out[0][1], out[0][0]));
    _mm256_storeu_ps(aIm + j, _mm256_set_m128(out[1][1], out[1][0]));
    _mm256_storeu_ps(bRe + j, _mm256_set_m128(out[2][1], out[2][0]));
    _mm256_storeu_ps(bIm + j, _mm256_set_m128(out[3][1], out[3][0]));
  }
  ButterfliesScalar(aRe + j, aIm + j, bRe + j, bIm + j, c + j, s + j, count - j);
}

void Butterflies(const Tables& tables, float* aRe, float* aIm, float* bRe, float* bIm,
                 const float* c, const float* s, int count) {
  if (tables.avx2 && count >= 8)
    ButterfliesAvx2(aRe, aIm, bRe, bIm, c, s, count);
  else
    ButterfliesScalar(aRe, aIm, bRe, bIm, c, s, count);
}

unsigned Reverse(unsigned k, int bits) {
  unsigned r = 0;
  for (int b = 0; b < bits; ++b) r |= ((k >> b) & 1u) << (bits - 1 - b);
  return r;
}

// out[reverse(k)] = in[k] over 2^bits elements, in 16 × 16 tiles so that every cache line read
// or written is used whole.
void BitReverse(const float* in, float* out, int bits) {
  constexpr int kTileBits = 4;
  const unsigned n = 1u << bits;
  if (bits < 2 * kTileBits) {
    for (unsigned k = 0; k < n; ++k) out[Reverse(k, bits)] = in[k];
    return;
  }
  constexpr unsigned kTile = 1u << kTileBits;
  unsigned tileReverse[kTile];
  for (unsigned t = 0; t < kTile; ++t) tileReverse[t] = Reverse(t, kTileBits);
  const int midBits = bits - 2 * kTileBits;
  const int highShift = bits - kTileBits;
  for (unsigned mid = 0; mid < (1u << midBits); ++mid) {
    const unsigned midReversed = Reverse(mid, midBits) << kTileBits;
    for (unsigned high = 0; high < kTile; ++high) {
      const float* from = in + (high << highShift) + (mid << kTileBits);
      float* to = out + midReversed + tileReverse[high];
      for (unsigned low = 0; low < kTile; ++low) to[tileReverse[low] << highShift] = from[low];
    }
  }
}

// The stages of length 4 … 2^kBlockBits one block after another, each block after its own
// stage of length 2.
void BlockStages(RecorderState& state, const Tables& tables, int n, int blockSize) {
  float* re = state.fftRe.data();
  float* im = state.fftIm.data();
  const float* reversed = state.fftReversedRe.data();
  for (int base = 0; base < n; base += blockSize) {
    for (int k = base; k < base + blockSize; k += 2) {
      re[k] = reversed[k] + reversed[k + 1];
      re[k + 1] = reversed[k] - reversed[k + 1];
    }
    for (int len = 4; len <= blockSize; len *= 2) {
      const int half = len / 2;
      for (int p = base; p < base + blockSize; p += len)
        Butterflies(tables, re + p, im + p, re + p + half, im + p + half, &tables.cosine[half],
                    &tables.sine[half], half);
    }
  }
}

// The stages longer than a block: element (row, column) is index row · blockSize + column, and
// these stages pair rows only, so a strip of columns is copied out, taken through all of them
// and copied back.
void RowStages(RecorderState& state, Tables& tables, int n, int blockSize) {
  float* re = state.fftRe.data();
  float* im = state.fftIm.data();
  const int rows = n / blockSize;
  float* sRe = tables.scratchRe.data();
  float* sIm = tables.scratchIm.data();
  for (int column = 0; column < blockSize; column += kColumns) {
    for (int r = 0; r < rows; ++r) {
      std::copy_n(re + r * blockSize + column, kColumns, sRe + r * kColumns);
      std::copy_n(im + r * blockSize + column, kColumns, sIm + r * kColumns);
    }
    for (int span = 1; span < rows; span *= 2) {
      const int half = span * blockSize;
      for (int r0 = 0; r0 < rows; r0 += 2 * span) {
        for (int dr = 0; dr < span; ++dr) {
          const int a = (r0 + dr) * kColumns;
          const int b = a + span * kColumns;
          const std::size_t twiddle = static_cast<std::size_t>(half + dr * blockSize + column);
          Butterflies(tables, sRe + a, sIm + a, sRe + b, sIm + b, &tables.cosine[twiddle],
                      &tables.sine[twiddle], kColumns);
        }
      }
    }
    for (int r = 0; r < rows; ++r) {
      std::copy_n(sRe + r * kColumns, kColumns, re + r * blockSize + column);
      std::copy_n(sIm + r * kColumns, kColumns, im + r * blockSize + column);
    }
  }
}

}  // namespace

int TransformSizeFor(int count) {
  int halvings = 0;
  for (int c = count; c > 1; c /= 2) ++halvings;
  return halvings + 1 >= kMaxBits ? kMaxFftSize : 1 << (halvings + 1);
}

void RemoveMean(RecorderState& state, const float* input) {
  const int count = state.fftSampleCount;
  float sum = 0;
  for (int i = 0; i < count; ++i) sum = input[i] + sum;
  const float mean = static_cast<float>(static_cast<double>(sum) / count);
  float* out = state.fftInput.data();
  for (int i = 0; i < count; ++i) out[i] = input[i] - mean;
}

void ApplyHannWindow(RecorderState& state) {
  const int count = state.fftSampleCount;
  Tables& tables = SharedTables();
  double* w = tables.window.data();
  if (tables.windowCount != count) {
    for (int i = 0; i < count; ++i) w[i] = 0.5 - 0.5 * std::cos(i * kFftTwoPi / count);
    tables.windowCount = count;
  }
  float* x = state.fftInput.data();
  for (int i = 0; i < count; ++i) x[i] = static_cast<float>(w[i] * x[i]);
  std::fill(x + count, x + state.fftSize, 0.0f);
  std::fill_n(state.fftReversedIm.data(), state.fftSize, 0.0f);
}

void Transform(RecorderState& state, const FftProgress& progress) {
  const int n = state.fftSize;
  int bits = 0;
  while ((1 << bits) < n) ++bits;
  Tables& tables = SharedTables();
  BitReverse(state.fftInput.data(), state.fftReversedRe.data(), bits);
  // The imaginary input is zero, and so is everything the stage of length 2 makes of it.
  std::fill_n(state.fftIm.data(), n, 0.0f);
  const int blockSize = std::min(n, 1 << kBlockBits);
  BlockStages(state, tables, n, blockSize);
  int stage = 0;
  for (int len = 4; len <= blockSize; len *= 2)
    if (progress) progress(stage++);
  if (n > blockSize) {
    RowStages(state, tables, n, blockSize);
    for (int len = 2 * blockSize; len <= n; len *= 2)
      if (progress) progress(stage++);
  }
}

void TakeMagnitudes(const RecorderState& state, float* output) {
  const float* re = state.fftRe.data();
  const float* im = state.fftIm.data();
  for (int k = 0; k < state.fftSize; ++k) {
    const double r = re[k];
    const double i = im[k];
    output[k] = static_cast<float>(std::sqrt(r * r + i * i));
  }
}

void Normalise(const RecorderState& state, float* output, float scale) {
  const double divisor = static_cast<double>(state.fftSampleCount) / scale;
  for (int k = 0; k < state.fftSize; ++k) output[k] = static_cast<float>(output[k] / divisor);
}

void ComputeAmplitudeSpectrum(RecorderState& state, const float* input, float* output, float scale,
                              const FftProgress& progress) {
  RemoveMean(state, input);
  ApplyHannWindow(state);
  Transform(state, progress);
  TakeMagnitudes(state, output);
  Normalise(state, output, scale);
}

}  // namespace wyk
