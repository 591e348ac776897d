#include "spectrum/SpectrumView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "app/RecorderState.h"
#include "spectrum/SpectrumPeak.h"
#include "support/PatternRecording.h"
#include "support/TempDir.h"
#include "view/Cursors.h"
#include "view/FixedWidthTextDrawer.h"
#include "view/ZoomScroll.h"

namespace wyk {
namespace {

constexpr TColor kLine = 0x0000FF, kBackground = 0x102030, kGrid = 0x00FF00;

// A recording of `count` samples: a cosine of `periods` periods over the first 2^20 samples,
// a constant 9 after them.
struct Recording {
  testing::TempDir dir;
  std::unique_ptr<RecorderState> state = std::make_unique<RecorderState>();

  explicit Recording(int count, int periods = 50) {
    std::string bytes(static_cast<size_t>(count), '\x09');
    for (int i = 0; i < std::min(count, kMaxFftSize); ++i)
      bytes[static_cast<size_t>(i)] =
          static_cast<char>(128 + std::lround(100 * std::cos(2 * std::numbers::pi * periods * i /
                                                             std::min(count, kMaxFftSize))));
    const std::string path = dir.File("r.osr");
    testing::WriteFile(path, bytes);
    state->recording.dataFile = SampleFile::Open(path);
    state->recording.dataFileOpen = true;
    state->recording.sampleCount = count;
    state->settings.lineColor = kLine;
    state->settings.backgroundColor = kBackground;
    state->settings.gridColor = kGrid;
    state->spectrum.spectrumBitmap.Resize(kSpectrumWidth, kPlotHeight);
  }
  const Canvas& Bitmap() const { return state->spectrum.spectrumBitmap; }
};

TEST(SpectrumView, LabelTexts) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    float period;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {0.5f, {"0Hz", "125Hz", "250Hz", "375Hz", "500Hz", "625Hz", "750Hz", "875Hz", "1000Hz"}},
      {5.0f, {"0Hz", "12,5Hz", "25Hz", "37,5Hz", "50Hz", "62,5Hz", "75Hz", "87,5Hz", "100Hz"}},
      {0.2f,
       {"0Hz", "312,5Hz", "625Hz", "937,5Hz", "1250Hz", "1562,5Hz", "1875Hz", "2187,5Hz",
        "2500Hz"}},
      {1000.0f,
       {"0Hz", "0,0625Hz", "0,125Hz", "0,1875Hz", "0,25Hz", "0,3125Hz", "0,375Hz", "0,4375Hz",
        "0,5Hz"}},
      {0.0f, std::vector<std::string>(9)},
      {-0.5f, std::vector<std::string>(9)},
      {nan, std::vector<std::string>(9)},
      {inf, std::vector<std::string>(9)},
      {1e-40f, std::vector<std::string>(9)},
  };
  for (const Case& c : cases)
    for (int i = 0; i <= 8; ++i)
      EXPECT_EQ(FrequencyLabel(c.period, i), c.labels[static_cast<size_t>(i)]) << c.period;
  const char* amplitudes[] = {"1", "0,8", "0,6", "0,4", "0,2", "0"};
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(AmplitudeLabel(i), amplitudes[i]);
}

