#include "spectrum/FftEngine.h"

#include <immintrin.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>
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
constexpr int kColumns = 16;
// From this sample count on a new Hann window is made by two threads.
constexpr int kParallelWindow = 1 << 16;

// A float cosine and sine of every angle t = θ(j) of the longest stage, as the engine rounds
// the C library's double results, without a library call for most of them. The angles are taken
// in runs of kRunLength: the first angle t0 of a run gets the library's own sincos, every other
// one cos(t0 + d) and sin(t0 + d) with short Taylor series for the small, exactly computed d.
// That approximation is within 1e-15 of the true value, and so is the library's result: where
// both ends of a kRoundingMargin interval round to one float, the library's result rounds to it
// too; elsewhere (a value next to a rounding boundary, or near zero) the library is asked.
constexpr int kRunLength = 512;
constexpr double kRoundingMargin = 0x1p-40;

// cos(t0 + d) and sin(t0 + d) from c0 = cos t0, s0 = sin t0 and short Taylor series of cos d
// and sin d, for |d| below 2^-9.
inline double CosOfSmall(double d) {
  const double d2 = d * d;
  return 1 - d2 * (0.5 - d2 * (1.0 / 24 - d2 * (1.0 / 720)));
}
inline double SinOfSmall(double d) {
  const double d2 = d * d;
  return d * (1 - d2 * (1.0 / 6 - d2 * (1.0 / 120 - d2 * (1.0 / 5040))));
}
inline double CosAfter(double c0, double s0, double d) {
  return c0 * CosOfSmall(d) - s0 * SinOfSmall(d);
}
inline double SinAfter(double c0, double s0, double d) {
  return s0 * CosOfSmall(d) + c0 * SinOfSmall(d);
}

void AngleTwiddles(int top, float* cosine, float* sine) {
  const auto angle = [top](int j) {
    return static_cast<double>(static_cast<float>(-kFftTwoPi * j / (2.0 * top)));
  };
  double c[kRunLength], s[kRunLength];
  for (int first = 0; first < top; first += kRunLength) {
    const int count = std::min(top - first, kRunLength);
    const double t0 = angle(first);
    double s0, c0;
    sincos(t0, &s0, &c0);
    for (int i = 0; i < count; ++i) {
      const double d = angle(first + i) - t0;  // exact: t0 is 0, or both are floats above 2^-9
      c[i] = CosAfter(c0, s0, d);
      s[i] = SinAfter(c0, s0, d);
    }
    for (int i = 0; i < count; ++i) {
      cosine[first + i] = static_cast<float>(c[i]);
      sine[first + i] = static_cast<float>(s[i]);
    }
    int unsafe = 0;
    for (int i = 0; i < count; ++i)
      unsafe |= (static_cast<float>(c[i] - kRoundingMargin) !=
                 static_cast<float>(c[i] + kRoundingMargin)) |
                (static_cast<float>(s[i] - kRoundingMargin) !=
                 static_cast<float>(s[i] + kRoundingMargin));
    if (unsafe == 0) continue;
    for (int i = 0; i < count; ++i) {
      if (static_cast<float>(c[i] - kRoundingMargin) ==
              static_cast<float>(c[i] + kRoundingMargin) &&
          static_cast<float>(s[i] - kRoundingMargin) == static_cast<float>(s[i] + kRoundingMargin))
        continue;
      double sj, cj;
      sincos(angle(first + i), &sj, &cj);
      cosine[first + i] = static_cast<float>(cj);
      sine[first + i] = static_cast<float>(sj);
    }
  }
}

// The Hann window, made the same way: weights from short series beside one sincos a run, kept
// as they are, and applied with a check. A kept weight is within 3e-15 of the one the library's
// cos gives (d is a few units in the last place of the argument off, the series and the run's
// sincos are closer still), so w · x is within 4e-15 · |x| of that weight's product: where the
// kWindowMargin · |x| interval around it, fifty times wider, rounds to one float, so does the
// library weight's product; any other sample (next to a rounding boundary, or where the weight
// is tiny) is weighed with the library's cos itself.
constexpr double kWindowMargin = 0x1p-42;

