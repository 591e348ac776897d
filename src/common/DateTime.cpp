#include "common/DateTime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace wyk {
namespace {

// Day number 0 is 1899-12-30; civil-from-days works on days since 1970-01-01.
constexpr int64_t kDaysFrom1899To1970 = 25569;

CivilDate CivilFromUnixDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

int64_t UnixDaysFromCivil(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yoe = year - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// Whole days and milliseconds of the day; a negative date-time counts its fraction
// from midnight of the same day number, as the regional formatting does.
struct Split {
  int64_t days;
  int64_t msOfDay;
};

// Date-times outside years 1 … 9999 (and NaN) have no text of their own; they show as the
// nearest end of that range (NaN as day 0).
constexpr double kFirstDay = -693593;        // 0001-01-01
constexpr double kLastDay = 2958465.99999999;  // 9999-12-31 23:59:59.999

Split SplitDateTime(TDateTime value) {
  value = std::isnan(value) ? 0 : std::clamp(value, kFirstDay, kLastDay);
  double whole = std::trunc(value);
  int64_t ms = std::llround(std::fabs(value - whole) * kMsPerDay);
  int64_t days = static_cast<int64_t>(whole);
  if (ms >= static_cast<int64_t>(kMsPerDay)) {
    ms -= static_cast<int64_t>(kMsPerDay);
    days += value < 0 ? -1 : 1;
  }
  return {days, ms};
}

}  // namespace

TDateTime DateTimeAfterMs(TDateTime base, long double ms) {
  const long double days =
      (static_cast<long double>(base) * static_cast<long double>(kMsPerDay) + ms) /
      static_cast<long double>(kMsPerDay);
  return static_cast<double>(days);
}

std::string TimeText(TDateTime value) {
  const int64_t ms = SplitDateTime(value).msOfDay;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d:%03d", static_cast<int>(ms / 3600000),
                static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60),
                static_cast<int>(ms % 1000));
  return text;
}

CivilDate DateOf(TDateTime value) {
  return CivilFromUnixDays(SplitDateTime(value).days - kDaysFrom1899To1970);
}

std::string DateText(TDateTime value) {
  const CivilDate d = DateOf(value);
  char text[24];
  std::snprintf(text, sizeof text, "%02d:%02d:%04d", d.day, d.month, d.year);
  return text;
}

std::string DateTimeText(TDateTime value) {
  const CivilDate d = DateOf(value);
  char text[24];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d ", d.year, d.month, d.day);
  return text + TimeText(value);
}

TDateTime DateTimeFromCivil(int year, int month, int day, int hour, int minute, int second,
                            int millisecond) {
  const int64_t days = UnixDaysFromCivil(year, month, day) + kDaysFrom1899To1970;
  const double fraction = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / kMsPerDay;
  // Before day 0 the time of day counts away from zero, as the fraction is read back.
  return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}

}  // namespace wyk