TEST(SpectrumView, AxesPlaceTicksAndLabels) {
  auto state = std::make_unique<RecorderState>();
  Canvas window(kSpectrumFormWidth, kSpectrumFormHeight);
  window.SetBrushColor(kWhite);
  window.FillRect(0, 0, kSpectrumFormWidth, kSpectrumFormHeight);
  FixedWidthTextDrawer text;
  DrawSpectrumAxes(state->spectrum, window, text);
  ASSERT_EQ(text.drawn.size(), 15u);
  for (int i = 0; i <= 5; ++i) {
    const DrawnText& d = text.drawn[static_cast<size_t>(i)];
    EXPECT_EQ(d.left + 5 * static_cast<int>(d.text.size()), 30) << d.text;
    EXPECT_EQ(d.top, 25 + 50 * i);
  }
  const int lefts[] = {33, 92, 156, 220, 284, 348, 412, 476, 537};  // centred, half cut down
  for (int i = 0; i <= 8; ++i) {
    const DrawnText& d = text.drawn[static_cast<size_t>(6 + i)];
    EXPECT_EQ(d.left, lefts[i]) << d.text;
    EXPECT_EQ(d.top, 288);
  }
  struct Pixel {
    int x, y;
    TColor colour;
  };
  const Pixel pixels[] = {
      {32, 30, kBlack},   {36, 80, kBlack},    {37, 80, kSilver},  // amplitude tick ends
      {34, 35, kBlack},   {33, 35, kSilver},                       // minor tick
      {48, 284, kBlack},  {48, 285, kSilver},                      // minor frequency tick
      {104, 286, kBlack}, {104, 287, kSilver},                     // major frequency tick
      {3, 20, kWhite},    {4, 20, kSilver},    {579, 314, kSilver}, {580, 314, kWhite},
  };
  for (const Pixel& p : pixels) EXPECT_EQ(window.Pixel(p.x, p.y), p.colour) << p.x << "," << p.y;

  state->spectrum.fftSamplePeriodMs = 0;  // a broken period: ticks without numbers
  text.drawn.clear();
  DrawSpectrumAxes(state->spectrum, window, text);
  EXPECT_EQ(text.drawn.size(), 6u);
}

TEST(SpectrumView, RecordingsOfSeveralLengths) {
  struct Case {
    int samples;
    int count, size;      // analysed and transform size
    int size10, size100;  // after "10x" and "100x"
    int peakColumn;
  };
  const Case cases[] = {
      {1000, 1000, 1024, 102, 10, 51},
      {2000000, 1048576, 1048576, 104857, 10485, 0},
  };
  for (const Case& c : cases) {
    Recording r(c.samples);
    RecorderState& s = *r.state;
    ASSERT_TRUE(RefreshSpectrum(s.settings, s.scales, s.recording, s.spectrum));
    EXPECT_EQ(s.spectrum.fftSampleCount, c.count);
    EXPECT_EQ(s.spectrum.fftSize, c.size);
    EXPECT_EQ(s.spectrum.fftFullSize, c.size);
    // The cosine's bin is the largest; the constant tail beyond 2^20 never got in.
    EXPECT_FLOAT_EQ(s.spectrum.spectrumMax,
                    s.spectrum.spectrumMagnitudes[c.size == c.count ? 50 : 51]);
    // 1:1: fftSize / 2 segments reaching x 511; the peak touches the top in its bin's column.
    EXPECT_EQ(r.Bitmap().PenX(), 511);
    for (int x = 0; x < kSpectrumWidth; ++x)
      EXPECT_EQ(r.Bitmap().Pixel(x, 0) == kLine, x == c.peakColumn) << x;
    SetFrequencyZoom(s.settings, s.scales, s.spectrum, 10);
    EXPECT_EQ(s.spectrum.fftSize, c.size10);
    EXPECT_EQ(s.spectrum.fftSamplePeriodMs, 5.0f);
    SetFrequencyZoom(s.settings, s.scales, s.spectrum, 100);
    EXPECT_EQ(s.spectrum.fftSize, c.size100);
    EXPECT_EQ(s.spectrum.fftSamplePeriodMs, 50.0f);
    SetFrequencyZoom(s.settings, s.scales, s.spectrum, 1);
    EXPECT_EQ(s.spectrum.fftSize, c.size);
  }
}

TEST(SpectrumView, GridOnlyWithoutASpectrum) {
  Recording r(0);
  RecorderState& s = *r.state;
  EXPECT_FALSE(RefreshSpectrum(s.settings, s.scales, s.recording,
                               s.spectrum));  // an empty file: nothing computed
  EXPECT_EQ(s.spectrum.fftSampleCount, kMaxFftSize);
  EXPECT_EQ(s.spectrum.spectrumMax, 0.0f);
  s.recording.dataFileOpen = false;
  SetFrequencyZoom(s.settings, s.scales, s.spectrum, 10);  // before any computation
  EXPECT_EQ(s.spectrum.fftSize, 0);
  for (int y = 0; y < kPlotHeight; ++y)
    for (int x = 0; x < kSpectrumWidth; ++x) {
      const bool grid = y % 50 == 0 || x % 64 == 0;
      ASSERT_EQ(r.Bitmap().Pixel(x, y), grid ? kGrid : kBackground) << x << "," << y;
    }
}

