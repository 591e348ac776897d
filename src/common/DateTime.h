#pragma once
// Date-times are days since 1899-12-30 00:00, the fraction being the time of day.

#include <string>

namespace wyk {

using TDateTime = double;

constexpr double kMsPerDay = 86400000.0;

// The date-time `ms` milliseconds after `base`, summed in extended precision.
TDateTime DateTimeAfterMs(TDateTime base, long double ms);

// "hh:mm:ss:zzz" of the time of day.
std::string TimeText(TDateTime value);

// "dd:mm:yyyy" of the date.
std::string DateText(TDateTime value);

// Short regional date "yyyy-MM-dd" followed by a space and the time text, as stored in
// a parameter file.
std::string DateTimeText(TDateTime value);

struct CivilDate {
  int year;
  int month;
  int day;
};

CivilDate DateOf(TDateTime value);
TDateTime DateTimeFromCivil(int year, int month, int day, int hour, int minute, int second,
                            int millisecond);

}  // namespace wyk
