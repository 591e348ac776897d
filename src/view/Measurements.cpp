#include "view/Measurements.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "view/CursorTexts.h"

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

// A least-squares line through (k, t_k) for edges k = 0, 1, 2 …; its slope is the period.
class EdgeLine {
 public:
  void Add(double t) {
    if (n_ == 0) first_ = t;
    const long double k = n_, dt = t - first_;
    ++n_;
    sk_ += k;
    skk_ += k * k;
    st_ += dt;
    skt_ += k * dt;
  }
  int64_t Count() const { return n_; }
  double Slope() const {
    const long double n = static_cast<long double>(n_);
    return static_cast<double>((n * skt_ - sk_ * st_) / (n * skk_ - sk_ * sk_));
  }

 private:
  int64_t n_ = 0;
  double first_ = 0;
  long double sk_ = 0, skk_ = 0, st_ = 0, skt_ = 0;
};

// Edges are crossings of the mean, placed by linear interpolation between the samples on either
// side of it. An edge counts only once the signal has gone on past the mean by the hysteresis
// (a tenth of the peak-to-peak, at least 2 levels), so noise about the mean makes no extra
// edges; the crossing taken is then the last one before that. The period is the least-squares
// slope of the rising edges' times against their number, averaged with the falling edges'; the
// duty cycle is the share of samples above the mean from the first rising edge to the last.
// Blocks without an edge are only counted, which vectorises.
class EdgeFinder {
 public:
  explicit EdgeFinder(const StretchFigures& figures) : mean_(figures.MeanLevel()) {
    const long double hysteresis = std::max(2.0L, (figures.maxLevel - figures.minLevel) / 10.0L);
    above_ = static_cast<uint32_t>(std::floor(mean_));
    rise_ = static_cast<uint32_t>(
        std::min<long double>(std::ceil(mean_ + hysteresis), figures.maxLevel));
    fall_ = static_cast<uint32_t>(
        std::max<long double>(std::floor(mean_ - hysteresis), figures.minLevel));
    usable_ = figures.maxLevel > figures.minLevel && rise_ > above_ && fall_ <= above_;
  }

  bool Usable() const { return usable_; }

  // `data` follows the samples fed before; data[-history] … data[-1] are the last of them.
  void Feed(const uint8_t* data, int64_t count, int64_t history) {
    if (!usable_ || count == 0) return;
    if (base_ == 0 && !started_) {
      high_ = Level(data[0]) > above_;
      started_ = true;
    }
    for (int64_t at = 0; at < count; at += kBlockLength) {
      const int64_t end = std::min(count, at + kBlockLength);
      uint32_t highs = 0;
      bool edge = false;
      if (high_) {
        for (int64_t i = at; i < end; ++i) {
          highs += Level(data[i]) > above_;
          edge |= Level(data[i]) <= fall_;
        }
      } else {
        for (int64_t i = at; i < end; ++i) {
          highs += Level(data[i]) > above_;
          edge |= Level(data[i]) >= rise_;
        }
      }
      if (!edge) {
        highCount_ += highs;
        continue;
      }
      for (int64_t i = at; i < end; ++i) Step(data, i, history);
    }
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
  void Step(const uint8_t* data, int64_t i, int64_t history) {
    const uint32_t level = Level(data[i]);
    highCount_ += level > above_;
    if (!high_ && level >= rise_) {
      int64_t j = i - 1;
      while (j >= -history && Level(data[j]) > above_) --j;
      rising_.Add(Crossing(data, j, i, history));
      // Samples j + 1 … i lie above the mean: the count before the first of them.
      const int64_t highsBefore = highCount_ - (i - j);
      if (rising_.Count() == 1) {
        firstAfter_ = base_ + j + 1;
        firstHighs_ = highsBefore;
      }
      lastAfter_ = base_ + j + 1;
      lastHighs_ = highsBefore;
      high_ = true;
    } else if (high_ && level <= fall_) {
      int64_t j = i - 1;
      while (j >= -history && Level(data[j]) <= above_) --j;
      falling_.Add(Crossing(data, j, i, history));
      high_ = false;
    }
  }

  // Where the edge that ended at sample i crossed the mean, the last crossing being between
  // samples j and j + 1: on the least-squares line through the samples since the signal left
  // the far side of the hysteresis band, which averages the noise of a slow edge out; between
  // j and j + 1 where that line cannot be had.
  double Crossing(const uint8_t* data, int64_t j, int64_t i, int64_t history) const {
    if (j < -history) return static_cast<double>(base_ - history);
    const bool rising = Level(data[i]) >= rise_;
    int64_t k = j;
    while (k > -history && (rising ? Level(data[k]) > fall_ : Level(data[k]) < rise_)) --k;
    long double n = 0, st = 0, sv = 0, stt = 0, stv = 0;
    for (int64_t t = k; t <= i; ++t) {
      const long double x = static_cast<long double>(t - k), v = Level(data[t]);
      n += 1, st += x, sv += v, stt += x * x, stv += x * v;
    }
    const long double slope = (n * stv - st * sv) / (n * stt - st * st);
    const long double a = Level(data[j]), b = Level(data[j + 1]);
    long double at = static_cast<long double>(j) + (mean_ - a) / (b - a);
    if (rising ? slope > 0 : slope < 0) {
      const long double fitted =
          static_cast<long double>(k) + (mean_ - (sv - slope * st) / n) / slope;
      at = std::clamp<long double>(fitted, k, i);
    }
    return static_cast<double>(static_cast<long double>(base_) + at);
  }

  long double mean_;
  uint32_t above_ = 0, rise_ = 0, fall_ = 0;
  bool usable_ = false, started_ = false, high_ = false;
  int64_t base_ = 0;       // index of the next sample fed
  int64_t highCount_ = 0;  // samples above the mean so far
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