TEST(SpectrumView, FirstPointCutsEachFactor) {
  Recording r(0);
  RecorderState& s = *r.state;
  s.spectrum.fftSize = 8;
  const float m[] = {2.9f, 0.5f, 1.0f, 0.25f};
  std::copy(std::begin(m), std::end(m), s.spectrum.spectrumMagnitudes.begin());
  DrawSpectrumGrid(s.settings, s.spectrum);
  DrawSpectrumLine(s.settings, s.spectrum,
                   62.5f);  // trunc(2.9) · trunc(62.5) = 124, not trunc(181.25)
  EXPECT_EQ(r.Bitmap().Pixel(0, 126), kLine);
  EXPECT_EQ(r.Bitmap().Pixel(0, 127), kGrid);
  EXPECT_EQ(r.Bitmap().PenX(), 384);  // bin 3 at 3 · 1024 / 8
  EXPECT_EQ(r.Bitmap().PenY(), 235);  // 250 − trunc(15.625)
}

// The line as one segment a bin, drawn with the canvas' own rules: the picture the column runs
// must give, pixel for pixel.
TEST(SpectrumView, LineIsTheSegmentsOfEveryBin) {
  const int sizes[] = {2, 8, 1024, 10485, 104857, 1048576};  // 2: every segment in column 0
  for (const int size : sizes) {
    Recording r(0);
    RecorderState& s = *r.state;
    s.spectrum.fftSize = size;
    std::mt19937 random(size);
    float* m = s.spectrum.spectrumMagnitudes.data();
    for (int i = 0; i < size; ++i)  // spikes over noise, a zero bin now and then
      m[i] = random() % 50 == 0 ? 0.0f : static_cast<float>(random() % 1000) / (i % 97 ? 10 : 1);
    DrawSpectrumGrid(s.settings, s.spectrum);
    DrawSpectrumLine(s.settings, s.spectrum, 0.25f);
    const Canvas ours = r.Bitmap();
    DrawSpectrumGrid(s.settings, s.spectrum);
    Canvas& c = s.spectrum.spectrumBitmap;
    c.SetPenColor(kLine);
    c.MoveTo(0, 250);  // trunc(m[0]) · trunc(0.25)
    for (int i = 0; i < size / 2; ++i)
      c.LineTo(static_cast<int>(i / (size * 0.0009765625)), 250 - static_cast<int>(m[i] * 0.25));
    ASSERT_TRUE(std::memcmp(c.Bits(), ours.Bits(), kSpectrumWidth * kPlotHeight * 4) == 0) << size;
  }
}

TEST(SpectrumView, AStretchIsTheEngineOnExactlyItsSamples) {
  Recording r(0);
  RecorderState& s = *r.state;
  const std::string path = r.dir.File("long.osr");
  testing::WritePatternRecording(path, 1300000);
  s.recording.dataFile = SampleFile::Open(path);
  struct Case {
    Stretch stretch;
    int32_t position, zoomStep, a, b;
    const char* samples;
  };
  const Case cases[] = {
      {Stretch::kWhole, 0, 1, 0, 0, "próbki 0 … 1 048 575"},
      {Stretch::kView, 1200000, 97, 0, 0, "próbki 1 200 000 … 1 248 499"},
      {Stretch::kView, 100000, 2600, 0, 0, "próbki 100 000 … 1 148 575"},  // 2^20 of 1 200 000
      {Stretch::kCursors, 0, 1, 1290000, 1100000, "próbki 1 100 000 … 1 290 000"},
  };
  for (const Case& c : cases) {
    s.view.scrollBar.position = c.position;
    s.view.zoomStep = c.zoomStep;
    s.cursors.cursorASample = c.a;
    s.cursors.cursorBSample = c.b;
    ASSERT_TRUE(RefreshSpectrum(s.settings, s.scales, s.recording, s.spectrum, {},
                                StretchRange(c.stretch, ViewSpan(s.view), CursorSpan(s.cursors),
                                             s.recording.dataFile.Size())));
    const SampleSpan analysed = AnalysedRange(s.spectrum);
    EXPECT_EQ(SamplesText(analysed), c.samples);
    ASSERT_EQ(s.spectrum.fftFullSize, TransformSizeFor(static_cast<int>(analysed.Count())));
    std::vector<float> input, expected(static_cast<size_t>(s.spectrum.fftFullSize));
    for (int64_t k = analysed.first; k < analysed.end; ++k)
      input.push_back(testing::PatternSample(k));
    ComputeAmplitudeSpectrum(s.spectrum, input.data(), expected.data(), 1.0f);
    EXPECT_EQ(
        std::memcmp(s.spectrum.spectrumMagnitudes.data(), expected.data(), expected.size() * 4), 0);
  }
}

