#pragma once
// The spectrum window's work without its widgets: reading the first samples of the open
// recording, the computation, the plot in spectrumBitmap and the axes on the window's surface.

#include <string>

#include "config/Settings.h"
#include "spectrum/FftEngine.h"
#include "spectrum/SpectrumState.h"
#include "storage/OpenRecording.h"
#include "storage/SampleStretch.h"
#include "view/Canvas.h"
#include "view/Scales.h"
#include "view/TextDrawer.h"

namespace wyk {

// The window's client area, its colour (the system's button face) and where the plot goes.
constexpr int kSpectrumFormWidth = 602;
constexpr int kSpectrumFormHeight = 316;
constexpr TColor kSpectrumFormColour = kSilver;
constexpr int kSpectrumLeft = 40;
constexpr int kSpectrumTop = 30;

inline constexpr const char* kNoSamplesCaption = "Uwaga";
inline constexpr const char* kNoSamplesText = "Brak próbek do analizy!";

// Reads the first samples of the wanted stretch of dataFile, at most 2^20, in one read and
// computes their spectrum into spectrumMagnitudes. A stretch without samples computes nothing
// and returns false.
bool LoadSpectrum(const OpenRecording& recording, SpectrumState& spectrum,
                  const FftProgress& progress = {}, SampleSpan wanted = kAllSamples);

// The steps of a showing between the progress frame's appearance and disappearance: recompute
// when a recording is open, then grid and line. False when the stretch has no samples; the
// previous spectrum (or an empty grid) is drawn then.
bool RefreshSpectrum(const Settings& settings, const Scales& scales, const OpenRecording& recording,
                     SpectrumState& spectrum, const FftProgress& progress = {},
                     SampleSpan wanted = kAllSamples);

// The samples of the last computation.
SampleSpan AnalysedRange(const SpectrumState& spectrum);

// "1:1", "10x", "100x": the lowest 1/f of the last spectrum over the full width, no recompute.
void SetFrequencyZoom(const Settings& settings, const Scales& scales, SpectrumState& spectrum,
                      int f);

void DrawSpectrumGrid(const Settings& settings, SpectrumState& spectrum);
void DrawSpectrumLine(const Settings& settings, SpectrumState& spectrum, float scale);
// Clears the strips left of and below the plot on the window's surface and draws ticks and
// labels there.
void DrawSpectrumAxes(const SpectrumState& spectrum, Canvas& window, TextDrawer& text);
// Copies spectrumBitmap onto the window's surface at (40, 30).
void PresentSpectrum(const SpectrumState& spectrum, Canvas& window);

// Label of amplitude tick i (0 at the top) and of frequency tick i (0 at the left); the latter
// is empty when the period gives no finite frequency.
std::string AmplitudeLabel(int i);
std::string FrequencyLabel(float samplePeriodMs, int i);

}  // namespace wyk
