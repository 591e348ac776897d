// A 30 s live recording at 0.2 ms from the simulated adapter, through the real main window on
// the offscreen platform: the process's CPU time while it records, the ticks per second, the
// longest gap between two ticks and the flushes to the disk per second. Then the same 30 s
// through the command line's record: its CPU time. Prints the "figure" lines bench/live
// collects.
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/Application.h"
#include "app/RecorderState.h"
#include "app/Windows.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Spawns `args` with its standard output on a pipe and waits for its first line.
pid_t SpawnReading(std::vector<std::string> args, int& out) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  out = fds[0];
  return pid;
}

// The CPU seconds a process has used so far, from /proc.
double ProcessCpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string skip;
  for (int i = 3; i < 14; ++i) fields >> skip;  // up to utime, the 14th field
  double user = 0, system = 0;
  fields >> user >> system;
  return (user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Percent of one core that `wykresownik-cli record` takes over `seconds` of recording at
// 0.2 ms, from 3 s after its start (the handshake done), as the window's figure is taken from
// Start; `wholeRun` gets the figure of its whole run, start-up included.
double RecordCliCpuPercent(const std::filesystem::path& dir, int seconds, double& wholeRun) {
  int out = -1;
  const std::string link = (dir / "cli-adapter").string();
  const pid_t sim = SpawnReading({ADAPTER_SIM_PATH, "--signal", "sine", "--link", link}, out);
  for (char c; read(out, &c, 1) == 1 && c != '\n';) continue;  // the device line: ready
  close(out);
  const pid_t cli = SpawnReading(
      {WYK_CLI_PATH, "record", (dir / "cli").string(), "--type", "2", "--device", link, "--period",
       "0,2ms", "--range", "1V", "--duration", std::to_string(seconds + 4)},
      out);
  const auto start = Clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(3));
  const double before = ProcessCpuSeconds(cli);
  const auto recording = Clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const double during = ProcessCpuSeconds(cli) - before;
  const double recorded = std::chrono::duration<double>(Clock::now() - recording).count();
  int status = 0;
  rusage usage{};
  wait4(cli, &status, 0, &usage);
  close(out);
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();
  kill(sim, SIGTERM);
  waitpid(sim, nullptr, 0);
  wholeRun = 100.0 *
             (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
              (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6) /
             wall;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 100.0 * during / recorded : -1;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  wyk::Application app(argc, argv);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("wyk-live-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string link = (dir / "adapter").string();
  const std::string settings = (dir / "wykresownik.INI").string();
  std::ofstream(settings) << "[COM]\r\nPort=1\r\nTyp=2\r\n";

  int out = -1;
  const pid_t sim = SpawnReading(
      {ADAPTER_SIM_PATH, "--signal", "sine", "--link", link, "--settings", settings}, out);
  for (char c; read(out, &c, 1) == 1 && c != '\n';) continue;  // the device line: ready
  close(out);

  int status = 0;
  {
    auto state = std::make_unique<wyk::RecorderState>();
    wyk::Windows windows = wyk::CreateWindows(*state, settings);
    wyk::TForm1& f = *windows.form1;
    f.show();
    f.FileNameEdit->SetText(QString::fromStdString((dir / "bench.osr").string()));
    f.NewRecording();
    f.vd(1)->click();  // 0,2 ms
    std::vector<Clock::time_point> ticks;
    ticks.reserve(static_cast<size_t>(seconds) * 200);
    QObject::connect(f.Timer1, &QTimer::timeout, [&] { ticks.push_back(Clock::now()); });
    f.StartButton->click();
    const double cpuBefore = CpuSeconds();
    const auto wallBefore = Clock::now();
    // The program's own event loop, as it runs while recording.
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = CpuSeconds() - cpuBefore;
    const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
    const int32_t samples = state->live.recordedSampleCount;
    const int64_t syncs = state->recording.dataFile.Syncs();
    f.StopButton->click();
    double maxGapMs = 0;
    for (size_t i = 1; i < ticks.size(); ++i)
      maxGapMs = std::max(
          maxGapMs, std::chrono::duration<double, std::milli>(ticks[i] - ticks[i - 1]).count());
    std::printf("samples %d in %.1f s (%.0f /s)\n", samples, wall, samples / wall);
    std::printf("figure live_cpu_percent %.2f %%\n", 100.0 * cpu / wall);
    std::printf("figure live_ticks_per_s %.1f /s\n", ticks.size() / wall);
    std::printf("figure live_max_tick_gap_ms %.1f ms\n", maxGapMs);
    std::printf("figure live_fdatasync_per_s %.2f /s\n", syncs / wall);
    status = samples > 0 ? 0 : 1;
  }
  kill(sim, SIGTERM);
  waitpid(sim, nullptr, 0);
  double cliWholeRun = 0;
  const double cliPercent = RecordCliCpuPercent(dir, seconds, cliWholeRun);
  std::printf("record whole run, start-up included: %.2f %% of a core\n", cliWholeRun);
  std::printf("figure record_cli_cpu_percent %.2f %%\n", cliPercent);
  if (cliPercent < 0) status = 1;
  std::filesystem::remove_all(dir);
  return status;
}
