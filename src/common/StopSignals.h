#pragma once
// Ctrl-C and the requests to end (SIGTERM, and SIGHUP where there is one) on both platforms.

#ifndef _WIN32
#include <signal.h>
#endif

namespace wyk {

// While one lives, the stop signals wait (POSIX; Windows has no such mask).
class StopSignalsHeld {
 public:
  StopSignalsHeld();
  ~StopSignalsHeld();
  StopSignalsHeld(const StopSignalsHeld&) = delete;
  StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

 private:
#ifndef _WIN32
  sigset_t before_;  // the mask to put back
#endif
};

// `handler` runs on each stop signal; it ends with EndBySignal.
void OnStopSignals(void (*handler)(int signalNumber));
// Raises the signal again with its default action, so the process ends as that signal ends it
// (once the handler returns, where the signal waits meanwhile).
void EndBySignal(int signalNumber);

}  // namespace wyk
