#pragma once
// The figures of a stretch as the window, the command line and CSV show them: a name, a number
// with a decimal comma and its unit, or why the figure does not apply.

#include <string>
#include <vector>

#include "view/Measurements.h"
#include "view/Scales.h"

namespace wyk {

struct FigureText {
  std::string name;     // "Średnia"
  std::string csvName;  // "Srednia", without diacritics, as spreadsheets' imports want
  std::string number;   // "0,5"; empty when the figure does not apply
  std::string unit;     // "V", "Hz", "ms", "%"
  std::string why;      // why it does not apply
};

// Minimum, maximum, peak-to-peak, mean, RMS, AC RMS, frequency, period and duty cycle. Levels
// read as the cursors read them, in the recording's unit.
std::vector<FigureText> FigureTexts(const StretchFigures& figures, const Scales& scales);

// "0,5 V", or "—" with the reason in brackets.
std::string FigureValueText(const FigureText& figure);

// The samples measured and the figures, one "name:" and value a line, the values in a column:
// what the command line prints and the window copies.
std::string FiguresReport(SampleSpan measured, const std::vector<FigureText>& texts);

}  // namespace wyk
