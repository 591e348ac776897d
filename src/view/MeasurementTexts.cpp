#include "view/MeasurementTexts.h"

#include "common/NumberText.h"
#include "view/CursorTexts.h"

namespace wyk {
namespace {

// Frequency, period and duty cycle: no more digits than the edges' timing holds.
constexpr int kTimingDigits = 7;

// "Minimum:" and the others padded to one column, as info lines them up.
std::string Padded(const std::string& label) {
  std::string text = label + ":";
  size_t letters = 0;  // characters, not bytes: the names have diacritics
  for (const char c : text) letters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return text + std::string(letters < 20 ? 20 - letters : 1, ' ');
}

std::string LevelNumber(long double level, float voltsPerDiv) {
  return NumberText(FractionalLevelValue(level, voltsPerDiv), 15);
}

}  // namespace

std::vector<FigureText> FigureTexts(const StretchFigures& figures, const Scales& scales) {
  const float vpd = scales.voltsPerDiv;
  const std::string& unit = scales.voltsUnit;
  std::vector<FigureText> texts = {
      {"Minimum", "Min", LevelValueNumber(figures.minLevel, vpd), unit, ""},
      {"Maksimum", "Max", LevelValueNumber(figures.maxLevel, vpd), unit, ""},
      {"Międzyszczytowa", "Pk-pk", LevelValueNumber(figures.maxLevel - figures.minLevel, vpd), unit,
       ""},
      {"Średnia", "Srednia", LevelNumber(figures.MeanLevel(), vpd), unit, ""},
      {"RMS", "RMS", LevelNumber(figures.RmsLevel(), vpd), unit, ""},
      {"RMS AC", "RMS AC", LevelNumber(figures.AcRmsLevel(), vpd), unit, ""},
      {"Częstotliwość", "Czestotliwosc", "", "Hz", ""},
      {"Okres", "Okres", "", "ms", ""},
      {"Wypełnienie", "Wypelnienie", "", "%", ""},
  };
  if (figures.count == 0) {
    for (FigureText& text : texts) text.number.clear(), text.why = "brak próbek";
    return texts;
  }
  const double periodMs = figures.period.value_or(0) * static_cast<double>(scales.samplePeriodMs);
  if (figures.period && periodMs > 0) {
    texts[6].number = NumberText(1000.0 / periodMs, kTimingDigits);
    texts[7].number = NumberText(periodMs, kTimingDigits);
    texts[8].number = NumberText(*figures.duty * 100.0, kTimingDigits - 3);
  } else {
    const std::string why = figures.period ? "okres próbkowania 0" : "mniej niż dwa pełne okresy";
    for (size_t i = 6; i < texts.size(); ++i) texts[i].why = why;
  }
  return texts;
}

std::string FigureValueText(const FigureText& figure) {
  if (figure.number.empty()) return "— (" + figure.why + ")";
  return figure.number + " " + figure.unit;
}

std::string FiguresReport(SampleSpan measured, const std::vector<FigureText>& texts) {
  std::string report =
      Padded("Odcinek") + (measured.Count() > 0 ? SamplesText(measured) : "brak próbek") + "\n";
  for (const FigureText& text : texts) report += Padded(text.name) + FigureValueText(text) + "\n";
  return report;
}

}  // namespace wyk
