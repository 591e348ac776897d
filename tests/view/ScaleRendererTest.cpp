#include "view/ScaleRenderer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/RecorderState.h"
#include "common/Errors.h"
#include "view/FixedWidthTextDrawer.h"
#include "view/PlotRenderer.h"
#include "view/Selectors.h"

namespace wyk {
namespace {

constexpr TColor kPaper = 0x00FFFFFF;

struct Scene {
  std::unique_ptr<RecorderState> state = std::make_unique<RecorderState>();
  Canvas window{kWindowWidth, kWindowHeight};
  FixedWidthTextDrawer text;

  Scene() {
    window.SetBrushColor(kPaper);
    window.FillRect(0, 0, kWindowWidth, kWindowHeight);
  }
  ScaleCaptions Draw(bool absolute = false, int scrollPosition = 0) {
    text.drawn.clear();
    return DrawScales(state->settings, state->scales, state->recording, state->view, window, text,
                      absolute, scrollPosition);
  }
  // Texts drawn after the eleven volts labels, as "left,top text".
  std::vector<std::string> TimeTexts() const {
    std::vector<std::string> texts;
    for (std::size_t i = 11; i < text.drawn.size(); ++i)
      texts.push_back(std::to_string(text.drawn[i].left) + "," + std::to_string(text.drawn[i].top) +
                      " " + text.drawn[i].text);
    return texts;
  }
};

TEST(ScaleRenderer, UpdateScaleValuesFromScrollPositionAndZoom) {
  struct Case {
    int scrollPosition;
    int32_t zoomStep;
    float samplePeriodMs;
    int32_t gridOffset;
    int32_t labelOffset;
    float msPerPixel;
    float leftEdgeMs;
  };
  const Case cases[] = {
      {0, 1, 0.5f, 25, 100, 0.5f, 0.0f},    {37, 1, 0.2f, 13, 63, 0.2f, 7.4f},
      {130, 5, 1.0f, 24, 74, 5.0f, 130.0f}, {24, 25, 1.0f, 25, 100, 25.0f, 24.0f},
      {99, 1, 0.5f, 1, 1, 0.5f, 49.5f},
  };
  for (const Case& c : cases) {
    const auto owner = std::make_unique<RecorderState>();
    RecorderState& state = *owner;
    state.view.zoomStep = c.zoomStep;
    state.scales.samplePeriodMs = c.samplePeriodMs;
    UpdateScaleValues(state.scales, state.view, c.scrollPosition);
    EXPECT_EQ(state.view.gridOffset, c.gridOffset) << c.scrollPosition;
    EXPECT_EQ(state.view.labelOffset, c.labelOffset) << c.scrollPosition;
    EXPECT_EQ(state.view.msPerPixel, c.msPerPixel) << c.scrollPosition;
    EXPECT_EQ(state.view.leftEdgeMs, c.leftEdgeMs) << c.scrollPosition;
  }
}

TEST(ScaleRenderer, VoltsLabelsEndAtX30) {
  struct Case {
    uint8_t adapterType;
    int speedButton;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {1, 4, {"1V", "0,9V", "0,8V", "0,7V", "0,6V", "0,5V", "0,4V", "0,3V", "0,2V", "0,1V", "0V"}},
      {2,
       1,
       {"50mV", "40mV", "30mV", "20mV", "10mV", "0mV", "-10mV", "-20mV", "-30mV", "-40mV",
        "-50mV"}},
      // 5 × 0.1 − 0.5 leaves 7.45e-9 in single precision; it reads 0V.
      {2,
       4,
       {"0,5V", "0,4V", "0,3V", "0,2V", "0,1V", "0V", "-0,1V", "-0,2V", "-0,3V", "-0,4V", "-0,5V"}},
      {0,
       5,
       {"1V", "0,8V", "0,6V", "0,4V", "0,2V", "0V", "-0,2V", "-0,4V", "-0,6V", "-0,8V", "-1V"}},
      {2, 6, {"2,5V", "2V", "1,5V", "1V", "0,5V", "0V", "-0,5V", "-1V", "-1,5V", "-2V", "-2,5V"}},
      {1, 10, {"100V", "90V", "80V", "70V", "60V", "50V", "40V", "30V", "20V", "10V", "0V"}},
  };
  for (const Case& c : cases) {
    Scene scene;
    scene.state->settings.adapterType = c.adapterType;
    SelectVoltsPerDiv(scene.state->scales, c.speedButton);
    scene.Draw();
    ASSERT_GE(scene.text.drawn.size(), 11u);
    for (int i = 0; i <= 10; ++i) {
      const DrawnText& drawn = scene.text.drawn[static_cast<std::size_t>(i)];
      const std::string& label = c.labels[static_cast<std::size_t>(i)];
      EXPECT_EQ(drawn.text, label) << "type " << int{c.adapterType} << " row " << i;
      EXPECT_EQ(drawn.left, 30 - 5 * static_cast<int>(label.size())) << label;
      EXPECT_EQ(drawn.top, 25 + 25 * i) << label;
    }
  }
}

TEST(ScaleRenderer, TimeLabelsCentredUnderTicksAndEdges) {
  struct Case {
    const char* name;
    int scrollPosition;
    int32_t zoomStep;
    int vdButton;
    bool absolute;
    TDateTime recordingStart;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      // 112.5 and 237.5 ms are cut to whole milliseconds.
      {"start-up",
       0,
       1,
       2,
       false,
       0,
       {"110,288 00:00:00:050", "235,288 00:00:00:112", "360,288 00:00:00:175",
        "485,288 00:00:00:237", "10,298 00:00:00:000", "510,298 00:00:00:250"}},
      {"absolute with no recording",
       0,
       1,
       2,
       true,
       0,
       {"110,288 00:00:00:050", "235,288 00:00:00:112", "360,288 00:00:00:175",
        "485,288 00:00:00:237", "245,298 30:12:1899", "10,298 00:00:00:000",
        "510,298 00:00:00:250"}},
      {"scrolled and zoomed",
       1000,
       4,
       2,
       false,
       0,
       {"60,288 00:00:00:600", "185,288 00:00:00:850", "310,288 00:00:01:100",
        "435,288 00:00:01:350", "10,298 00:00:00:500", "510,298 00:00:01:500"}},
      {"one second per sample",
       3600,
       1,
       10,
       false,
       0,
       {"110,288 01:01:40:000", "235,288 01:03:45:000", "360,288 01:05:50:000",
        "485,288 01:07:55:000", "10,298 01:00:00:000", "510,298 01:08:20:000"}},
      {"clock time over midnight",
       0,
       1,
       2,
       true,
       DateTimeFromCivil(2024, 3, 15, 23, 59, 59, 900),
       {"110,288 23:59:59:950", "235,288 00:00:00:012", "360,288 00:00:00:075",
        "485,288 00:00:00:137", "245,298 15:03:2024", "10,298 23:59:59:900",
        "510,298 00:00:00:150"}},
  };
  for (const Case& c : cases) {
    Scene scene;
    scene.state->view.zoomStep = c.zoomStep;
    scene.state->recording.recordingStart = c.recordingStart;
    SelectSamplePeriod(scene.state->scales, c.vdButton);
    scene.Draw(c.absolute, c.scrollPosition);
    EXPECT_EQ(scene.TimeTexts(), c.texts) << c.name;
    for (const DrawnText& drawn : scene.text.drawn) {
      EXPECT_EQ(drawn.textColour, kBlack) << drawn.text;
      EXPECT_EQ(drawn.backgroundColour, kSilver) << drawn.text;
    }
  }
}

TEST(ScaleRenderer, MarksTicksAndClearedStrips) {
  Scene scene;
  scene.Draw();
  const Canvas& w = scene.window;
  struct Case {
    const char* what;
    int x, y;
    TColor colour;
  };
  std::vector<Case> cases = {
      {"strip corner", 0, 20, kSilver},     {"strip corner", 37, 289, kSilver},
      {"strip corner", 2, 282, kSilver},    {"strip corner", 579, 314, kSilver},
      {"outside strips", 38, 20, kPaper},   {"outside strips", 0, 19, kPaper},
      {"outside strips", 1, 300, kPaper},   {"outside strips", 580, 300, kPaper},
      {"outside strips", 300, 315, kPaper}, {"plot untouched", 100, 100, kPaper},
      {"plot untouched", 40, 30, kPaper},   {"plot untouched", 539, 279, kPaper},
      {"volts mark", 31, 30, kSilver},      {"volts mark", 32, 30, kBlack},
      {"volts mark", 36, 30, kBlack},       {"volts mark", 37, 30, kSilver},
      {"volts mark", 32, 280, kBlack},      {"minor mark", 33, 35, kSilver},
      {"minor mark", 34, 35, kBlack},       {"minor mark", 36, 275, kBlack},
      {"minor mark", 34, 280, kBlack},      {"between marks", 35, 31, kSilver},
      {"labelled tick", 140, 286, kBlack},  {"labelled tick", 140, 287, kSilver},
      {"labelled tick", 515, 282, kBlack},  {"labelled tick", 515, 286, kBlack},
      {"end mark", 40, 282, kBlack},        {"end mark", 40, 295, kBlack},
      {"end mark", 40, 296, kSilver},       {"end mark", 540, 295, kBlack},
      {"end mark", 540, 296, kSilver},      {"no tick", 64, 282, kSilver},
      {"no tick", 66, 282, kSilver},        {"no tick", 41, 282, kSilver},
  };
  // Minor ticks 282 … 284 every 25 pixels from x = 65, under the plot's grid lines.
  for (int x = 65; x <= 540; x += 25) {
    for (int y = 282; y <= 284; ++y) cases.push_back({"minor tick", x, y, kBlack});
    const bool longer = x == 140 || x == 265 || x == 390 || x == 515 || x == 540;
    cases.push_back({"minor tick end", x, 285, longer ? kBlack : kSilver});
  }
  for (const Case& c : cases)
    EXPECT_EQ(w.Pixel(c.x, c.y), c.colour) << c.what << " " << c.x << "," << c.y;
}

TEST(ScaleRenderer, CaptionsFollowTheSelections) {
  struct Case {
    std::vector<int> speedButtons;
    std::vector<int> vdButtons;
    const char* voltsCaption;
    const char* periodCaption;
  };
  const Case cases[] = {
      {{}, {}, "V/dz=10mV", "T=0,5ms"},    {{7}, {}, "V/dz=1V", "T=0,5ms"},
      {{}, {10}, "V/dz=10mV", "T=1000ms"}, {{4}, {1}, "V/dz=0,1V", "T=0,2ms"},
      {{6}, {8}, "V/dz=0,5V", "T=50ms"},   {{3, 9}, {3, 7}, "V/dz=5V", "T=20ms"},
  };
  for (const Case& c : cases) {
    Scene scene;
    for (int b : c.speedButtons) SelectVoltsPerDiv(scene.state->scales, b);
    for (int b : c.vdButtons) SelectSamplePeriod(scene.state->scales, b);
    const ScaleCaptions captions = scene.Draw();
    EXPECT_EQ(captions.voltsPerDiv, c.voltsCaption);
    EXPECT_EQ(captions.samplePeriod, c.periodCaption);
    EXPECT_EQ(CaptionsOf(scene.state->scales).voltsPerDiv, c.voltsCaption);
  }
}

TEST(ScaleRenderer, ArithmeticFaultsRaiseTheirErrors) {
  struct Case {
    int32_t zoomStep;
    float samplePeriodMs;
    const char* error;
    const char* shownPeriodCaption;  // captions are shown before the drawing that fails
  };
  const Case cases[] = {{0, 0.5f, kDivisionByZero, ""},
                        {10, 3e38f, kFloatOverflow, ""},
                        {1, 1e17f, kInvalidFloatOperation, "T=1E+17ms"}};
  for (const Case& c : cases) {
    Scene scene;
    scene.state->view.zoomStep = c.zoomStep;
    scene.state->scales.samplePeriodMs = c.samplePeriodMs;
    std::string shown;
    try {
      DrawScales(scene.state->settings, scene.state->scales, scene.state->recording,
                 scene.state->view, scene.window, scene.text, false, 0,
                 [&](const ScaleCaptions& captions) { shown = captions.samplePeriod; });
      ADD_FAILURE() << "no error for " << c.error;
    } catch (const AppError& e) {
      EXPECT_STREQ(e.what(), c.error);
    }
    EXPECT_EQ(shown, c.shownPeriodCaption);
  }
}

}  // namespace
}  // namespace wyk
