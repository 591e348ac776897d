#include "spectrum/SpectrumView.h"

#include <immintrin.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "common/NumberText.h"

namespace wyk {
namespace {

constexpr int kGridRight = 513;  // one beyond the bitmap, as drawn
constexpr int kGridBottom = 251;

// Thousands of bins share a column: the vertical segments of one column set one unbroken run of
// pixels, so the run is drawn once instead. A segment from a to b covers a up to b, b itself
// left out, so it spans min(a, b + 1) … max(a + 1, b); one that goes nowhere covers nothing.
constexpr int kNoPixel = std::numeric_limits<int>::max();

struct Run {
  int top = kNoPixel, bottom = -kNoPixel;  // bottom exclusive

  // Without branches, as the spectrum's bins go up and down at random.
  void Add(int a, int b) {
    const bool moves = a != b;
    top = std::min(top, moves ? std::min(a, b + 1) : kNoPixel);
    bottom = std::max(bottom, moves ? std::max(a + 1, b) : -kNoPixel);
  }
};

// The run of a column whose bins come one at a time.
class ColumnRun {
 public:
  void Add(int from, int to) { run_.Add(from, to); }
  // Draws the run in column x and leaves the pen where it was.
  void DrawAt(Canvas& c, int x) {
    if (run_.top >= run_.bottom) return;
    const int penY = c.PenY();
    c.MoveTo(x, run_.top);
    c.LineTo(x, run_.bottom);
    c.MoveTo(x, penY);
    run_ = {};
  }

 private:
  Run run_;
};

// The largest of 0 and m[0 … n). Magnitudes of byte samples are never NaN and never −0, so the
// largest is the same value in any order: eight lanes of vector maxima.
float LargestMagnitude(const float* m, int n) {
  __m128 low = _mm_setzero_ps(), high = _mm_setzero_ps();
  int k = 0;
  for (; k + 8 <= n; k += 8) {
    low = _mm_max_ps(low, _mm_loadu_ps(m + k));
    high = _mm_max_ps(high, _mm_loadu_ps(m + k + 4));
  }
  float lane[8];
  _mm_storeu_ps(lane, low);
  _mm_storeu_ps(lane + 4, high);
  float largest = 0;
  for (; k < n; ++k) largest = std::max(largest, m[k]);
  for (const float v : lane) largest = std::max(largest, v);
  return largest;
}

// The line where every column holds the same power of two of bins: bin i lies in column
// i / perColumn exactly as in i / (fftSize / 1024), and a column's bins are taken together. Their
// heights come out of one loop, and the column's run out of another.

// The run of the segments y[k − 1] → y[k], from ≤ k < to.
[[gnu::always_inline]] inline Run RunOf(const int* y, int from, int to, Run run) {
  for (int k = from; k < to; ++k) run.Add(y[k - 1], y[k]);
  return run;
}

Run RunOfPlain(const int* y, int n) {
  return RunOf(y, 0, n, {});
}

// The same eight segments at a time.
__attribute__((target("avx2"))) Run RunOfAvx2(const int* y, int n) {
  const __m256i one = _mm256_set1_epi32(1);
  const __m256i none = _mm256_set1_epi32(kNoPixel), noneBelow = _mm256_set1_epi32(-kNoPixel);
  __m256i top = none, bottom = noneBelow;
  int k = 0;
  for (; k + 8 <= n; k += 8) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(y + k - 1));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(y + k));
    const __m256i still = _mm256_cmpeq_epi32(a, b);
    top = _mm256_min_epi32(
        top, _mm256_blendv_epi8(_mm256_min_epi32(a, _mm256_add_epi32(b, one)), none, still));
    bottom = _mm256_max_epi32(
        bottom,
        _mm256_blendv_epi8(_mm256_max_epi32(_mm256_add_epi32(a, one), b), noneBelow, still));
  }
  alignas(32) int tops[8], bottoms[8];
  _mm256_store_si256(reinterpret_cast<__m256i*>(tops), top);
  _mm256_store_si256(reinterpret_cast<__m256i*>(bottoms), bottom);
  Run run;
  for (int l = 0; l < 8; ++l) {
    run.top = std::min(run.top, tops[l]);
    run.bottom = std::max(run.bottom, bottoms[l]);
  }
  return RunOf(y, k, n, run);
}

