#include "view/Cursors.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/RecorderState.h"

namespace wyk {
namespace {

TEST(CursorTexts, TimesAndValues) {
  auto s = std::make_unique<RecorderState>();
  s->scales.samplePeriodMs = 0.2f;
  struct Time {
    int a, b;
    const char *aTime, *difference;
  };
  for (const Time t : {Time{5000, 0, "00:00:01:000", "00:00:01:000"},
                       Time{0, 5000, "00:00:00:000", "00:00:01:000"},
                       Time{4999, 1, "00:00:00:999", "00:00:00:999"}}) {
    s->cursors.cursorASample = t.a;
    s->cursors.cursorBSample = t.b;
    EXPECT_EQ(SampleTimeText(s->scales, s->recording, t.a), t.aTime);
    EXPECT_EQ(DifferenceTimeText(s->scales, s->recording, s->cursors), t.difference)
        << t.a << "-" << t.b;
  }
  s->recording.recordingStart =
      1.5;  // noon: cursor times are clock times whatever the time axis shows
  EXPECT_EQ(SampleTimeText(s->scales, s->recording, 5000), "12:00:01:000");

  struct Value {
    float voltsPerDiv;
    const char* unit;
    int a, b;
    const char *aValue, *difference;
  };
  const Value values[] = {{0.1f, "V", 25, 0, "0,100000001490116V", "0,100000001490116V"},
                          {10, "mV", 125, 250, "50mV", "-50mV"},
                          {10, "mV", 0, 0, "0mV", "0mV"}};
  for (const Value& v : values) {
    s->scales.voltsPerDiv = v.voltsPerDiv;
    s->scales.voltsUnit = v.unit;
    s->cursors.cursorALevel = v.a;
    s->cursors.cursorBLevel = v.b;
    EXPECT_EQ(LevelValueText(s->scales, v.a), v.aValue);
    EXPECT_EQ(DifferenceValueText(s->scales, s->cursors), v.difference);
  }
}

}  // namespace
}  // namespace wyk
