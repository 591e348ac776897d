#include "view/Measurements.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "view/CursorTexts.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace wyk {
namespace {

constexpr int64_t kChunkBytes = 1 << 20;
// Samples kept before a chunk, for finding where an edge crossed the mean.
constexpr int64_t kHistoryBytes = 1 << 16;
// Edges of each kind placed from the start of a stretch.
constexpr int64_t kPlacedFirst = 64;
// Samples on either side of a crossing that its line may take in.
constexpr int64_t kFitReach = 4096;

inline uint32_t Level(uint8_t sample) {
  return std::min<uint32_t>(sample, 250);
}

#if defined(__SSE2__) || defined(_M_X64)
// Runs of this many sixteens keep each 32-bit lane of the squares below 2^31 (4096 × 4 × 250²).
constexpr int64_t kVectorRun = 4096;

// Sixteen samples at a time: the byte minimum and maximum, and the sums of the levels and of
// their squares (levels fit 16 bits, so their squares come in pairs from one multiply-add).
int64_t AddVectors(const uint8_t* samples, int64_t count, uint8_t& lowest, uint8_t& highest,
                   uint64_t& sum, uint64_t& squares) {
  const __m128i zero = _mm_setzero_si128(), cap = _mm_set1_epi8(static_cast<char>(250));
  __m128i low = _mm_set1_epi8(static_cast<char>(lowest)),
          high = _mm_set1_epi8(static_cast<char>(highest));
  int64_t i = 0;
  while (i + 16 <= count) {
    const int64_t end = std::min(count - 15, i + 16 * kVectorRun);
    __m128i sums = zero, squareSums = zero;
    for (; i < end; i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + i));
      low = _mm_min_epu8(low, v);
      high = _mm_max_epu8(high, v);
      const __m128i level = _mm_min_epu8(v, cap);
      sums = _mm_add_epi64(sums, _mm_sad_epu8(level, zero));
      const __m128i a = _mm_unpacklo_epi8(level, zero), b = _mm_unpackhi_epi8(level, zero);
      squareSums =
          _mm_add_epi32(squareSums, _mm_add_epi32(_mm_madd_epi16(a, a), _mm_madd_epi16(b, b)));
    }
    alignas(16) uint64_t s[2];
    alignas(16) uint32_t q[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(s), sums);
    _mm_store_si128(reinterpret_cast<__m128i*>(q), squareSums);
    sum += s[0] + s[1];
    squares += uint64_t{q[0]} + q[1] + q[2] + q[3];
  }
  alignas(16) uint8_t l[16], h[16];
  _mm_store_si128(reinterpret_cast<__m128i*>(l), low);
  _mm_store_si128(reinterpret_cast<__m128i*>(h), high);
  lowest = *std::min_element(l, l + 16);
  highest = *std::max_element(h, h + 16);
  return i;
}
#endif

void AddSamples(const uint8_t* samples, int64_t count, StretchFigures& figures) {
  if (count <= 0) return;
  uint8_t lowest = static_cast<uint8_t>(figures.count > 0 ? figures.minLevel : 255);
  uint8_t highest = static_cast<uint8_t>(figures.maxLevel);
  int64_t i = 0;
#if defined(__SSE2__) || defined(_M_X64)
  i = AddVectors(samples, count, lowest, highest, figures.levelSum, figures.levelSquareSum);
#endif
  for (; i < count; ++i) {
    const uint32_t level = Level(samples[i]);
    figures.levelSum += level;
    figures.levelSquareSum += level * level;
    lowest = std::min(lowest, samples[i]);
    highest = std::max(highest, samples[i]);
  }
  figures.count += count;
  figures.minLevel = static_cast<int32_t>(Level(lowest));
  figures.maxLevel = static_cast<int32_t>(Level(highest));
}

// The first of samples i … n − 1 at or above `level` (at or below when `below`); n when none.
// Sixteen at a time where the processor has SSE2.
int64_t FindLevel(const uint8_t* data, int64_t i, int64_t n, uint8_t level, bool below) {
#if defined(__SSE2__) || defined(_M_X64)
  const __m128i bound = _mm_set1_epi8(static_cast<char>(level));
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const __m128i side = below ? _mm_min_epu8(v, bound) : _mm_max_epu8(v, bound);
    const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(side, v));
    if (hits != 0) return i + std::countr_zero(static_cast<unsigned>(hits));
  }