double HannArgument(int i, int count) {
  return i * kFftTwoPi / count;
}

void MakeWeights(double* w, int count, int from, int to) {
  const double step = kFftTwoPi / count;
  // Runs short enough that |d| stays below 2^-9.
  const int run = std::max(1, static_cast<int>(0x1p-9 / step));
  for (int first = from; first < to; first += run) {
    const int end = std::min(to, first + run);
    double s0, c0;
    sincos(HannArgument(first, count), &s0, &c0);
    for (int i = first; i < end; ++i) {
      const double d = (i - first) * step;
      w[i] = std::max(0.0, 0.5 - 0.5 * CosAfter(c0, s0, d));
    }
  }
}

// x[first … first + n) = in[first … first + n) less mean, weighed with the kept weights and
// checked as above; n <= 256.
[[gnu::always_inline]] inline void WeighBlock(const double* w, const float* in, float mean,
                                              float* x, int count, int first, int n) {
  constexpr int kBlock = 256;
  float v[kBlock], weighed[kBlock];
  for (int k = 0; k < n; ++k) v[k] = in[first + k] - mean;
  const auto rounds = [](double p, double m) {
    return std::bit_cast<uint32_t>(static_cast<float>(p - m)) ==
           std::bit_cast<uint32_t>(static_cast<float>(p + m));
  };
  int unsafe = 0;
  for (int k = 0; k < n; ++k) {
    const double p = w[first + k] * v[k];
    weighed[k] = static_cast<float>(p);
    unsafe |= !rounds(p, std::fabs(static_cast<double>(v[k])) * kWindowMargin);
  }
  if (unsafe != 0)
    for (int k = 0; k < n; ++k) {
      if (rounds(w[first + k] * v[k], std::fabs(static_cast<double>(v[k])) * kWindowMargin))
        continue;
      const double weight = 0.5 - 0.5 * std::cos(HannArgument(first + k, count));
      weighed[k] = static_cast<float>(weight * v[k]);
    }
  std::copy_n(weighed, n, x + first);
}

void ApplyWeightsPlain(const double* w, const float* in, float mean, float* x, int count, int from,
                       int to) {
  for (int first = from; first < to; first += 256)
    WeighBlock(w, in, mean, x, count, first, std::min(to - first, 256));
}

// The same loop, vectorised four doubles wide.
__attribute__((target("avx2"))) void ApplyWeightsAvx2(const double* w, const float* in, float mean,
                                                      float* x, int count, int from, int to) {
  for (int first = from; first < to; first += 256)
    WeighBlock(w, in, mean, x, count, first, std::min(to - first, 256));
}

// Numbers derived once and kept: they never change a result, only spare recomputing it. The
// large arrays are left uninitialised, as every element is written before it is read.
struct Tables {
  // Twiddles of the stage of length 2·half at [half + j], j < half. θ(j, len) and θ(2j, 2len)
  // are the same double, so each stage's factors are every other one of the next longer stage.
  std::unique_ptr<float[]> cosine, sine;
  // The Hann weights of the last sample count, as MakeWeights makes them.
  std::unique_ptr<double[]> window;
  int windowCount = -1;
  std::vector<float> scratchRe, scratchIm;
  bool avx2 = false;  // the processor has it and it is not switched off
  // The first call needs the window before the twiddles: they are built beside it, on a thread
  // of their own where one can be started.
  std::thread twiddleBuilder;

  Tables()
      : cosine(new float[std::size_t{1} << kMaxBits]),
        sine(new float[std::size_t{1} << kMaxBits]),
        window(new double[std::size_t{1} << kMaxBits]),
        scratchRe((std::size_t{1} << (kMaxBits - kBlockBits)) * kColumns),
        scratchIm(scratchRe.size()) {
    __builtin_cpu_init();
    avx2 = __builtin_cpu_supports("avx2");
    try {
      twiddleBuilder = std::thread([this] { BuildTwiddles(); });
    } catch (const std::system_error&) {
      BuildTwiddles();
    }
  }
  Tables(const Tables&) = delete;
  Tables& operator=(const Tables&) = delete;
  ~Tables() { WaitForTwiddles(); }

