#include "spectrum/SpectrumView.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/NumberText.h"

namespace wyk {
namespace {

constexpr int kGridRight = 513;  // one beyond the bitmap, as drawn
constexpr int kGridBottom = 251;

}  // namespace

bool LoadSpectrum(RecorderState& state, const FftProgress& progress, SampleSpan wanted) {
  const SampleSpan range = FirstSamples(Clip(wanted, state.recording.dataFile.Size()), kMaxFftSize);
  // A file another process truncates meanwhile reads short; what arrived is what is analysed.
  const int count = static_cast<int>(
      range.Count() > 0 ? state.recording.dataFile.ReadAt(
                              range.first, state.spectrum.spectrumFileBytes.data(), range.Count())
                        : 0);
  if (count <= 0) return false;
  state.spectrum.spectrumFirst = range.first;
  std::fill(state.spectrum.spectrumSamples.begin(), state.spectrum.spectrumSamples.end(), 0.0f);
  for (int i = 0; i < count; ++i)
    state.spectrum.spectrumSamples[static_cast<size_t>(i)] =
        state.spectrum.spectrumFileBytes[static_cast<size_t>(i)];
  state.spectrum.fftSampleCount = count;
  state.spectrum.fftSize = state.spectrum.fftFullSize = TransformSizeFor(count);
  ComputeAmplitudeSpectrum(state, state.spectrum.spectrumSamples.data(),
                           state.spectrum.spectrumMagnitudes.data(), 1.0f, progress);
  return true;
}

bool RefreshSpectrum(RecorderState& state, const FftProgress& progress, SampleSpan wanted) {
  state.spectrum.fftSize = state.spectrum.fftFullSize;
  state.spectrum.fftSamplePeriodMs = state.scales.samplePeriodMs;
  bool computed = true;
  if (state.recording.dataFileOpen) {
    computed = LoadSpectrum(state, progress, wanted);
    if (computed) {
      state.spectrum.spectrumMax = 0;
      for (int k = 0; k < state.spectrum.fftSize; ++k)
        state.spectrum.spectrumMax = std::max(
            state.spectrum.spectrumMax, state.spectrum.spectrumMagnitudes[static_cast<size_t>(k)]);
    }
  }
  DrawSpectrumGrid(state);
  if (state.spectrum.spectrumMax > 0) DrawSpectrumLine(state, 250 / state.spectrum.spectrumMax);
  return computed;
}

SampleSpan AnalysedRange(const RecorderState& state) {
  if (state.spectrum.fftFullSize == 0) return {};
  return {state.spectrum.spectrumFirst,
          state.spectrum.spectrumFirst + state.spectrum.fftSampleCount};
}

void SetFrequencyZoom(RecorderState& state, int f) {
  state.spectrum.fftSize = state.spectrum.fftFullSize / f;
  state.spectrum.fftSamplePeriodMs =
      static_cast<float>(static_cast<double>(state.scales.samplePeriodMs) * f);
  DrawSpectrumGrid(state);
  if (state.spectrum.spectrumMax > 0) DrawSpectrumLine(state, 250 / state.spectrum.spectrumMax);
}

void DrawSpectrumGrid(RecorderState& state) {
  Canvas& c = state.spectrum.spectrumBitmap;
  c.SetBrushColor(state.settings.backgroundColor);
  c.SetPenColor(state.settings.gridColor);
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

void DrawSpectrumLine(RecorderState& state, float scale) {
  Canvas& c = state.spectrum.spectrumBitmap;
  const float* m = state.spectrum.spectrumMagnitudes.data();
  c.SetPenColor(state.settings.lineColor);
  // The first point cuts each factor before the product. A magnitude below 1 gives 0, and one
  // of 1 or more bounds scale by 250, so the product stays small.
  const int64_t first = static_cast<int64_t>(std::trunc(m[0]));
  c.MoveTo(0, static_cast<int>(250 - (first == 0 ? 0 : first * static_cast<int64_t>(scale))));
  const double binsPerPixel = state.spectrum.fftSize * 0.0009765625;
  for (int i = 0; i < state.spectrum.fftSize / 2; ++i)
    c.LineTo(static_cast<int>(i / binsPerPixel),
             250 - static_cast<int>(static_cast<double>(m[i]) * scale));
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

void DrawSpectrumAxes(const RecorderState& state, Canvas& window, TextDrawer& text) {
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
    const std::string label = FrequencyLabel(state.spectrum.fftSamplePeriodMs, i);
    if (label.empty()) continue;
    text.DrawText(window, 40 + 64 * i - text.TextWidth(label) / 2, 288, label, kBlack,
                  kSpectrumFormColour);
  }
}

void PresentSpectrum(const RecorderState& state, Canvas& window) {
  window.CopyFrom(state.spectrum.spectrumBitmap, kSpectrumLeft, kSpectrumTop);
}

}  // namespace wyk
