#include "view/Selectors.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/RecorderState.h"

namespace wyk {
namespace {

TEST(Selectors, SamplePeriodButtonsSetIndexDecimationAndPeriod) {
  struct Case {
    int vdButton;
    const char* caption;
    int32_t index;
    int32_t decimation;
    float periodMs;
  };
  const Case cases[] = {
      {1, "0,2ms", 0, 1, 0.2f},    {2, "0,5ms", 1, 1, 0.5f}, {3, "1ms", 2, 1, 1.0f},
      {4, "2ms", 3, 1, 2.0f},      {5, "5ms", 4, 1, 5.0f},   {6, "10ms", 5, 1, 10.0f},
      {7, "20ms", 5, 2, 20.0f},    {8, "50ms", 5, 5, 50.0f}, {9, "500ms", 5, 50, 500.0f},
      {10, "1s", 5, 100, 1000.0f},
  };
  for (const Case& c : cases) {
    auto state = std::make_unique<RecorderState>();
    const SamplePeriodRow& row = SelectSamplePeriod(state->scales, c.vdButton);
    EXPECT_EQ(row.name, "vd" + std::to_string(c.vdButton));
    EXPECT_EQ(row.caption, c.caption);
    EXPECT_EQ(state->scales.samplePeriodIndex, c.index) << c.caption;
    EXPECT_EQ(state->scales.sampleDecimation, c.decimation) << c.caption;
    EXPECT_EQ(state->scales.samplePeriodMs, c.periodMs) << c.caption;
  }
}

// Every case starts from the start values: rangeCode 0, softwareGain 1.0.
TEST(Selectors, VoltsPerDivRowsKeepRangeAndGainWhereTheyGiveNone) {
  struct Case {
    std::vector<int> presses;
    float voltsPerDiv;
    const char* unit;
    uint8_t index;
    uint8_t rangeCode;
    float gain;
    int pointerLeft, pointerTop;
  };
  const Case cases[] = {
      {{1}, 10.0f, "mV", 1, 0, 0.2f, 50, 86},    {{2}, 20.0f, "mV", 2, 0, 1.0f, 45, 72},
      {{3}, 50.0f, "mV", 3, 0, 1.0f, 45, 60},    {{4}, 0.1f, "V", 4, 1, 2.5f, 50, 50},
      {{5}, 0.2f, "V", 5, 1, 1.25f, 62, 41},     {{6}, 0.5f, "V", 6, 2, 1.0f, 85, 41},
      {{7}, 1.0f, "V", 7, 4, 1.0f, 100, 50},     {{8}, 2.0f, "V", 8, 0, 1.0f, 104, 60},
      {{9}, 5.0f, "V", 9, 0, 1.0f, 104, 72},     {{10}, 10.0f, "V", 10, 0, 1.0f, 100, 86},
      {{6, 8}, 2.0f, "V", 8, 2, 1.0f, 104, 60},  {{4, 9}, 5.0f, "V", 9, 1, 2.5f, 104, 72},
      {{5, 1}, 10.0f, "mV", 1, 1, 0.2f, 50, 86}, {{7, 2}, 20.0f, "mV", 2, 4, 1.0f, 45, 72},
  };
  for (const Case& c : cases) {
    auto state = std::make_unique<RecorderState>();
    const VoltsPerDivRow* row = nullptr;
    for (int press : c.presses) row = &SelectVoltsPerDiv(state->scales, press);
    const std::string pressed(row->caption);
    EXPECT_EQ(state->scales.voltsPerDiv, c.voltsPerDiv) << pressed;
    EXPECT_EQ(state->scales.voltsUnit, c.unit) << pressed;
    EXPECT_EQ(state->scales.voltsPerDivIndex, c.index) << pressed;
    EXPECT_EQ(state->scales.rangeCode, c.rangeCode) << pressed;
    EXPECT_EQ(state->scales.softwareGain, c.gain) << pressed;
    EXPECT_EQ(row->pointerLeft, c.pointerLeft) << pressed;
    EXPECT_EQ(row->pointerTop, c.pointerTop) << pressed;
  }
}

TEST(Selectors, CouplingButtonsSetPictureLabelAndMode) {
  struct Case {
    int speedButton;
    SwitchPicture picture;
    const char* label23;
    uint8_t mode;
  };
  const Case cases[] = {{11, SwitchPicture::Przel3, "AC", 0},
                        {12, SwitchPicture::Przel2, "GND", 2},
                        {13, SwitchPicture::Przel1, "DC", 128}};
  for (const Case& c : cases) {
    auto state = std::make_unique<RecorderState>();
    state->scales.voltsPerDiv = 0.5f;
    const CouplingRow& row = SelectCoupling(state->scales, c.speedButton);
    EXPECT_EQ(row.name, "SpeedButton" + std::to_string(c.speedButton));
    EXPECT_EQ(row.picture, c.picture);
    EXPECT_EQ(static_cast<int>(row.picture), 14 - c.speedButton);
    EXPECT_EQ(row.label23, c.label23);
    EXPECT_EQ(row.caption, c.label23);
    EXPECT_EQ(state->scales.couplingMode, c.mode);
    EXPECT_EQ(state->scales.voltsPerDiv, 0.5f);
  }
}

TEST(Selectors, Type1LimitsSetDcAndKeepTheVoltsRow) {
  auto state = std::make_unique<RecorderState>();
  SelectVoltsPerDiv(state->scales, 6);
  ApplyType1Limits(state->scales);
  EXPECT_EQ(state->scales.couplingMode, 128);
  EXPECT_EQ(state->scales.voltsPerDiv, 0.5f);
  EXPECT_EQ(state->scales.voltsPerDivIndex, 6);
  EXPECT_EQ(state->scales.rangeCode, 2);
  const std::vector<std::string_view> disabled(kType1Limits.disabledButtons.begin(),
                                               kType1Limits.disabledButtons.end());
  const std::vector<std::string_view> expected{
      "SpeedButton1",  "SpeedButton2",  "SpeedButton3",  "SpeedButton8",  "SpeedButton9",
      "SpeedButton10", "SpeedButton11", "SpeedButton12", "SpeedButton13", "vd1"};
  EXPECT_EQ(disabled, expected);
  EXPECT_EQ(kType1Limits.pointerLeft, 50);
  EXPECT_EQ(kType1Limits.pointerTop, 50);
  EXPECT_EQ(kType1Limits.picture, SwitchPicture::Przel1);
  EXPECT_EQ(kType1Limits.label23, "DC");
}

}  // namespace
}  // namespace wyk
