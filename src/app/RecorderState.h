#pragma once
// Everything the recorder shares between its handlers, with its start values.
// Made once by main and passed by reference; the struct is large, so keep it on the heap.

#include <array>
#include <cstdint>
#include <string>

#include "common/Colour.h"
#include "common/DateTime.h"
#include "storage/SampleFile.h"
#include "view/Canvas.h"
#include "view/ScrollBarState.h"

namespace wyk {

constexpr int kPlotWidth = 500;
constexpr int kPlotHeight = 250;
constexpr int kWindowLength = 10000;
constexpr int kReceiveBufferSize = 1000;
constexpr int kMaxFftSize = 1048576;
constexpr int kSpectrumWidth = 512;

enum CouplingMode : uint8_t { kCouplingAc = 0, kCouplingGnd = 2, kCouplingDc = 128 };

struct RecorderState {
  // Settings (settings file) and the configuration dialog's snapshot of them.
  TColor lineColor = 0x00FF00;
  TColor backgroundColor = 0x000000;
  TColor gridColor = 0x008000;
  uint8_t comPortNumber = 1;
  uint8_t adapterType = 0;  // the settings file's default is 2
  uint8_t dcOffset = 120;
  TColor savedLineColor = 65280;
  TColor savedBackgroundColor = 0;
  TColor savedGridColor = 32768;
  uint8_t savedComPortNumber = 1;
  uint8_t savedAdapterType = 0;
  uint8_t savedDcOffset = 120;

  // Acquisition and scale selections.
  int32_t samplePeriodIndex = 1;
  int32_t sampleDecimation = 1;
  float samplePeriodMs = 0.5f;
  float voltsPerDiv = 10.0f;
  std::string voltsUnit = "mV";
  uint8_t voltsPerDivIndex = 1;
  uint8_t rangeCode = 0;
  float softwareGain = 1.0f;
  uint8_t couplingMode = kCouplingAc;
  bool timeScaleAbsolute = false;

  // Serial link and live recording.
  // Device of "COM1".."COM8" from the settings file (element n for COMn); empty: /dev/ttyS<n-1>.
  std::array<std::string, 9> comDevicePaths;
  std::array<uint8_t, 6> commandFrame{};
  std::array<uint8_t, kReceiveBufferSize> receiveBuffer{};
  int32_t recordedSampleCount = 0;
  bool recordingActive = false;  // from Start until Stop; selectors stay locked meanwhile
  uint8_t recordingAdapterType = 0;  // adapterType at Start; the dialog may change it meanwhile
  std::array<int32_t, kPlotWidth> liveValues{};

  // Recording files and the open recording.
  SampleFile dataFile;
  bool dataFileOpen = false;
  std::string recordingName;  // as it was opened; empty when none is open
  int32_t sampleCount = 0;
  uint8_t lastReadSample = 0;
  TDateTime recordingStart = 0;
  TDateTime relativeTimeOrigin = 0;  // never changed

  // View.
  Canvas plotBitmap;
  Canvas selectionBitmap;
  std::array<int32_t, kPlotWidth> plotValues{};
  float axisOffset = 0;
  int32_t gridOffset = 0;
  int32_t labelOffset = 0;
  float msPerPixel = 0;
  float leftEdgeMs = 0;
  std::array<uint8_t, kWindowLength> windowBuffer{};
  static constexpr int32_t windowLength = kWindowLength;
  int32_t windowStart = 0;
  int32_t windowOffset = 0;
  int32_t previousWindowOffset = 0;
  int32_t zoomStep = 1;
  int32_t zoomPercent = 0;
  ScrollBarState scrollBar;  // ScrollBar1

  // Cursors and selection.
  bool cursorsVisible = false;
  int32_t cursorASample = 0;
  int32_t cursorBSample = 0;
  int32_t cursorALevel = 0;
  int32_t cursorBLevel = 0;
  uint8_t draggedCursor = 0;
  int32_t selectionStart = 0;
  int32_t selectionEnd = 0;
  bool selectionValid = false;

  // Spectrum.
  int32_t fftSampleCount = kMaxFftSize;
  int32_t fftSize = kMaxFftSize;
  std::array<float, kMaxFftSize> fftInput{};
  std::array<float, kMaxFftSize> fftReversedRe{};
  std::array<float, kMaxFftSize> fftReversedIm{};
  std::array<float, kMaxFftSize> fftRe{};
  std::array<float, kMaxFftSize> fftIm{};
  int32_t fftFullSize = 0;
  float fftSamplePeriodMs = 0.5f;  // samplePeriodMs at program start
  float spectrumMax = 0;
  int64_t spectrumFirst = 0;  // sample of the recording at spectrumSamples[0]
  Canvas spectrumBitmap;
  std::array<uint8_t, kMaxFftSize> spectrumFileBytes{};
  std::array<float, kMaxFftSize> spectrumSamples{};
  std::array<float, kMaxFftSize> spectrumMagnitudes{};
};

}  // namespace wyk
