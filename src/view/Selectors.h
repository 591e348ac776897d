#pragma once
// The selector buttons of the main window as data: what each one stores in the recorder state,
// where it stands and what it shows. The shell lays the buttons out from these tables and calls
// the Select operations from their click handlers; it redraws the scales afterwards where noted.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "common/Colour.h"
#include "storage/RecordingParameters.h"
#include "view/Scales.h"

namespace wyk {

// Left, top, width, height within the control's parent.
struct Geometry {
  int left;
  int top;
  int width;
  int height;
};

// Sampling period, buttons vd1 … vd10 in SamplingPanel. The shell then calls DrawScales.
struct SamplePeriodRow {
  std::string_view name;
  std::string_view caption;
  Geometry button;
  int32_t samplePeriodIndex;  // the adapter's own rate code
  int32_t sampleDecimation;   // one sample kept of every N received
  float samplePeriodMs;
};
extern const std::array<SamplePeriodRow, 10> kSamplePeriodRows;

// vdButton 1 … 10 for vd1 … vd10.
const SamplePeriodRow& SelectSamplePeriod(Scales& scales, int vdButton);

// The period and the volts per division of the selected buttons, as pressing them sets them:
// a recording opened since then showed its own values, which a new recording does not take.
void TakeSelectedScales(Scales& scales);
// The period and the volts per division of an opened recording, as its parameter file gives them.
void TakeRecordingScales(Scales& scales, const RecordingParameters& parameters);

// Volts per division, SpeedButton1 … SpeedButton10 around the knob in VoltsPanel. An empty
// rangeCode or softwareGain keeps the previous value. The shell moves Image4 to `pointer` and
// calls DrawScales.
struct VoltsPerDivRow {
  std::string_view name;
  std::string_view caption;
  Geometry button;
  TColor captionColour;
  float voltsPerDiv;
  std::string_view voltsUnit;
  int pointerLeft;  // Image4
  int pointerTop;
  uint8_t voltsPerDivIndex;
  std::optional<uint8_t> rangeCode;
  std::optional<float> softwareGain;
};
extern const std::array<VoltsPerDivRow, 10> kVoltsPerDivRows;

// speedButton 1 … 10 for SpeedButton1 … SpeedButton10: both halves below.
const VoltsPerDivRow& SelectVoltsPerDiv(Scales& scales, int speedButton);

// The click sets voltsPerDiv and voltsUnit, redraws the scales, and only then the adapter's
// range values (voltsPerDivIndex, rangeCode, softwareGain), so a failed redraw leaves those.
void SetVoltsPerDivScale(Scales& scales, const VoltsPerDivRow& row);
void SetVoltsPerDivRange(Scales& scales, const VoltsPerDivRow& row);

// The three hidden pictures of the slide switch, by the number in their names.
enum class SwitchPicture { Przel1 = 1, Przel2 = 2, Przel3 = 3 };

// Coupling, SpeedButton11 … SpeedButton13 beside the switch Przelacznik. The shell copies the
// picture into Przelacznik and sets Label23; nothing is redrawn.
struct CouplingRow {
  std::string_view name;
  std::string_view caption;
  Geometry button;
  SwitchPicture picture;
  std::string_view label23;
  uint8_t couplingMode;
};
extern const std::array<CouplingRow, 3> kCouplingRows;

// speedButton 11 … 13 for SpeedButton11 … SpeedButton13.
const CouplingRow& SelectCoupling(Scales& scales, int speedButton);

// Time-axis mode, t1 and t2 in Panel1. The shell then calls DrawScales(absolute).
struct TimeScaleRow {
  std::string_view name;
  std::string_view hint;
  Geometry button;
  bool absolute;
};
extern const std::array<TimeScaleRow, 2> kTimeScaleRows;

void SelectTimeScale(Scales& scales, bool absolute);

// Adapter type 1 accepts only 100 mV … 1 V, DC coupling and periods from 0.5 ms.
struct Type1Limits {
  std::array<std::string_view, 10> disabledButtons;
  int pointerLeft;
  int pointerTop;
  SwitchPicture picture;
  std::string_view label23;
  uint8_t couplingMode;
};
extern const Type1Limits kType1Limits;

// Sets couplingMode to DC; the shell disables the buttons, moves Image4, switches the picture
// and sets Label23. The volts-per-division values stay as they are.
void ApplyType1Limits(Scales& scales);

// Pictures and captions that the selectors change, within their parents.
constexpr Geometry kKnobImage1{36, 32, 80, 80};          // VoltsPanel
constexpr Geometry kPointerImage4{48, 86, 7, 7};         // VoltsPanel, design-time place
constexpr Geometry kSwitchPrzelacznik{153, 34, 16, 64};  // VoltsPanel
constexpr Geometry kLabel21{8, 332, 64, 13};             // main window
constexpr Geometry kLabel22{8, 344, 64, 13};
constexpr Geometry kLabel23{8, 356, 64, 13};

}  // namespace wyk