  void WaitForTwiddles() {
    if (twiddleBuilder.joinable()) twiddleBuilder.join();
  }

 private:
  void BuildTwiddles() {
    const int top = 1 << (kMaxBits - 1);
    AngleTwiddles(top, &cosine[static_cast<std::size_t>(top)],
                  &sine[static_cast<std::size_t>(top)]);
    for (int half = top / 2; half >= 1; half /= 2)
      for (int j = 0; j < half; ++j) {
        cosine[static_cast<std::size_t>(half + j)] =
            cosine[static_cast<std::size_t>(2 * (half + j))];
        sine[static_cast<std::size_t>(half + j)] = sine[static_cast<std::size_t>(2 * (half + j))];
      }
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

// The loops of one stage, for any processor.
struct PlainStages {
  // The stage of length 2 over reversed[from … to − 1] into re.
  static void Pairs(float* re, const float* reversed, int from, int to) {
    for (int k = from; k < to; k += 2) {
      re[k] = reversed[k] + reversed[k + 1];
      re[k + 1] = reversed[k] - reversed[k + 1];
    }
  }
  // The groups of length len in from … to − 1; c and s are the stage's twiddles.
  static void Groups(float* re, float* im, int from, int to, int len, const float* c,
                     const float* s) {
    const int half = len / 2;
    for (int p = from; p < to; p += len)
      ButterfliesScalar(re + p, im + p, re + p + half, im + p + half, c, s, half);
  }
  // Rows r and r + span of a strip of kColumns, for every r whose bit `span` is clear; row dr
  // of a group takes its twiddles dr · rowStride further on, so dr runs outermost.
  static void Rows(float* re, float* im, int rows, int span, const float* c, const float* s,
                   int rowStride) {
    for (int dr = 0; dr < span; ++dr)
      for (int r0 = 0; r0 < rows; r0 += 2 * span) {
        const int a = (r0 + dr) * kColumns, b = a + span * kColumns;
        ButterfliesScalar(re + a, im + a, re + b, im + b, c + dr * rowStride, s + dr * rowStride,
                          kColumns);
      }
  }
};

// AVX2 code for the processors that have it, chosen at run time (GCC and clang alike).
#define WYK_AVX2 __attribute__((target("avx2")))

// The same loops four butterflies at a time: the products in single precision, the sums of
// each output in double, as in ButterfliesScalar.
struct Avx2Stages {
  struct Quad {
    __m128 aRe, aIm, bRe, bIm;
  };

  WYK_AVX2 static inline Quad Butterflies(const Quad& x, __m128 c, __m128 s) {
    const __m256d t1 = _mm256_cvtps_pd(_mm_mul_ps(x.bRe, c));
    const __m256d t2 = _mm256_cvtps_pd(_mm_mul_ps(x.bRe, s));
    const __m256d t3 = _mm256_cvtps_pd(_mm_mul_ps(x.bIm, c));
    const __m256d t4 = _mm256_cvtps_pd(_mm_mul_ps(x.bIm, s));
    const __m256d re = _mm256_cvtps_pd(x.aRe);
    const __m256d im = _mm256_cvtps_pd(x.aIm);
    return {_mm256_cvtpd_ps(_mm256_sub_pd(_mm256_add_pd(re, t1), t4)),
            _mm256_cvtpd_ps(_mm256_add_pd(_mm256_add_pd(im, t3), t2)),
            _mm256_cvtpd_ps(_mm256_add_pd(_mm256_sub_pd(re, t1), t4)),
            _mm256_cvtpd_ps(_mm256_sub_pd(_mm256_sub_pd(im, t3), t2))};
  }

  WYK_AVX2 static inline void Run(float* aRe, float* aIm, float* bRe, float* bIm, const float* c,
                                  const float* s, int count) {
    for (int j = 0; j < count; j += 4) {
      const Quad y = Butterflies({_mm_loadu_ps(aRe + j), _mm_loadu_ps(aIm + j),
                                  _mm_loadu_ps(bRe + j), _mm_loadu_ps(bIm + j)},
                                 _mm_loadu_ps(c + j), _mm_loadu_ps(s + j));
      _mm_storeu_ps(aRe + j, y.aRe);
      _mm_storeu_ps(aIm + j, y.aIm);
      _mm_storeu_ps(bRe + j, y.bRe);
      _mm_storeu_ps(bIm + j, y.bIm);
    }
  }

  WYK_AVX2 static void Pairs(float* re, const float* reversed, int from, int to) {
    for (int k = from; k < to; k += 4) {
      const __m128 x = _mm_loadu_ps(reversed + k);
      const __m128 a = _mm_shuffle_ps(x, x, _MM_SHUFFLE(2, 2, 0, 0));
      const __m128 b = _mm_shuffle_ps(x, x, _MM_SHUFFLE(3, 3, 1, 1));
      _mm_storeu_ps(re + k, _mm_blend_ps(_mm_add_ps(a, b), _mm_sub_ps(a, b), 0b1010));
    }
  }

  WYK_AVX2 static void Groups(float* re, float* im, int from, int to, int len, const float* c,
                              const float* s) {
    if (len == 4) {
      // Two groups per step: elements 0, 1, 4, 5 against 2, 3, 6, 7.
      const __m128 c4 = _mm_setr_ps(c[0], c[1], c[0], c[1]);
      const __m128 s4 = _mm_setr_ps(s[0], s[1], s[0], s[1]);
      for (int p = from; p < to; p += 8) {
        const __m128 r0 = _mm_loadu_ps(re + p), r1 = _mm_loadu_ps(re + p + 4);
        const __m128 i0 = _mm_loadu_ps(im + p), i1 = _mm_loadu_ps(im + p + 4);
        const Quad y = Butterflies({_mm_shuffle_ps(r0, r1, _MM_SHUFFLE(1, 0, 1, 0)),
                                    _mm_shuffle_ps(i0, i1, _MM_SHUFFLE(1, 0, 1, 0)),
                                    _mm_shuffle_ps(r0, r1, _MM_SHUFFLE(3, 2, 3, 2)),
                                    _mm_shuffle_ps(i0, i1, _MM_SHUFFLE(3, 2, 3, 2))},
                                   c4, s4);
        _mm_storeu_ps(re + p, _mm_shuffle_ps(y.aRe, y.bRe, _MM_SHUFFLE(1, 0, 1, 0)));
        _mm_storeu_ps(re + p + 4, _mm_shuffle_ps(y.aRe, y.bRe, _MM_SHUFFLE(3, 2, 3, 2)));
        _mm_storeu_ps(im + p, _mm_shuffle_ps(y.aIm, y.bIm, _MM_SHUFFLE(1, 0, 1, 0)));
        _mm_storeu_ps(im + p + 4, _mm_shuffle_ps(y.aIm, y.bIm, _MM_SHUFFLE(3, 2, 3, 2)));
      }
      return;
    }
    const int half = len / 2;
    for (int p = from; p < to; p += len)
      Run(re + p, im + p, re + p + half, im + p + half, c, s, half);
  }

  WYK_AVX2 static void Rows(float* re, float* im, int rows, int span, const float* c,
                            const float* s, int rowStride) {
    for (int dr = 0; dr < span; ++dr)
      for (int r0 = 0; r0 < rows; r0 += 2 * span) {
        const int a = (r0 + dr) * kColumns, b = a + span * kColumns;
        Run(re + a, im + a, re + b, im + b, c + dr * rowStride, s + dr * rowStride, kColumns);
      }
  }
};

#undef WYK_AVX2

unsigned Reverse(unsigned k, int bits) {
  unsigned r = 0;
  for (int b = 0; b < bits; ++b) r |= ((k >> b) & 1u) << (bits - 1 - b);
  return r;
}

// out[reverse(k)] = in[k] over 2^bits elements. In 16 × 16 tiles: sixteen rows of sixteen
// neighbours are read and written out as sixteen rows of sixteen neighbours, so every cache line
// is touched once, whole. Element t of output row j is element j of input row reverse(t): the
// tile is transposed four by four in registers.
void BitReverse(const float* in, float* out, int bits) {
  constexpr int kTileBits = 4;
  constexpr unsigned kTile = 1u << kTileBits;
  const unsigned n = 1u << bits;
  if (bits < 2 * kTileBits) {
    for (unsigned k = 0; k < n; ++k) out[Reverse(k, bits)] = in[k];
    return;
  }
  unsigned tileReverse[kTile];
  for (unsigned t = 0; t < kTile; ++t) tileReverse[t] = Reverse(t, kTileBits);
  const int midBits = bits - 2 * kTileBits;
  const int highShift = bits - kTileBits;
  const float* rows[kTile];
  float* outRows[kTile];
  for (unsigned mid = 0; mid < (1u << midBits); ++mid) {
    const float* from = in + (mid << kTileBits);
    float* to = out + (Reverse(mid, midBits) << kTileBits);
    for (unsigned t = 0; t < kTile; ++t) {
      rows[t] = from + (tileReverse[t] << highShift);
      outRows[t] = to + (tileReverse[t] << highShift);
    }
    for (unsigned t = 0; t < kTile; t += 4)
      for (unsigned j = 0; j < kTile; j += 4) {
        __m128 r0 = _mm_loadu_ps(rows[t] + j), r1 = _mm_loadu_ps(rows[t + 1] + j);
        __m128 r2 = _mm_loadu_ps(rows[t + 2] + j), r3 = _mm_loadu_ps(rows[t + 3] + j);
        _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
        _mm_storeu_ps(outRows[j] + t, r0);
        _mm_storeu_ps(outRows[j + 1] + t, r1);
        _mm_storeu_ps(outRows[j + 2] + t, r2);
        _mm_storeu_ps(outRows[j + 3] + t, r3);
      }
  }
}

// The stage of length 2 and those of length 4 … blockSize, one block after another.
template <class Stages>
void BlockStages(SpectrumState& spectrum, const Tables& tables, int n, int blockSize) {
  float* re = spectrum.fftRe.data();
  float* im = spectrum.fftIm.data();
  for (int base = 0; base < n; base += blockSize) {
    Stages::Pairs(re, spectrum.fftReversedRe.data(), base, base + blockSize);
    for (int len = 4; len <= blockSize; len *= 2)
      Stages::Groups(re, im, base, base + blockSize, len, &tables.cosine[len / 2],
                     &tables.sine[len / 2]);
  }
}

// The stages longer than a block: element (row, column) is index row · blockSize + column, and
// these stages pair rows only, so a strip of columns is copied out, taken through all of them
// and copied back.
template <class Stages>
void RowStages(SpectrumState& spectrum, Tables& tables, int n, int blockSize) {
  float* re = spectrum.fftRe.data();
  float* im = spectrum.fftIm.data();
  const int rows = n / blockSize;
  float* sRe = tables.scratchRe.data();
  float* sIm = tables.scratchIm.data();
  constexpr std::size_t kStrip = sizeof(float) * kColumns;
  for (int column = 0; column < blockSize; column += kColumns) {
    for (int r = 0; r < rows; ++r) {
      std::memcpy(sRe + r * kColumns, re + r * blockSize + column, kStrip);
      std::memcpy(sIm + r * kColumns, im + r * blockSize + column, kStrip);
    }
    for (int span = 1; span < rows; span *= 2) {
      const std::size_t twiddle = static_cast<std::size_t>(span * blockSize + column);
      Stages::Rows(sRe, sIm, rows, span, &tables.cosine[twiddle], &tables.sine[twiddle], blockSize);
    }
    for (int r = 0; r < rows; ++r) {
      std::memcpy(re + r * blockSize + column, sRe + r * kColumns, kStrip);
      std::memcpy(im + r * blockSize + column, sIm + r * kColumns, kStrip);
    }
  }
}

// The reciprocal of divisor where dividing by it and multiplying by the reciprocal give the same
// double for every magnitude: divisor a power of two far from the ends of the range, so that both
// products are exact. Zero otherwise.
double ExactReciprocal(double divisor) {
  int exponent = 0;
  if (!(divisor > 0) || std::frexp(divisor, &exponent) != 0.5 || exponent < -500 || exponent > 500)
    return 0;
  return std::ldexp(1.0, 1 - exponent);
}

// output[k] = |bin k| / divisor, rounded to float after the square root and after the quotient;
// by reciprocal where it is not zero.
void NormalisedMagnitudesPlain(const float* re, const float* im, float* output, int n,
                               double divisor, double reciprocal) {
  const auto magnitude = [re, im](int k) {
    const double r = re[k];
    const double i = im[k];
    return static_cast<double>(static_cast<float>(std::sqrt(r * r + i * i)));
  };
  if (reciprocal != 0)
    for (int k = 0; k < n; ++k) output[k] = static_cast<float>(magnitude(k) * reciprocal);
  else
    for (int k = 0; k < n; ++k) output[k] = static_cast<float>(magnitude(k) / divisor);
}

// The same four doubles wide: square root and quotient are correctly rounded in either width.
__attribute__((target("avx2"), always_inline)) inline __m256d FourMagnitudes(const float* re,
                                                                             const float* im) {
  const __m256d r = _mm256_cvtps_pd(_mm_loadu_ps(re));
  const __m256d i = _mm256_cvtps_pd(_mm_loadu_ps(im));
  return _mm256_cvtps_pd(
      _mm256_cvtpd_ps(_mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(r, r), _mm256_mul_pd(i, i)))));
}

