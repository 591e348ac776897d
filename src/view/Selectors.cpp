#include "view/Selectors.h"

#include <string>

namespace wyk {
namespace {

// Two rows of five buttons; the bottom row is one pixel lower.
constexpr Geometry TopRow(int left) {
  return {left, 16, 37, 16};
}
constexpr Geometry BottomRow(int left) {
  return {left, 32, 37, 15};
}
constexpr Geometry Knob(int left, int top, int width = 31) {
  return {left, top, width, 14};
}
constexpr Geometry Coupling(int top) {
  return {172, top, 20, 12};
}

}  // namespace

// The four slowest settings run the adapter at 10 ms and keep every N-th sample.
const std::array<SamplePeriodRow, 10> kSamplePeriodRows{{
    {"vd1", "0,2ms", TopRow(4), 0, 1, 0.2f},
    {"vd2", "0,5ms", TopRow(41), 1, 1, 0.5f},
    {"vd3", "1ms", TopRow(79), 2, 1, 1.0f},
    {"vd4", "2ms", TopRow(116), 3, 1, 2.0f},
    {"vd5", "5ms", TopRow(153), 4, 1, 5.0f},
    {"vd6", "10ms", BottomRow(4), 5, 1, 10.0f},
    {"vd7", "20ms", BottomRow(41), 5, 2, 20.0f},
    {"vd8", "50ms", BottomRow(79), 5, 5, 50.0f},
    {"vd9", "500ms", BottomRow(116), 5, 50, 500.0f},
    {"vd10", "1s", BottomRow(153), 5, 100, 1000.0f},
}};

// From 100 mV up the figure is held in volts. rangeCode and softwareGain serve adapter type 1.
const std::array<VoltsPerDivRow, 10> kVoltsPerDivRows{{
    {"SpeedButton1", "10mV", Knob(9, 90), kNavy, 10.0f, "mV", 50, 86, 1, {}, 0.2f},
    {"SpeedButton2", "20mV", Knob(4, 70), kNavy, 20.0f, "mV", 45, 72, 2, {}, 1.0f},
    {"SpeedButton3", "50mV", Knob(4, 52), kNavy, 50.0f, "mV", 45, 60, 3, {}, 1.0f},
    {"SpeedButton4", "100mV", Knob(12, 34), kBlack, 0.1f, "V", 50, 50, 4, 1, 2.5f},
    {"SpeedButton5", "200mV", Knob(36, 18), kBlack, 0.2f, "V", 62, 41, 5, 1, 1.25f},
    {"SpeedButton6", "500mV", Knob(84, 18), kBlack, 0.5f, "V", 85, 41, 6, 2, 1.0f},
    {"SpeedButton7", "1V", Knob(108, 34, 29), kBlack, 1.0f, "V", 100, 50, 7, 4, 1.0f},
    {"SpeedButton8", "2V", Knob(116, 52), kNavy, 2.0f, "V", 104, 60, 8, {}, {}},
    {"SpeedButton9", "5V", Knob(116, 70), kNavy, 5.0f, "V", 104, 72, 9, {}, {}},
    {"SpeedButton10", "10V", Knob(111, 90), kNavy, 10.0f, "V", 100, 86, 10, {}, {}},
}};

const std::array<CouplingRow, 3> kCouplingRows{{
    {"SpeedButton11", "AC", Coupling(32), SwitchPicture::Przel3, "AC", kCouplingAc},
    {"SpeedButton12", "GND", Coupling(60), SwitchPicture::Przel2, "GND", kCouplingGnd},
    {"SpeedButton13", "DC", Coupling(88), SwitchPicture::Przel1, "DC", kCouplingDc},
}};

const std::array<TimeScaleRow, 2> kTimeScaleRows{{
    {"t1", "Skala czasu relaywna", {268, 1, 26, 30}, false},
    {"t2", "Skala czasu absolutna", {294, 1, 26, 30}, true},
}};

const Type1Limits kType1Limits{
    {"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton8", "SpeedButton9",
     "SpeedButton10", "SpeedButton11", "SpeedButton12", "SpeedButton13", "vd1"},
    50,
    50,
    SwitchPicture::Przel1,
    "DC",
    kCouplingDc,
};

const SamplePeriodRow& SelectSamplePeriod(Scales& scales, int vdButton) {
  const SamplePeriodRow& row = kSamplePeriodRows.at(static_cast<std::size_t>(vdButton - 1));
  scales.samplePeriodIndex = row.samplePeriodIndex;
  scales.sampleDecimation = row.sampleDecimation;
  scales.samplePeriodMs = row.samplePeriodMs;
  return row;
}

void TakeSelectedScales(Scales& scales) {
  // The adapter's rate code and the decimation name one sampling button.
  for (const SamplePeriodRow& row : kSamplePeriodRows)
    if (row.samplePeriodIndex == scales.samplePeriodIndex &&
        row.sampleDecimation == scales.sampleDecimation)
      scales.samplePeriodMs = row.samplePeriodMs;
  for (const VoltsPerDivRow& row : kVoltsPerDivRows)
    if (row.voltsPerDivIndex == scales.voltsPerDivIndex) SetVoltsPerDivScale(scales, row);
}

void TakeRecordingScales(Scales& scales, const RecordingParameters& parameters) {
  scales.samplePeriodMs = parameters.samplePeriodMs;
  scales.voltsPerDiv = parameters.voltsPerDiv;
  scales.voltsUnit = parameters.voltsUnit;
}

const VoltsPerDivRow& SelectVoltsPerDiv(Scales& scales, int speedButton) {
  const VoltsPerDivRow& row = kVoltsPerDivRows.at(static_cast<std::size_t>(speedButton - 1));
  SetVoltsPerDivScale(scales, row);
  SetVoltsPerDivRange(scales, row);
  return row;
}

void SetVoltsPerDivScale(Scales& scales, const VoltsPerDivRow& row) {
  scales.voltsPerDiv = row.voltsPerDiv;
  scales.voltsUnit = std::string(row.voltsUnit);
}

void SetVoltsPerDivRange(Scales& scales, const VoltsPerDivRow& row) {
  scales.voltsPerDivIndex = row.voltsPerDivIndex;
  if (row.rangeCode) scales.rangeCode = *row.rangeCode;
  if (row.softwareGain) scales.softwareGain = *row.softwareGain;
}

const CouplingRow& SelectCoupling(Scales& scales, int speedButton) {
  const CouplingRow& row = kCouplingRows.at(static_cast<std::size_t>(speedButton - 11));
  scales.couplingMode = row.couplingMode;
  return row;
}

void SelectTimeScale(Scales& scales, bool absolute) {
  scales.timeScaleAbsolute = absolute;
}

void ApplyType1Limits(Scales& scales) {
  scales.couplingMode = kType1Limits.couplingMode;
}

}  // namespace wyk
