// The live ticks' timing: each waits what is left of its 10 ms, and a slow one starts again.
#include <gtest/gtest.h>

#include "acquisition/TickSchedule.h"

namespace wyk {
namespace {

TEST(TickSchedule, KeepsTenMillisecondStepsAndStartsAgainAfterASlowTick) {
  struct End {
    int64_t atMs;
    int delayMs;
  };
  const End ends[] = {{10, 10}, {21, 9}, {30, 10}, {55, 0}, {56, 9}, {68, 7}};
  TickSchedule schedule(10);
  EXPECT_EQ(schedule.Start(0), 10);
  for (const End& end : ends) EXPECT_EQ(schedule.DelayAfterTick(end.atMs), end.delayMs) << end.atMs;
}

}  // namespace
}  // namespace wyk