__attribute__((target("avx2"))) void NormalisedMagnitudesAvx2(const float* re, const float* im,
                                                              float* output, int n, double divisor,
                                                              double reciprocal) {
  const int whole = n / 4 * 4;
  if (reciprocal != 0) {
    const __m256d f = _mm256_set1_pd(reciprocal);
    for (int k = 0; k < whole; k += 4)
      _mm_storeu_ps(output + k, _mm256_cvtpd_ps(_mm256_mul_pd(FourMagnitudes(re + k, im + k), f)));
  } else {
    const __m256d d = _mm256_set1_pd(divisor);
    for (int k = 0; k < whole; k += 4)
      _mm_storeu_ps(output + k, _mm256_cvtpd_ps(_mm256_div_pd(FourMagnitudes(re + k, im + k), d)));
  }
  // The compiler leaves the upper halves set before this call, which would slow every SSE
  // instruction after it (the library's, the caller's): cleared here.
  _mm256_zeroupper();
  NormalisedMagnitudesPlain(re + whole, im + whole, output + whole, n - whole, divisor, reciprocal);
}

// The sequential sum of input[0 … count), divided once.
float MeanOf(const float* input, int count) {
  float sum = 0;
  for (int i = 0; i < count; ++i) sum = input[i] + sum;
  return static_cast<float>(static_cast<double>(sum) / count);
}

