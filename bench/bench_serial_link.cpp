// The serial link against the simulated adapter, through QSerialPort and a pseudo-terminal:
// how soon the handshake reply is there, and whether the simulator holds the 0.2 ms rate.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "Report.h"
#include "acquisition/QtSerialPort.h"
#include "acquisition/SerialLink.h"
#include "app/RecorderState.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

const uint8_t kHandshake[] = {0x00, 0x55, 0x00, 0x00, 0x00, 0x55};
// AC, 10 ms, DC offset 120, 10 mV, checksum; then the stop byte.
const uint8_t kSettingsAndStop[] = {0x00, 0x69, 0x78, 0x80, 0x01, 0x62, 0x00};
const uint8_t kSettings02ms[] = {0x00, 0x64, 0x78, 0x80, 0x01, 0x5D};

// The simulator (type 2, sine) as a child process; its device is the first line it prints.
class Simulator {
 public:
  Simulator() {
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    char* argv[] = {const_cast<char*>(ADAPTER_SIM_PATH), nullptr};
    posix_spawn(&pid_, ADAPTER_SIM_PATH, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    for (char c; read(fds[0], &c, 1) == 1 && c != '\n';) device_ += c;
    close(fds[0]);
  }
  ~Simulator() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  const std::string& Device() const { return device_; }

 private:
  pid_t pid_ = -1;
  std::string device_;
};

Simulator* simulator = nullptr;

void DrainAfterStop(wyk::SerialPort& port) {
  port.Pause(2);
  uint8_t junk[256];
  while (port.BytesWaiting() > 0) port.Read(junk, sizeof junk);
}

// From writing the handshake to holding the reply, polling without pauses.
void BM_HandshakeReply(benchmark::State& state) {
  wyk::QtSerialPort port;
  if (!port.Open(simulator->Device())) {
    state.SkipWithError("cannot open the simulator's device");
    return;
  }
  port.ApplyLineSettings({115200, false, true});
  for (auto _ : state) {
    const auto start = Clock::now();
    port.Write(kHandshake, sizeof kHandshake);
    while (port.BytesWaiting() == 0) std::this_thread::yield();
    uint8_t reply;
    port.Read(&reply, 1);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    port.Write(kSettingsAndStop, sizeof kSettingsAndStop);
    DrainAfterStop(port);
  }
}
BENCHMARK(BM_HandshakeReply)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

// The program's own detection: its polls are 20 ms apart.
void BM_DetectAdapter(benchmark::State& state) {
  auto recorder = std::make_unique<wyk::RecorderState>();
  recorder->settings.comPortNumber = 1;
  recorder->settings.comDevicePaths[1] = simulator->Device();
  recorder->settings.adapterType = 2;
  wyk::SerialLink link(wyk::MakeQtSerialPort);
  for (auto _ : state) {
    state.PauseTiming();
    link.OpenPort(recorder->settings);
    state.ResumeTiming();
    if (link.DetectAdapter(recorder->settings, recorder->live) != 0)
      state.SkipWithError("no reply");
    state.PauseTiming();
    link.SendSettings(recorder->settings, recorder->scales, recorder->live);
    link.StopAndClosePort(recorder->live);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DetectAdapter)->Iterations(20)->Unit(benchmark::kMillisecond);

// Bytes received over 10 s at 0.2 ms, read every 10 ms as a recording does, against the
// 5000 per second the rate promises.
void MeasureStreamRate() {
  wyk::QtSerialPort port;
  if (!port.Open(simulator->Device())) return;
  port.ApplyLineSettings({115200, false, true});
  port.Write(kHandshake, sizeof kHandshake);
  while (port.BytesWaiting() == 0) port.Pause(1);
  uint8_t buffer[4096];
  port.Read(buffer, 1);
  port.Write(kSettings02ms, sizeof kSettings02ms);
  const auto start = Clock::now();
  long long received = 0;
  double elapsed = 0;
  while (elapsed < 10.0) {
    port.Pause(10);
    for (int waiting; (waiting = port.BytesWaiting()) > 0;)
      received += port.Read(buffer, std::min<int>(waiting, sizeof buffer));
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  }
  const uint8_t stop = 0x00;
  port.Write(&stop, 1);
  const double expected = elapsed / 0.0002;
  std::printf("stream at 0.2 ms: %lld bytes in %.3f s, %.0f expected\n", received, elapsed,
              expected);
  std::printf("figure sim_stream_02ms_ratio %.4f ratio\n",
              static_cast<double>(received) / expected);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Simulator sim;
  if (sim.Device().empty()) {
    std::fprintf(stderr, "adapter-sim did not start: %s\n", ADAPTER_SIM_PATH);
    return 1;
  }
  simulator = &sim;
  const int status = bench::RunAndReport(
      argc, argv, {},
      {{"serial_reply_latency_ms", "BM_HandshakeReply/iterations:200/manual_time", "ms"},
       {"serial_detect_adapter_ms", "BM_DetectAdapter/iterations:20", "ms"}});
  MeasureStreamRate();
  return status;
}