#endif
  for (; i < n; ++i)
    if (below ? data[i] <= level : data[i] >= level) return i;
  return n;
}

// Samples of data[0] … data[n − 1] above `level` (below 250), sixteen at a time where the
// processor has SSE2.
int64_t CountAbove(const uint8_t* data, int64_t n, uint8_t level) {
  int64_t count = 0, i = 0;
#if defined(__SSE2__) || defined(_M_X64)
  const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi8(1);
  const __m128i bound = _mm_set1_epi8(static_cast<char>(level + 1));
  __m128i counts = zero;
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const __m128i above = _mm_cmpeq_epi8(_mm_max_epu8(v, bound), v);
    counts = _mm_add_epi64(counts, _mm_sad_epu8(_mm_and_si128(above, one), zero));
  }
  alignas(16) uint64_t c[2];
  _mm_store_si128(reinterpret_cast<__m128i*>(c), counts);
  count = static_cast<int64_t>(c[0] + c[1]);
#endif
  for (; i < n; ++i) count += data[i] > level;
  return count;
}

// A least-squares line through (k, t_k) for edges k = 0, 1, 2 …, of which some are only
// counted; its slope is the period. The sums are of times since the first edge, in long
// double, which holds a billion edges' sums of products to far better than a millionth.
class EdgeLine {
 public:
  void Add(double t) {
    if (fitted_ == 0) first_ = t;
    const long double k = static_cast<long double>(n_), dt = t - first_;
    sumK_ += k, sumKK_ += k * k, sumT_ += dt, sumKT_ += k * dt;
    ++fitted_, ++n_;
  }
  void Skip() { ++n_; }
  int64_t Count() const { return n_; }
  int64_t Fitted() const { return fitted_; }
  double Slope() const {
    const auto m = static_cast<long double>(fitted_);
    return static_cast<double>((m * sumKT_ - sumK_ * sumT_) / (m * sumKK_ - sumK_ * sumK_));
  }

 private:
  int64_t n_ = 0, fitted_ = 0;
  double first_ = 0;
  long double sumK_ = 0, sumKK_ = 0, sumT_ = 0, sumKT_ = 0;
};

// Edges are crossings of the mean. An edge counts only once the signal has gone on past the
// mean by the hysteresis (a tenth of the peak-to-peak, at least 2 levels, but no more than half
// the way to that side's extreme), so noise about the mean makes no extra edges. It is placed
// where the least-squares line through the samples about the crossing crosses the mean: those
// within 0.35 of the peak-to-peak of the mean, and again no more than half the way to the
// extreme, which for a sine is the steep part where the timing is and leaves out the flat base
// of a narrow pulse; the line averages the noise out (a step's two samples give plain
// interpolation). The period is
// the least-squares slope of the rising edges' times against their number, averaged with the
// falling edges'. Only the first edges and those of the stretch's last megabyte are placed
// (the others are counted): their slope is as good to far below a millionth, and placing an
// edge costs many times finding it. The duty cycle is the share of samples above the mean from the
// first rising edge to the last. Samples compare as bytes: the thresholds lie below 250, where
// bytes and levels order alike.
class EdgeFinder {
 public:
  explicit EdgeFinder(const StretchFigures& figures)
      : mean_(figures.MeanLevel()), placedFrom_(figures.count - kChunkBytes) {
    // A narrow pulse's base lies near the mean: each side's hysteresis and band stay within
    // half the way to that side's extreme, so that the base is still left and is not fitted.
    const long double tenth = (figures.maxLevel - figures.minLevel) / 10.0L;
    const long double below = (mean_ - figures.minLevel) / 2, over = (figures.maxLevel - mean_) / 2;
    above_ = static_cast<uint8_t>(std::floor(mean_));
    rise_ = static_cast<uint8_t>(std::min<long double>(
        std::ceil(mean_ + std::max(2.0L, std::min(tenth, over))), figures.maxLevel));
    fall_ = static_cast<uint8_t>(std::max<long double>(
        std::floor(mean_ - std::max(2.0L, std::min(tenth, below))), figures.minLevel));
    bandBelow_ = std::max(mean_ - fall_, std::min(3.5L * tenth, below));
    bandOver_ = std::max(rise_ - mean_, std::min(3.5L * tenth, over));
    usable_ = figures.maxLevel > figures.minLevel && rise_ > above_ && fall_ <= above_;
  }

