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
// Runs of this many levels have sums within 32 bits (250² × 65 536 < 2^32), which vectorises.
constexpr int64_t kRunLength = 1 << 16;
constexpr int64_t kBlockLength = 64;

inline uint32_t Level(uint8_t sample) {
  return std::min<uint32_t>(sample, 250);
}

void AddSamples(const uint8_t* samples, int64_t count, StretchFigures& figures) {
  if (count <= 0) return;
  uint8_t lowest = static_cast<uint8_t>(figures.count > 0 ? figures.minLevel : 255);
  uint8_t highest = static_cast<uint8_t>(figures.maxLevel);
  for (int64_t at = 0; at < count; at += kRunLength) {
    const int64_t end = std::min(count, at + kRunLength);
    uint32_t sum = 0, squares = 0;
    for (int64_t i = at; i < end; ++i) {
      const uint32_t level = Level(samples[i]);
      sum += level;
      squares += level * level;
      lowest = std::min(lowest, samples[i]);
      highest = std::max(highest, samples[i]);
    }
    figures.levelSum += sum;
    figures.levelSquareSum += squares;
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

// Samples of data[0] … data[n − 1] above `level`, in blocks that vectorise.
int64_t CountAbove(const uint8_t* data, int64_t n, uint8_t level) {
  int64_t count = 0, i = 0;
  for (; i + kBlockLength <= n; i += kBlockLength) {
    uint32_t block = 0;
    for (int64_t k = 0; k < kBlockLength; ++k) block += data[i + k] > level;
    count += block;
  }
  for (; i < n; ++i) count += data[i] > level;
  return count;
}

// A least-squares line through (k, t_k) for edges k = 0, 1, 2 …, updated about its running
// means so that a billion edges lose no precision; its slope is the period.
class EdgeLine {
 public:
  void Add(double t) {
    if (n_ == 0) first_ = t;
    const double k = static_cast<double>(n_), dt = t - first_;
    ++n_;
    const double dk = k - meanK_;
    meanK_ += dk / static_cast<double>(n_);
    meanT_ += (dt - meanT_) / static_cast<double>(n_);
    kk_ += dk * (k - meanK_);
    kt_ += dk * (dt - meanT_);
  }
  int64_t Count() const { return n_; }
  double Slope() const { return kt_ / kk_; }

 private:
  int64_t n_ = 0;
  double first_ = 0, meanK_ = 0, meanT_ = 0, kk_ = 0, kt_ = 0;
};

// Edges are crossings of the mean. An edge counts only once the signal has gone on past the
// mean by the hysteresis (a tenth of the peak-to-peak, at least 2 levels), so noise about the
// mean makes no extra edges. It is placed where the least-squares line through the samples
// since the signal left the far side of the hysteresis band crosses the mean, which averages
// the noise of a slow edge out (two samples of a step give plain interpolation). The period is
// the least-squares slope of the rising edges' times against their number, averaged with the
// falling edges'; the duty cycle is the share of samples above the mean from the first rising
// edge to the last. Samples compare as bytes: the thresholds lie below 250, where bytes and
// levels order alike.
class EdgeFinder {
 public:
  explicit EdgeFinder(const StretchFigures& figures) : mean_(figures.MeanLevel()) {
    const long double hysteresis = std::max(2.0L, (figures.maxLevel - figures.minLevel) / 10.0L);
    above_ = static_cast<uint8_t>(std::floor(mean_));
    rise_ = static_cast<uint8_t>(
        std::min<long double>(std::ceil(mean_ + hysteresis), figures.maxLevel));
    fall_ = static_cast<uint8_t>(
        std::max<long double>(std::floor(mean_ - hysteresis), figures.minLevel));
    usable_ = figures.maxLevel > figures.minLevel && rise_ > above_ && fall_ <= above_;
  }

  bool Usable() const { return usable_; }

  // `data` follows the samples fed before; data[-history] … data[-1] are the last of them.
  void Feed(const uint8_t* data, int64_t count, int64_t history) {
    if (!usable_ || count == 0) return;
    if (!started_) high_ = data[0] > above_, started_ = true;
    counted_ = 0;
    for (int64_t i = 0;; ++i) {
      i = FindLevel(data, i, count, high_ ? fall_ : rise_, high_);
      if (i >= count) break;
      Edge(data, i, history);
    }
    highCount_ += CountAbove(data + counted_, count - counted_, above_);
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
  // Sample i has gone past the hysteresis: an edge, the last crossing of the mean being between
  // samples j and j + 1.
  void Edge(const uint8_t* data, int64_t i, int64_t history) {
    const bool rising = !high_;
    int64_t j = i - 1;
    while (j >= -history && (data[j] > above_) == rising) --j;
    (rising ? rising_ : falling_).Add(Crossing(data, j, i, history, rising));
    high_ = rising;
    if (!rising) return;
    // Samples above the mean before j + 1, the first sample of the high part.
    const int64_t after = std::max(j + 1, -history);
    if (after >= counted_)
      highCount_ += CountAbove(data + counted_, after - counted_, above_);
    else
      highCount_ -= CountAbove(data + after, counted_ - after, above_);
    counted_ = after;
    if (rising_.Count() == 1) firstAfter_ = base_ + after, firstHighs_ = highCount_;
    lastAfter_ = base_ + after, lastHighs_ = highCount_;
  }

  double Crossing(const uint8_t* data, int64_t j, int64_t i, int64_t history, bool rising) const {
    if (j < -history) return static_cast<double>(base_ - history);
    int64_t k = j;
    while (k > -history && (rising ? data[k] > fall_ : data[k] < rise_)) --k;
    double n = 0, st = 0, sv = 0, stt = 0, stv = 0;
    for (int64_t t = k; t <= i; ++t) {
      const double x = static_cast<double>(t - k), v = Level(data[t]);
      n += 1, st += x, sv += v, stt += x * x, stv += x * v;
    }
    const double slope = (n * stv - st * sv) / (n * stt - st * st);
    const double mean = static_cast<double>(mean_);
    const double a = Level(data[j]), b = Level(data[j + 1]);
    double at = static_cast<double>(j) + (mean - a) / (b - a);
    if (rising ? slope > 0 : slope < 0) {
      const double fitted = static_cast<double>(k) + (mean - (sv - slope * st) / n) / slope;
      at = std::clamp<double>(fitted, static_cast<double>(k), static_cast<double>(i));
    }
    return static_cast<double>(base_) + at;
  }

  long double mean_;
  uint8_t above_ = 0, rise_ = 0, fall_ = 0;
  bool usable_ = false, started_ = false, high_ = false;
  int64_t base_ = 0;       // index of data[0] in the stretch
  int64_t highCount_ = 0;  // samples above the mean before data[counted_]
  int64_t counted_ = 0;
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