void DrawColumnsOfBins(Canvas& c, const float* m, int perColumn, float scale, int startY) {
  static const bool avx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  std::vector<int> heights(static_cast<std::size_t>(perColumn) + 1);
  int* y = heights.data() + 1;
  for (int x = 0; x < kSpectrumWidth; ++x) {
    const float* column = m + static_cast<std::ptrdiff_t>(x) * perColumn;
    for (int k = 0; k < perColumn; ++k)
      y[k] = 250 - static_cast<int>(static_cast<double>(column[k]) * scale);
    // The first bin of a column after the first is reached by the line from the column before;
    // the first column starts at the first point.
    if (x > 0) c.LineTo(x, y[0]);
    y[-1] = x == 0 ? startY : y[0];
    const Run run = (avx2 ? RunOfAvx2 : RunOfPlain)(y, perColumn);
    if (run.top < run.bottom) {
      c.MoveTo(x, run.top);
      c.LineTo(x, run.bottom);
    }
    c.MoveTo(x, y[perColumn - 1]);
  }
}

}  // namespace

bool LoadSpectrum(const OpenRecording& recording, SpectrumState& spectrum,
                  const FftProgress& progress, SampleSpan wanted) {
  const SampleSpan range = FirstSamples(Clip(wanted, recording.dataFile.Size()), kMaxFftSize);
  // A file another process truncates meanwhile reads short; what arrived is what is analysed.
  const int count = static_cast<int>(
      range.Count() > 0
          ? recording.dataFile.ReadAt(range.first, spectrum.spectrumFileBytes.data(), range.Count())
          : 0);
  if (count <= 0) return false;
  spectrum.spectrumFirst = range.first;
  // Zero beyond the samples; beyond the last computation's samples it is zero already.
  float* samples = spectrum.spectrumSamples.data();
  std::fill(samples + count, samples + std::max(count, spectrum.fftSampleCount), 0.0f);
  for (int i = 0; i < count; ++i)
    spectrum.spectrumSamples[static_cast<size_t>(i)] =
        spectrum.spectrumFileBytes[static_cast<size_t>(i)];
  spectrum.fftSampleCount = count;
  spectrum.fftSize = spectrum.fftFullSize = TransformSizeFor(count);
  ComputeAmplitudeSpectrum(spectrum, spectrum.spectrumSamples.data(),
                           spectrum.spectrumMagnitudes.data(), 1.0f, progress);
  return true;
}

bool RefreshSpectrum(const Settings& settings, const Scales& scales, const OpenRecording& recording,
                     SpectrumState& spectrum, const FftProgress& progress, SampleSpan wanted) {
  spectrum.fftSize = spectrum.fftFullSize;
  spectrum.fftSamplePeriodMs = scales.samplePeriodMs;
  bool computed = true;
  if (recording.dataFileOpen) {
    computed = LoadSpectrum(recording, spectrum, progress, wanted);
    if (computed) {
      spectrum.samplesPeriodMs = recording.samplePeriodMs;
      spectrum.spectrumMax = LargestMagnitude(spectrum.spectrumMagnitudes.data(), spectrum.fftSize);
    }
  }
  DrawSpectrumGrid(settings, spectrum);
  if (spectrum.spectrumMax > 0) DrawSpectrumLine(settings, spectrum, 250 / spectrum.spectrumMax);
  return computed;
}

SampleSpan AnalysedRange(const SpectrumState& spectrum) {
  if (spectrum.fftFullSize == 0) return {};
  return {spectrum.spectrumFirst, spectrum.spectrumFirst + spectrum.fftSampleCount};
}

void SetFrequencyZoom(const Settings& settings, const Scales& scales, SpectrumState& spectrum,
                      int f) {
  spectrum.fftSize = spectrum.fftFullSize / f;
  spectrum.fftSamplePeriodMs = static_cast<float>(static_cast<double>(scales.samplePeriodMs) * f);
  DrawSpectrumGrid(settings, spectrum);
  if (spectrum.spectrumMax > 0) DrawSpectrumLine(settings, spectrum, 250 / spectrum.spectrumMax);
}