  bool Usable() const { return usable_; }

  // `data` follows the samples fed before; data[-history] … data[-1] are the last of them.
  void Feed(const uint8_t* data, int64_t count, int64_t history) {
    if (!usable_ || count == 0) return;
    if (!started_) high_ = data[0] > above_, started_ = true;
    int64_t lastRise = -1;
    for (int64_t i = 0;; ++i) {
      i = FindLevel(data, i, count, high_ ? fall_ : rise_, high_);
      if (i >= count) break;
      if (!high_) lastRise = i;
      Edge(data, i, count, history);
    }
    // The samples above the mean are counted once a chunk, up to its last rising edge.
    const int64_t above = CountAbove(data, count, above_);
    if (lastRise >= 0) {
      const int64_t after = HighFrom(data, lastRise, history);
      lastAfter_ = base_ + after;
      lastHighs_ =
          aboveBefore_ + (after >= 0 ? above - CountAbove(data + after, count - after, above_)
                                     : AboveBefore(data, after));
    }
    aboveBefore_ += above;
    base_ += count;
  }

  void Finish(StretchFigures& figures) const {
    if (rising_.Count() < 3) return;
    double period = rising_.Slope();
    if (falling_.Count() >= 3) {
      const auto r = static_cast<double>(rising_.Count());
      const auto f = static_cast<double>(falling_.Count());
      period = (period * r + falling_.Slope() * f) / (r + f);
    }
    figures.period = period;
    figures.duty = static_cast<double>(lastHighs_ - firstHighs_) /
                   static_cast<double>(lastAfter_ - firstAfter_);
  }

 private:
  // Sample i has gone past the hysteresis: an edge.
  void Edge(const uint8_t* data, int64_t i, int64_t count, int64_t history) {
    const bool rising = !high_;
    high_ = rising;
    EdgeLine& line = rising ? rising_ : falling_;
    if (line.Count() >= kPlacedFirst && base_ + i < placedFrom_) return line.Skip();
    const int64_t j = LastCrossing(data, i, history, rising);
    line.Add(Crossing(data, j, count, history, rising));
    if (rising && line.Count() == 1) {
      firstAfter_ = base_ + std::max(j + 1, -history);
      firstHighs_ = aboveBefore_ + AboveBefore(data, firstAfter_ - base_);
    }
  }

  // The last crossing of the mean before the edge at i lies between samples j and j + 1.
  int64_t LastCrossing(const uint8_t* data, int64_t i, int64_t history, bool rising) const {
    int64_t j = i - 1;
    while (j >= -history && (data[j] > above_) == rising) --j;
    return j;
  }

  // Where the high part ending in the rising edge at i starts.
  int64_t HighFrom(const uint8_t* data, int64_t i, int64_t history) const {
    return std::max(LastCrossing(data, i, history, true) + 1, -history);
  }

  // Samples above the mean in data[0] … data[at − 1], or less those of data[at] … data[-1].
  int64_t AboveBefore(const uint8_t* data, int64_t at) const {
    return at >= 0 ? CountAbove(data, at, above_) : -CountAbove(data + at, -at, above_);
  }