// RemoveMean and ApplyHannWindow in one pass over the samples: each block of 256 is taken less
// the mean, weighed and written to fftInput while it stays in the first cache level.
void WeighLessMean(SpectrumState& spectrum, const float* in, float mean) {
  const int count = spectrum.fftSampleCount;
  Tables& tables = SharedTables();
  double* w = tables.window.get();
  float* x = spectrum.fftInput.data();
  if (tables.windowCount != count) {
    // A new count: its weights are made and applied half by half, the upper half on a second
    // thread where the count is large and one can be started.
    const auto weigh = [w, in, mean, x, count, avx2 = tables.avx2](int from, int to) {
      MakeWeights(w, count, from, to);
      (avx2 ? ApplyWeightsAvx2 : ApplyWeightsPlain)(w, in, mean, x, count, from, to);
    };
    const int split = count >= kParallelWindow ? count / 2 : count;
    std::thread upper;
    try {
      if (split < count) upper = std::thread(weigh, split, count);
    } catch (const std::system_error&) {
      // No thread to be had: this one weighs both halves.
    }
    weigh(0, split);
    if (upper.joinable())
      upper.join();
    else
      weigh(split, count);
    tables.windowCount = count;
  } else {
    (tables.avx2 ? ApplyWeightsAvx2 : ApplyWeightsPlain)(w, in, mean, x, count, 0, count);
  }
  std::fill(x + count, x + spectrum.fftSize, 0.0f);
  if (spectrum.fftReversedImCleared < spectrum.fftSize) {
    std::fill_n(spectrum.fftReversedIm.data(), spectrum.fftSize, 0.0f);
    spectrum.fftReversedImCleared = spectrum.fftSize;
  }
}

}  // namespace