void DrawSpectrumGrid(const Settings& settings, SpectrumState& spectrum) {
  Canvas& c = spectrum.spectrumBitmap;
  c.SetBrushColor(settings.backgroundColor);
  c.SetPenColor(settings.gridColor);
  c.FillRect(0, 0, kGridRight, kGridBottom);
  for (int y = 0; y <= 250; y += 50) {
    c.MoveTo(0, y);
    c.LineTo(kGridRight, y);
  }
  for (int x = 0; x <= 512; x += 64) {
    c.MoveTo(x, 0);
    c.LineTo(x, kGridBottom);
  }
}

void DrawSpectrumLine(const Settings& settings, SpectrumState& spectrum, float scale) {
  Canvas& c = spectrum.spectrumBitmap;
  const float* m = spectrum.spectrumMagnitudes.data();
  c.SetPenColor(settings.lineColor);
  // The first point cuts each factor before the product. A magnitude below 1 gives 0, and one
  // of 1 or more bounds scale by 250, so the product stays small.
  const int64_t first = static_cast<int64_t>(std::trunc(m[0]));
  // The pen is followed here and handed to the canvas only where a line is drawn.
  int penX = 0;
  int penY = static_cast<int>(250 - (first == 0 ? 0 : first * static_cast<int64_t>(scale)));
  const int bins = spectrum.fftSize / 2;
  if (spectrum.fftSize >= 2 * kSpectrumWidth &&
      std::has_single_bit(static_cast<unsigned>(spectrum.fftSize))) {
    DrawColumnsOfBins(c, m, bins / kSpectrumWidth, scale, penY);
    return;
  }
  const double binsPerPixel = spectrum.fftSize * 0.0009765625;
  ColumnRun run;
  for (int i = 0; i < bins; ++i) {
    const int x = static_cast<int>(i / binsPerPixel);
    const int y = 250 - static_cast<int>(static_cast<double>(m[i]) * scale);
    if (x == penX) {
      run.Add(penY, y);
    } else {
      c.MoveTo(penX, penY);
      run.DrawAt(c, penX);
      c.LineTo(x, y);
    }
    penX = x;
    penY = y;
  }
  c.MoveTo(penX, penY);
  run.DrawAt(c, penX);
}

std::string AmplitudeLabel(int i) {
  float v = static_cast<float>(1 - 0.2 * i);
  if (v < 0.01f) v = 0;
  return NumberText(v, 1);
}

std::string FrequencyLabel(float samplePeriodMs, int i) {
  if (!std::isfinite(samplePeriodMs) || samplePeriodMs <= 0) return {};
  const double rate = 1000 / static_cast<double>(samplePeriodMs);
  // All or none: a period so short that the last label overflows gives no labels at all.
  if (rate * 0.5 > std::numeric_limits<float>::max()) return {};
  return NumberText(static_cast<float>(rate * i * 0.0625), 8) + "Hz";
}

void DrawSpectrumAxes(const SpectrumState& spectrum, Canvas& window, TextDrawer& text) {
  window.SetBrushColor(kSpectrumFormColour);
  window.SetPenColor(kBlack);
  window.FillRect(4, 20, 38, 280);
  window.FillRect(2, 282, 580, 315);
  const auto line = [&window](int x0, int y0, int x1, int y1) {
    window.MoveTo(x0, y0);
    window.LineTo(x1, y1);
  };
  for (int i = 0; i <= 5; ++i) {
    line(32, 30 + 50 * i, 37, 30 + 50 * i);
    const std::string label = AmplitudeLabel(i);
    text.DrawText(window, 30 - text.TextWidth(label), 25 + 50 * i, label, kBlack,
                  kSpectrumFormColour);
  }
  for (int i = 0; i < 50; ++i) line(34, 30 + 5 * i, 37, 30 + 5 * i);
  for (int i = 0; i <= 64; ++i) line(40 + 8 * i, 282, 40 + 8 * i, 285);
  for (int i = 0; i <= 8; ++i) {
    line(40 + 64 * i, 282, 40 + 64 * i, 287);
    const std::string label = FrequencyLabel(spectrum.fftSamplePeriodMs, i);
    if (label.empty()) continue;
    text.DrawText(window, 40 + 64 * i - text.TextWidth(label) / 2, 288, label, kBlack,
                  kSpectrumFormColour);
  }
}

void PresentSpectrum(const SpectrumState& spectrum, Canvas& window) {
  window.CopyFrom(spectrum.spectrumBitmap, kSpectrumLeft, kSpectrumTop);
}

}  // namespace wyk
