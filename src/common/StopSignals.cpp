#include "common/StopSignals.h"

#include <csignal>

namespace wyk {

#ifdef _WIN32

constexpr int kStopSignals[] = {SIGINT, SIGTERM};

StopSignalsHeld::StopSignalsHeld() {}
StopSignalsHeld::~StopSignalsHeld() = default;

void OnStopSignals(void (*handler)(int)) {
  for (int s : kStopSignals) std::signal(s, handler);
}

#else

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

StopSignalsHeld::StopSignalsHeld() {
  sigset_t stops;
  sigemptyset(&stops);
  for (int s : kStopSignals) sigaddset(&stops, s);
  ::sigprocmask(SIG_BLOCK, &stops, &before_);
}

StopSignalsHeld::~StopSignalsHeld() {
  ::sigprocmask(SIG_SETMASK, &before_, nullptr);
}

void OnStopSignals(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  for (int s : kStopSignals) ::sigaction(s, &action, nullptr);
}

#endif

void EndBySignal(int signalNumber) {
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

}  // namespace wyk
