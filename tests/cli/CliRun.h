#pragma once
// Runs wykresownik-cli as a child process and keeps what it printed.

#include <filesystem>
#include <string>
#include <vector>

namespace wyk::testing {

struct CliResult {
  int code = -1;
  std::string out;
  std::string err;
};

}  // namespace wyk::testing

#ifdef _WIN32
#include "cli/CliRunWindows.h"
#else
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>

#include <QImage>
#include <QProcess>
#include <QStringList>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <functional>

namespace wyk::testing {

// What a run meets: a cap on the size of the files it writes; a signal once `folder` holds a new
// entry; `onOutput` run once its standard output has begun (it waits there on a full pipe);
// `failedCall` (a system call number) failing with EIO.
struct CliFault {
  rlim_t fileLimit = 0;
  int signalNumber = 0;
  std::string folder{};
  std::function<void()> onOutput{};
  long failedCall = 0;
};

// From now on, in this process, the system call `call` fails with EIO.
inline void FailCalls(long call) {
  sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<uint32_t>(call), 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EIO),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  const sock_fprog program{sizeof filter / sizeof filter[0], filter};
  prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
  prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program);
}

inline long Entries(const std::string& folder) {
  return std::distance(std::filesystem::directory_iterator(folder), {});
}

inline CliResult RunCli(const std::vector<std::string>& args, const CliFault& fault = {}) {
  QStringList list;
  for (const std::string& a : args) list << QString::fromStdString(a);
  QProcess process;
  process.setChildProcessModifier([limit = fault.fileLimit, call = fault.failedCall] {
    if (call) FailCalls(call);
    if (limit == 0) return;
    signal(SIGXFSZ, SIG_IGN);
    const rlimit cap{limit, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &cap);
  });
  const long before = fault.signalNumber ? Entries(fault.folder) : 0;
  process.start(WYK_CLI_PATH, list);
  process.waitForStarted();
  const auto running = [&process] { return process.state() != QProcess::NotRunning; };
  while (fault.signalNumber && Entries(fault.folder) == before && running())
    process.waitForFinished(1);
  if (fault.signalNumber && running() && process.processId() > 0)
    ::kill(static_cast<pid_t>(process.processId()), fault.signalNumber);
  if (fault.onOutput && process.waitForReadyRead(60000)) fault.onOutput();
  process.waitForFinished(60000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

}  // namespace wyk::testing
#endif

namespace wyk::testing {

// Lines of a CSV text, without their CR LF ends.
inline std::vector<std::string> CsvLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(text.substr(at, end - at));
  return lines;
}

inline std::vector<std::string> Fields(const std::string& line, char separator) {
  std::vector<std::string> fields(1);
  for (char c : line)
    if (c == separator)
      fields.emplace_back();
    else
      fields.back() += c;
  return fields;
}

}  // namespace wyk::testing
