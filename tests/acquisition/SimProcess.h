#pragma once
// The built adapter-sim, run as a child process in a scratch folder of its own.

#include <sys/types.h>

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

namespace wyk::testing {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

class SimProcess {
 public:
  // Starts the simulator with `args` plus --link, --log-rx and --log-tx in its scratch
  // folder, and waits for the device line.
  explicit SimProcess(const std::vector<std::string>& args);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  const std::string& LinkPath() const { return linkPath_; }
  const std::string& DevicePath() const { return devicePath_; }
  // The next device line (after the cable is plugged in again); empty after 5 s.
  std::string NextDeviceLine();

  // Both do nothing once the simulator was terminated.
  void Signal(int signalNumber);
  // Sends the signal and returns the exit status: -1 when it did not exit normally, was still
  // running 5 s later (then it is killed) or had already been terminated.
  int Terminate(int signalNumber = SIGTERM);

  std::string RxLog() const;
  std::vector<uint8_t> TxLog() const;
  // Lines of the rx log that start with `prefix`.
  int CountRxLines(const std::string& prefix) const;
  // Waits up to 5 s until `count` lines of the rx log start with `prefix`; true when they did.
  bool WaitForRxLines(const std::string& prefix, int count = 1) const;

 private:
  ScratchDir dir_;
  std::string linkPath_, rxPath_, txPath_, devicePath_;
  pid_t pid_ = -1;
  int stdout_ = -1;
};

}  // namespace wyk::testing
