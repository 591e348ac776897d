#pragma once
// When the next live tick is due. A tick switches the timer off while it runs and on again at its
// end; were each tick to wait a whole interval after the previous one ended, the tick's own work
// and the timer's lateness would add up to 5-8 ticks a second lost. So the ticks keep to a grid
// of one interval from the start, each waiting only what is left of its interval. A tick that
// ends past its successor's time lets that one come at once and starts the grid again from there,
// so a slow tick is never followed by a burst.

#include <cstdint>

namespace wyk {

class TickSchedule {
 public:
  explicit TickSchedule(int intervalMs) : intervalMs_(intervalMs) {}

  // How long the timer waits for the first tick.
  int Start(int64_t nowMs) {
    dueMs_ = nowMs + intervalMs_;
    return intervalMs_;
  }

  // Called at the end of a tick: how long the timer waits for the next one.
  int DelayAfterTick(int64_t nowMs) {
    dueMs_ += intervalMs_;
    if (dueMs_ < nowMs) dueMs_ = nowMs;
    return static_cast<int>(dueMs_ - nowMs);
  }

 private:
  int intervalMs_;
  int64_t dueMs_ = 0;  // of the tick running or awaited
};

}  // namespace wyk