  double Crossing(const uint8_t* data, int64_t j, int64_t count, int64_t history,
                  bool rising) const {
    if (j < -history) return static_cast<double>(base_ - history);
    // The samples about the crossing within the fitting band, j and j + 1 always.
    const auto inBand = [&](int64_t t) {
      const long double v = Level(data[t]);
      return v >= mean_ - bandBelow_ && v <= mean_ + bandOver_;
    };
    const int64_t first = std::max(-history, j - kFitReach),
                  last = std::min(count - 1, j + 1 + kFitReach);
    int64_t k = j, e = j + 1;
    while (k > first && inBand(k - 1)) --k;
    while (e < last && inBand(e + 1)) ++e;
    int64_t n = 0, st = 0, sv = 0, stt = 0, stv = 0;
    for (int64_t t = k; t <= e; ++t) {
      const int64_t x = t - k, v = Level(data[t]);
      n += 1, st += x, sv += v, stt += x * x, stv += x * v;
    }
    const double slope =
        static_cast<double>(n * stv - st * sv) / static_cast<double>(n * stt - st * st);
    const double mean = static_cast<double>(mean_);
    const double a = Level(data[j]), b = Level(data[j + 1]);
    double at = static_cast<double>(j) + (mean - a) / (b - a);
    if (rising ? slope > 0 : slope < 0) {
      const double fitted = static_cast<double>(k) +
                            (mean - (static_cast<double>(sv) - slope * static_cast<double>(st)) /
                                        static_cast<double>(n)) /
                                slope;
      at = std::clamp<double>(fitted, static_cast<double>(k), static_cast<double>(e));
    }
    return static_cast<double>(base_) + at;
  }

  long double mean_;
  uint8_t above_ = 0, rise_ = 0, fall_ = 0;
  long double bandBelow_ = 0, bandOver_ = 0;  // of the mean, where an edge is fitted
  bool usable_ = false, started_ = false, high_ = false;
  int64_t base_ = 0;         // index of data[0] in the stretch
  int64_t aboveBefore_ = 0;  // samples above the mean before data[0]
  int64_t placedFrom_;       // edges from here on are placed, as are the first ones
  EdgeLine rising_, falling_;
  int64_t firstAfter_ = 0, firstHighs_ = 0, lastAfter_ = 0, lastHighs_ = 0;
};

}  // namespace

long double StretchFigures::MeanLevel() const {
  return count > 0 ? static_cast<long double>(levelSum) / count : 0;
}

long double StretchFigures::RmsLevel() const {
  return count > 0 ? std::sqrt(static_cast<long double>(levelSquareSum) / count) : 0;
}

long double StretchFigures::AcRmsLevel() const {
  if (count <= 0) return 0;
  const __int128 n = count;
  const __int128 spread = n * static_cast<__int128>(levelSquareSum) -
                          static_cast<__int128>(levelSum) * static_cast<__int128>(levelSum);
  return std::sqrt(static_cast<long double>(spread)) / static_cast<long double>(count);
}

StretchFigures MeasureSamples(const uint8_t* samples, int64_t count) {
  StretchFigures figures;
  AddSamples(samples, count, figures);
  EdgeFinder edges(figures);
  edges.Feed(samples, count, 0);
  edges.Finish(figures);
  return figures;
}

StretchFigures MeasureStretch(const SampleFile& file, SampleSpan span) {
  std::vector<uint8_t> buffer(static_cast<size_t>(kHistoryBytes + kChunkBytes));
  uint8_t* const chunk = buffer.data() + kHistoryBytes;
  StretchFigures figures;
  for (int64_t at = span.first; at < span.end; at += kChunkBytes) {
    const int64_t got = file.ReadAt(at, chunk, std::min(kChunkBytes, span.end - at));
    AddSamples(chunk, got, figures);
    if (got < std::min(kChunkBytes, span.end - at)) break;
  }
  EdgeFinder edges(figures);
  if (!edges.Usable()) return figures;
  int64_t history = 0;
  for (int64_t at = span.first; at < span.first + figures.count; at += kChunkBytes) {
    const int64_t got =
        file.ReadAt(at, chunk, std::min(kChunkBytes, span.first + figures.count - at));
    edges.Feed(chunk, got, history);
    history = std::min(kHistoryBytes, got);
    std::memmove(buffer.data() + kHistoryBytes - history, chunk + got - history,
                 static_cast<size_t>(history));
  }
  edges.Finish(figures);
  return figures;
}

}  // namespace wyk
