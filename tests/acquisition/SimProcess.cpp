#include "acquisition/SimProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace wyk::testing {
namespace {

constexpr auto kPatience = std::chrono::seconds(5);

pid_t Spawn(const std::vector<std::string>& args, int& stdoutFd) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  std::vector<std::string> all{ADAPTER_SIM_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, ADAPTER_SIM_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (failed) {
    close(pipeFds[0]);
    throw std::runtime_error("posix_spawn " ADAPTER_SIM_PATH);
  }
  stdoutFd = pipeFds[0];
  return pid;
}

// One line from `fd`, read byte by byte so nothing after it is taken; empty on timeout or end.
std::string ReadLine(int fd) {
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    char c;
    if (read(fd, &c, 1) != 1) break;
    if (c == '\n') return line;
    line += c;
  }
  return "";
}

// The exit status, or -1; a child still running after 5 s is killed and counts as -1.
int WaitForExit(pid_t pid) {
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  pid_t done;
  while ((done = waitpid(pid, &status, WNOHANG)) == 0 || (done < 0 && errno == EINTR)) {
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(pid, SIGKILL);
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) continue;
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (done != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "wyk-serial-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

SimProcess::SimProcess(const std::vector<std::string>& args)
    : linkPath_(dir_ / "adapter"), rxPath_(dir_ / "rx.log"), txPath_(dir_ / "tx.bin") {
  std::vector<std::string> all = args;
  all.insert(all.end(), {"--link", linkPath_, "--log-rx", rxPath_, "--log-tx", txPath_});
  pid_ = Spawn(all, stdout_);
  devicePath_ = ReadLine(stdout_);
}

SimProcess::~SimProcess() {
  Terminate();
  if (stdout_ >= 0) close(stdout_);
}

std::string SimProcess::NextDeviceLine() {
  return ReadLine(stdout_);
}

// Never kill() without a child of our own: pid -1 would signal every process we may signal.
void SimProcess::Signal(int signalNumber) {
  if (pid_ <= 0) return;
  kill(pid_, signalNumber);
}

int SimProcess::Terminate(int signalNumber) {
  if (pid_ <= 0) return -1;
  kill(pid_, signalNumber);
  const int status = WaitForExit(pid_);
  pid_ = -1;
  return status;
}

std::string SimProcess::RxLog() const {
  return ReadFile(rxPath_);
}

std::vector<uint8_t> SimProcess::TxLog() const {
  const std::string bytes = ReadFile(txPath_);
  return {bytes.begin(), bytes.end()};
}

int SimProcess::CountRxLines(const std::string& prefix) const {
  std::istringstream lines(RxLog());
  int found = 0;
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(prefix, 0) == 0) ++found;
  return found;
}

bool SimProcess::WaitForRxLines(const std::string& prefix, int count) const {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (CountRxLines(prefix) < count) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace wyk::testing
