#include "common/DateTime.h"

#include <gtest/gtest.h>

#include <limits>

namespace wyk {
namespace {

TEST(DateTime, MillisecondsAfterBaseFollowTheDayRule) {
  struct Case {
    TDateTime base;
    long double ms;
    const char* time;
    const char* date;
  };
  const TDateTime noon = DateTimeFromCivil(2026, 12, 8, 12, 0, 0, 0);
  const Case cases[] = {
      {0, 0, "00:00:00:000", "30:12:1899"},
      {0, 1250, "00:00:01:250", "30:12:1899"},
      {0, 112, "00:00:00:112", "30:12:1899"},
      {0, 0.4L, "00:00:00:000", "30:12:1899"},  // the nearest whole millisecond
      {0, 86399999, "23:59:59:999", "30:12:1899"},
      {0, 86400000, "00:00:00:000", "31:12:1899"},  // relative times wrap after 24 hours
      {noon, 0, "12:00:00:000", "08:12:2026"},
      {noon, 43200000 + 7, "00:00:00:007", "09:12:2026"},
      {DateTimeFromCivil(2000, 2, 29, 23, 59, 59, 999), 1, "00:00:00:000", "01:03:2000"},
      // Beyond years 1 … 9999 the nearest end of that range; NaN as day 0.
      {1e300, 0, "23:59:59:999", "31:12:9999"},
      {-1e300, 0, "00:00:00:000", "01:01:0001"},
      {DateTimeFromCivil(1800, 3, 1, 18, 30, 0, 0), 0, "18:30:00:000", "01:03:1800"},
      {std::numeric_limits<double>::quiet_NaN(), 0, "00:00:00:000", "30:12:1899"},
  };
  for (const Case& c : cases) {
    const TDateTime t = DateTimeAfterMs(c.base, c.ms);
    EXPECT_EQ(TimeText(t), c.time) << static_cast<double>(c.ms);
    EXPECT_EQ(DateText(t), c.date) << static_cast<double>(c.ms);
  }
}

TEST(DateTime, CivilDatesCountDaysFrom1899) {
  EXPECT_EQ(DateTimeFromCivil(1899, 12, 30, 0, 0, 0, 0), 0.0);
  EXPECT_EQ(DateTimeFromCivil(1900, 1, 1, 0, 0, 0, 0), 2.0);
  EXPECT_EQ(DateTimeFromCivil(1970, 1, 1, 0, 0, 0, 0), 25569.0);
  EXPECT_EQ(DateTimeFromCivil(2026, 12, 8, 18, 0, 0, 0), 46364.75);
  EXPECT_EQ(DateTimeText(DateTimeFromCivil(2026, 12, 8, 9, 5, 7, 42)), "2026-12-08 09:05:07:042");
}

}  // namespace
}  // namespace wyk
