// adapter-sim: a simulated acquisition adapter on a pseudo-terminal (see --help).

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "PseudoTerminal.h"
#include "SimOptions.h"
#include "SimulatedAdapter.h"
#include "acquisition/PortName.h"
#include "common/Byte.h"
#include "common/Errors.h"
#include "config/Settings.h"
#include "storage/ProfileFile.h"

namespace {

volatile std::sig_atomic_t quitRequested = 0;
volatile std::sig_atomic_t cableToggleRequested = 0;

void OnQuit(int) {
  quitRequested = 1;
}
void OnCableToggle(int) {
  cableToggleRequested = 1;
}

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void Complain(const std::string& text) {
  std::fprintf(stderr, "adapter-sim: %s\n", text.c_str());
}

int OpenLog(const std::string& path) {
  if (path.empty()) return -1;
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) Complain("nie mogę utworzyć " + path);
  return fd;
}

void WriteAll(int fd, const void* data, size_t size) {
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(fd, p, size);
    if (n <= 0) return;
    p += n;
    size -= static_cast<size_t>(n);
  }
}

bool PointLinkAt(const std::string& linkPath, const std::string& target) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(linkPath, error))) fs::remove(linkPath, error);
  fs::create_symlink(target, linkPath, error);
  if (error) Complain(linkPath + ": " + error.message());
  return !error;
}

void RemoveLink(const std::string& linkPath) {
  std::error_code error;
  if (!linkPath.empty() &&
      std::filesystem::is_symlink(std::filesystem::symlink_status(linkPath, error)))
    std::filesystem::remove(linkPath, error);
}

// Points the program's port at `device`: COMn in [COM], n being the file's "Port" read as
// the program reads it (low 8 bits: Port=257 is port 1).
void WriteSettings(const std::string& settingsPath, const std::string& device) {
  const int port = wyk::LowByte(wyk::ReadIntegerEntry(settingsPath, "COM", "Port", 1));
  if (port < 1 || port > wyk::kMappedComPorts) {
    Complain("Port=" + std::to_string(port) + " poza 1..8, nic nie wpisano do " + settingsPath);
    return;
  }
  try {
    wyk::WriteProfileString(settingsPath, "COM", "COM" + std::to_string(port), device);
    Complain("COM" + std::to_string(port) + "=" + device + " w " + settingsPath);
  } catch (const wyk::AppError& e) {
    Complain(e.what());
  }
}

}  // namespace

int main(int argc, char** argv) {
  const sim::ParsedOptions parsed = sim::ParseSimOptions({argv + 1, argv + argc});
  if (!parsed.options) {
    Complain(parsed.error + " (opis opcji: --help)");
    return 2;
  }
  sim::SimOptions options = *parsed.options;
  if (options.help) {
    std::fputs(sim::kSimHelpText, stdout);
    return 0;
  }
  if (!options.settingsPath.empty() && !options.typeGiven) {
    // As the program reads it: the low 8 bits.
    const int type = wyk::LowByte(wyk::ReadIntegerEntry(options.settingsPath, "COM", "Typ", 2));
    if (type <= 2)
      options.behaviour.adapterType = type;
    else
      Complain("Typ=" + std::to_string(type) + " nieznany, przyjmuję typ 2");
  }
  namespace fs = std::filesystem;
  std::error_code error;
  if (!options.linkPath.empty() && fs::exists(fs::symlink_status(options.linkPath, error)) &&
      !fs::is_symlink(fs::symlink_status(options.linkPath, error))) {
    Complain(options.linkPath + " istnieje i nie jest dowiązaniem");
    return 1;
  }

  // The signals wait while the loop works and are taken only inside ppoll.
  sigset_t handled, unblocked;
  sigemptyset(&handled);
  for (int s : {SIGINT, SIGTERM, SIGHUP, SIGUSR1}) sigaddset(&handled, s);
  sigprocmask(SIG_BLOCK, &handled, &unblocked);
  struct sigaction quit = {};
  struct sigaction toggle = {};
  quit.sa_handler = OnQuit;
  toggle.sa_handler = OnCableToggle;
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &quit, nullptr);
  sigaction(SIGUSR1, &toggle, nullptr);
  // A reader gone from stdout must not kill us before the link is removed.
  signal(SIGPIPE, SIG_IGN);

  const int rxLog = OpenLog(options.rxLogPath);
  const int txLog = OpenLog(options.txLogPath);
  sim::PseudoTerminal pty;
  const auto send = [&](const uint8_t* bytes, int count) {
    const int sent = pty.IsOpen() ? pty.Write(bytes, count) : 0;
    if (sent > 0 && txLog >= 0) WriteAll(txLog, bytes, static_cast<size_t>(sent));
    return sent;
  };
  const auto note = [&](const std::string& line) {
    if (rxLog >= 0) WriteAll(rxLog, (line + "\n").data(), line.size() + 1);
    if (options.verbose) Complain(line);
  };
  sim::SimulatedAdapter adapter(options.behaviour, send, note);

  const auto plugIn = [&] {
    std::string problem;
    if (!pty.Create(problem)) {
      Complain(problem);
      return false;
    }
    const bool linked = !options.linkPath.empty();
    if (linked) PointLinkAt(options.linkPath, pty.SlavePath());
    if (!options.settingsPath.empty())
      WriteSettings(options.settingsPath, linked ? options.linkPath : pty.SlavePath());
    adapter.Restart();
    note("podlaczony " + pty.SlavePath());
    // The device line comes last: once it is out, the link and the settings are in place.
    std::printf("%s\n", pty.SlavePath().c_str());
    std::fflush(stdout);
    return true;
  };
  // The device disappears with the cable, as a USB adapter's does.
  const auto unplug = [&] {
    pty.Close();
    RemoveLink(options.linkPath);
    note("odlaczony");
  };

  if (!plugIn()) return 1;
  int exitStatus = 0;
  bool autoUnplugDone = false;
  std::vector<uint8_t> received(4096);
  while (!quitRequested) {
    if (cableToggleRequested) {
      cableToggleRequested = 0;
      if (pty.IsOpen())
        unplug();
      else if (!plugIn()) {
        exitStatus = 1;
        break;
      }
    }
    if (pty.IsOpen() && adapter.UnplugDue() && !autoUnplugDone) {
      autoUnplugDone = true;
      unplug();
    }
    pollfd fd{pty.MasterFd(), POLLIN, 0};
    // While streaming, wake every 2 ms to send what is due; otherwise only for input.
    const timespec timeout{0, adapter.Streaming() ? 2'000'000L : 200'000'000L};
    if (ppoll(&fd, pty.IsOpen() ? 1 : 0, &timeout, &unblocked) < 0 && errno != EINTR) {
      Complain(std::string("ppoll: ") + std::strerror(errno));
      exitStatus = 1;
      break;
    }
    if (!pty.IsOpen()) continue;
    if (fd.revents & POLLIN) {
      for (int n; (n = pty.Read(received.data(), static_cast<int>(received.size()))) > 0;)
        adapter.Receive(received.data(), n, NowNs());
    }
    adapter.Stream(NowNs());
  }
  RemoveLink(options.linkPath);
  pty.Close();
  if (rxLog >= 0) close(rxLog);
  if (txLog >= 0) close(txLog);
  return exitStatus;
}
