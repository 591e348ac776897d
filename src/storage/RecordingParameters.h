#pragma once
// The parameter file (".osi"): section "Parm" with the start, the sampling period, the volts
// per division and its unit of a recording.

#include <optional>
#include <string>

#include "common/DateTime.h"

namespace wyk {

struct RecordingParameters {
  TDateTime start = 0;           // "PoczRej"
  float samplePeriodMs = 0.5f;   // "Prob"
  float voltsPerDiv = 10.0f;     // "VD"
  std::string voltsUnit = "mV";  // "JednV"
};

// Writes the four keys in the order "PoczRej", "Prob", "VD", "JednV", keeping every other line.
// Raises "Unable to write to …" when the file cannot be written.
void WriteRecordingParameters(const std::string& path, const RecordingParameters& parameters);

// The four values; each key that is missing, does not convert or lies outside its usable
// range takes its default. "JednV" is decoded to UTF-8 (see FileText).
RecordingParameters ReadRecordingParameters(const std::string& path);

// Usable values: every figure derived from them is a number the program writes without an
// exponent, and every time of a recording of the largest sample count lies within the
// calendar of date-times (years 1 … 9999).
inline constexpr long double kSmallestFigure = 0.00001L;
inline constexpr long double kCalendarMs = 3652059.0L * 86400000.0L;
inline constexpr long double kLongestSamplePeriodMs = kCalendarMs / 2147483647.0L;
inline constexpr long double kLargestFigure = 1e15L;  // 15 significant digits
bool UsableSamplePeriod(float ms);
bool UsableVoltsPerDiv(float voltsPerDiv);

// "yyyy-MM-dd hh:mm:ss:zzz", or the date alone when hours, minutes and seconds are all zero.
std::string StartText(TDateTime start);
// The value widened to double with up to 15 significant digits and a decimal comma.
std::string ParameterNumberText(float value);

// Lenient readers: "." or "," as the decimal separator; dates as yyyy-MM-dd, dd-MM-yyyy or
// dd.MM.yyyy, then optionally hours:minutes[:seconds], whatever follows the seconds ignored.
// A number is accepted only when it is finite and positive as a single.
std::optional<float> ParseParameterNumber(const std::string& text);
std::optional<TDateTime> ParseStartText(const std::string& text);

}  // namespace wyk