void UseVectorLoops(bool enabled) {
  SharedTables().avx2 = enabled && __builtin_cpu_supports("avx2");
}

int TransformSizeFor(int count) {
  int halvings = 0;
  for (int c = count; c > 1; c /= 2) ++halvings;
  return halvings + 1 >= kMaxBits ? kMaxFftSize : 1 << (halvings + 1);
}

void RemoveMean(SpectrumState& spectrum, const float* input) {
  const int count = spectrum.fftSampleCount;
  const float mean = MeanOf(input, count);
  float* out = spectrum.fftInput.data();
  for (int i = 0; i < count; ++i) out[i] = input[i] - mean;
}

void ApplyHannWindow(SpectrumState& spectrum) {
  // x − 0 is x.
  WeighLessMean(spectrum, spectrum.fftInput.data(), 0.0f);
}

void Transform(SpectrumState& spectrum, const FftProgress& progress) {
  const int n = spectrum.fftSize;
  int bits = 0;
  while ((1 << bits) < n) ++bits;
  Tables& tables = SharedTables();
  tables.WaitForTwiddles();
  BitReverse(spectrum.fftInput.data(), spectrum.fftReversedRe.data(), bits);
  // The imaginary input is zero, and so is everything the stage of length 2 makes of it.
  std::fill_n(spectrum.fftIm.data(), n, 0.0f);
  const int blockSize = std::min(n, 1 << kBlockBits);
  if (tables.avx2 && blockSize >= 8)
    BlockStages<Avx2Stages>(spectrum, tables, n, blockSize);
  else
    BlockStages<PlainStages>(spectrum, tables, n, blockSize);
  int stage = 0;
  for (int len = 4; len <= blockSize; len *= 2)
    if (progress) progress(stage++);
  if (n > blockSize) {
    if (tables.avx2)
      RowStages<Avx2Stages>(spectrum, tables, n, blockSize);
    else
      RowStages<PlainStages>(spectrum, tables, n, blockSize);
    for (int len = 2 * blockSize; len <= n; len *= 2)
      if (progress) progress(stage++);
  }
}