TEST(SpectrumView, PeakGivesTheSinesFrequencyAndAmplitude) {
  struct Case {
    double hz, amplitude;
    float periodMs, voltsPerDiv;
    int count;
    bool tooFew = false;
  };
  const Case cases[] = {
      {50, 2, 0.5f, 0.5f, 1024},          {50, 2, 0.5f, 0.5f, 1048576},
      {48.828125, 2, 0.5f, 0.5f, 1024},    // on bin 50 of 2048
      {49.31640625, 2, 0.5f, 0.5f, 1024},  // halfway between bins 50 and 51
      {1234.5, 0.03f, 0.2f, 0.01f, 3000}, {3, 7, 10, 2, 2000},
      {50, 2, 0.5f, 0.5f, 1048000},
      {49.51171875, 2, 0.5f, 0.5f, 1024},  // left of its strongest bin, 51
      {50, 2, 0.5f, 0.5f, 32, true},       // 0.8 periods
      {50, 2, 0.5f, 0.5f, 100, true},      // 2.5 periods
  };
  for (const Case& c : cases) {
    Recording r(0);
    RecorderState& s = *r.state;
    s.spectrum.samplesPeriodMs = c.periodMs;
    s.scales.samplePeriodMs = 1;  // a sampling button pressed since
    s.scales.voltsPerDiv = c.voltsPerDiv;
    const double levels = c.amplitude / (c.voltsPerDiv * 0.04);
    for (int i = 0; i < c.count; ++i)
      s.spectrum.spectrumSamples[static_cast<size_t>(i)] = static_cast<float>(std::lround(
          125 + levels * std::sin(2 * std::numbers::pi * c.hz * i * c.periodMs / 1000 + 0.3)));
    s.spectrum.fftSampleCount = c.count;
    s.spectrum.fftSize = s.spectrum.fftFullSize = TransformSizeFor(c.count);
    ComputeAmplitudeSpectrum(s.spectrum, s.spectrum.spectrumSamples.data(),
                             s.spectrum.spectrumMagnitudes.data(), 1.0f);
    const std::optional<SpectrumPeak> peak = FindSpectrumPeak(s.scales, s.spectrum);
    ASSERT_TRUE(peak);
    EXPECT_EQ(PeakText(s.scales, *peak) == "Szczyt: za mało próbek", c.tooFew) << c.count;
    if (c.tooFew) continue;
    EXPECT_NEAR(peak->frequencyHz, c.hz, c.hz * 0.001) << c.hz << " Hz, " << c.count;
    EXPECT_NEAR(peak->amplitude, c.amplitude, c.amplitude * 0.02) << c.hz << " Hz, " << c.count;
  }
  Recording r(0);
  r.state->scales.voltsUnit = "V";
  EXPECT_EQ(PeakText(r.state->scales, {51.2, 50.00042, 1.99876}),
            "Szczyt: 50,0004Hz, amplituda 1,999V");
  EXPECT_FALSE(FindSpectrumPeak(r.state->scales, r.state->spectrum));  // nothing computed
}

}  // namespace
}  // namespace wyk
