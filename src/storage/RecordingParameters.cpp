#include "storage/RecordingParameters.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "common/FileText.h"
#include "common/NumberText.h"
#include "storage/ProfileFile.h"

namespace wyk {
namespace {

constexpr const char* kSection = "Parm";

std::string Trimmed(const std::string& text) {
  const size_t b = text.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return text.substr(b, text.find_last_not_of(" \t") - b + 1);
}

// Reads up to `maxDigits` digits at `pos`; nothing when there is none.
std::optional<int> Digits(const std::string& text, size_t& pos, size_t maxDigits) {
  int value = 0;
  size_t n = 0;
  while (pos < text.size() && n < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10 + (text[pos++] - '0');
    ++n;
  }
  if (n == 0) return std::nullopt;
  return value;
}

bool Expect(const std::string& text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

bool IsLeapYear(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

bool ValidDate(int year, int month, int day) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  return day <= kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

// yyyy-MM-dd, dd-MM-yyyy or dd.MM.yyyy.
std::optional<CivilDate> ParseDate(const std::string& text, size_t& pos) {
  const size_t begin = pos;
  const auto first = Digits(text, pos, 4);
  if (!first) return std::nullopt;
  const bool yearFirst = pos - begin == 4;
  const char separator = pos < text.size() ? text[pos] : '\0';
  if (separator != '-' && !(separator == '.' && !yearFirst)) return std::nullopt;
  ++pos;
  const auto month = Digits(text, pos, 2);
  if (!month || !Expect(text, pos, separator)) return std::nullopt;
  const size_t lastBegin = pos;
  const auto last = Digits(text, pos, 4);
  if (!last || (!yearFirst && pos - lastBegin != 4)) return std::nullopt;
  const CivilDate date =
      yearFirst ? CivilDate{*first, *month, *last} : CivilDate{*last, *month, *first};
  if (!ValidDate(date.year, date.month, date.day)) return std::nullopt;
  return date;
}

}  // namespace

std::string StartText(TDateTime start) {
  const std::string text = DateTimeText(start);
  const std::string date = text.substr(0, text.find(' '));
  return text.compare(date.size() + 1, 8, "00:00:00") == 0 ? date : text;
}

std::string ParameterNumberText(float value) {
  return NumberText(static_cast<double>(value), 15);
}

std::optional<float> ParseParameterNumber(const std::string& text) {
  std::string t = Trimmed(text);
  for (char& c : t)
    if (c == ',') c = '.';
  double value = 0;
  const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || error != std::errc() || end != t.data() + t.size()) return std::nullopt;
  const float single = static_cast<float>(value);
  if (!std::isfinite(value) || !std::isnormal(single) || single <= 0) return std::nullopt;
  return single;
}

std::optional<TDateTime> ParseStartText(const std::string& text) {
  const std::string t = Trimmed(text);
  size_t pos = 0;
  const auto date = ParseDate(t, pos);
  if (!date) return std::nullopt;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  if (pos < t.size()) {
    if (t[pos] != ' ' && t[pos] != '\t') return std::nullopt;
    while (pos < t.size() && (t[pos] == ' ' || t[pos] == '\t')) ++pos;
    const auto h = Digits(t, pos, 2);
    std::optional<int> m, s;
    if (h && Expect(t, pos, ':')) m = Digits(t, pos, 2);
    if (!m) return std::nullopt;
    const size_t beforeSeconds = pos;
    if (Expect(t, pos, ':') && !(s = Digits(t, pos, 2))) pos = beforeSeconds;
    // A decimal separator and digits after the seconds are milliseconds; anything else,
    // such as ":zzz", is ignored.
    if (s && pos + 1 < t.size() && (t[pos] == '.' || t[pos] == ',')) {
      size_t p = pos + 1;
      const size_t from = p;
      if (const auto ms = Digits(t, p, 3))
        millisecond = *ms * (p - from == 1 ? 100 : p - from == 2 ? 10 : 1);
    }
    hour = *h, minute = *m, second = s.value_or(0);
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
  }
  return DateTimeFromCivil(date->year, date->month, date->day, hour, minute, second, millisecond);
}

void WriteRecordingParameters(const std::string& path, const RecordingParameters& parameters) {
  WriteProfileString(path, kSection, "PoczRej", StartText(parameters.start));
  WriteProfileString(path, kSection, "Prob", ParameterNumberText(parameters.samplePeriodMs));
  WriteProfileString(path, kSection, "VD", ParameterNumberText(parameters.voltsPerDiv));
  WriteProfileString(path, kSection, "JednV", parameters.voltsUnit);
}

bool UsableSamplePeriod(float ms) {
  // The frequency labels, 500 / ms kHz at most, need no exponent from the smallest figure on.
  return ms >= kSmallestFigure && ms <= kLongestSamplePeriodMs;
}

bool UsableVoltsPerDiv(float voltsPerDiv) {
  // Cursor values run from level 1 (0.04 divisions) to the ten divisions of the axis.
  const long double v = voltsPerDiv;
  return v * 0.04L >= kSmallestFigure && v * 10 < kLargestFigure;
}

RecordingParameters ReadRecordingParameters(const std::string& path) {
  RecordingParameters p;
  const auto entry = [&](const char* key) { return ReadProfileString(path, kSection, key, ""); };
  const auto usable = [](std::optional<float> value, bool (*test)(float), float fallback) {
    return value && test(*value) ? *value : fallback;
  };
  p.start = ParseStartText(entry("PoczRej")).value_or(p.start);
  p.samplePeriodMs =
      usable(ParseParameterNumber(entry("Prob")), UsableSamplePeriod, p.samplePeriodMs);
  // The file's unit belongs to the file's figure: the default figure keeps the default unit.
  if (const auto volts = ParseParameterNumber(entry("VD")); volts && UsableVoltsPerDiv(*volts)) {
    p.voltsPerDiv = *volts;
    p.voltsUnit = FileText(ReadProfileString(path, kSection, "JednV", p.voltsUnit));
  }
  return p;
}

}  // namespace wyk