void TakeMagnitudes(const SpectrumState& spectrum, float* output) {
  const float* re = spectrum.fftRe.data();
  const float* im = spectrum.fftIm.data();
  for (int k = 0; k < spectrum.fftSize; ++k) {
    const double r = re[k];
    const double i = im[k];
    output[k] = static_cast<float>(std::sqrt(r * r + i * i));
  }
}

void Normalise(const SpectrumState& spectrum, float* output, float scale) {
  const double divisor = static_cast<double>(spectrum.fftSampleCount) / scale;
  for (int k = 0; k < spectrum.fftSize; ++k) output[k] = static_cast<float>(output[k] / divisor);
}

void ComputeAmplitudeSpectrum(SpectrumState& spectrum, const float* input, float* output,
                              float scale, const FftProgress& progress) {
  SharedTables();  // the first call's twiddles are under way from here on
  WeighLessMean(spectrum, input, MeanOf(input, spectrum.fftSampleCount));
  Transform(spectrum, progress);
  // TakeMagnitudes and Normalise in one pass: the same roundings, half the memory traffic.
  const double divisor = static_cast<double>(spectrum.fftSampleCount) / scale;
  (SharedTables().avx2 ? NormalisedMagnitudesAvx2 : NormalisedMagnitudesPlain)(
      spectrum.fftRe.data(), spectrum.fftIm.data(), output, spectrum.fftSize, divisor,
      ExactReciprocal(divisor));
}

}  // namespace wyk
