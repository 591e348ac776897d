// "record" run as a child process against the simulated adapter on a pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QProcess>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <filesystem>
#include <sstream>

#include "acquisition/PtyPeer.h"
#include "acquisition/SimProcess.h"
#include "cli/CliRun.h"
#include "storage/RecordingParameters.h"
#include "support/TempDir.h"

namespace wyk {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::ReadFile;
using testing::SimProcess;
using testing::TempDir;
using testing::WriteFile;

struct Finished {
  int code = -1;
  std::string err;
};

// From here on every fdatasync of the process fails as a failing disk's would.
// Starts the tool; `signalAfterMs` > 0 sends it `signalNumber` that long after the start.
// `fileLimit` > 0 caps the size of the files it writes; `terminal` >= 0 becomes its stderr.
Finished Record(const std::vector<std::string>& args, int signalAfterMs = 0, int signalNumber = 0,
                rlim_t fileLimit = 0, int terminal = -1, bool flushesFail = false,
                bool syncsFail = false) {
  QStringList list{"record"};
  for (const std::string& a : args) list << QString::fromStdString(a);
  QProcess process;
  process.setChildProcessModifier([fileLimit, terminal, flushesFail, syncsFail] {
    if (terminal >= 0) dup2(terminal, STDERR_FILENO);
    if (flushesFail || syncsFail) testing::FailCalls(syncsFail ? SYS_fsync : SYS_fdatasync);
    if (fileLimit == 0) return;
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = fileLimit;
    setrlimit(RLIMIT_FSIZE, &limit);
  });
  process.start(WYK_CLI_PATH, list);
  process.waitForStarted();
  if (signalAfterMs > 0 && !process.waitForFinished(signalAfterMs) && process.processId() > 0)
    ::kill(static_cast<pid_t>(process.processId()), signalNumber);
  process.waitForFinished(30000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardError().toStdString()};
}

Bytes FileBytes(const std::string& path) {
  const std::string bytes = ReadFile(path);
  return {bytes.begin(), bytes.end()};
}

// What the adapter sent after its handshake reply.
Bytes Sent(const SimProcess& sim) {
  const Bytes tx = sim.TxLog();
  return tx.empty() ? tx : Bytes(tx.begin() + 1, tx.end());
}

// Words of a command line, split at spaces.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

struct RecordCase {
  const char* name;
  int type;
  const char* options;
  bool viaSettings;  // COM3 mapped by a settings file instead of --device
  int signalNumber;  // 0: --duration ends it
  const char* settingsFrame;
  const char* stopLine;
  int decimation;
  float gain;
  const char* parameters;  // the .osi after its "PoczRej" line
};

TEST(CliRecord, TheFilesHoldWhatTheAdapterSentAndEndCompleteHoweverItStops) {
  const RecordCase cases[] = {
      {"0,2ms by --duration", 2, "--period 0,2ms --range 10mV --duration 1.5", false, 0,
       "ustawienia 00 64 78 80 01 5D suma=ok", "stop 00", 1, 1,
       "Prob=0,200000002980232\r\nVD=10\r\nJednV=mV\r\n"},
      {"50ms, DC, offset 32, SIGINT", 0, "--period 50ms --range 2V --coupling DC --offset 32", true,
       SIGINT, "ustawienia 80 69 20 80 08 suma=brak", "stop 80", 5, 1,
       "Prob=50\r\nVD=2\r\nJednV=V\r\n"},
      {"20ms, GND, SIGTERM", 2, "--period 20ms --range 5V --coupling GND", false, SIGTERM,
       "ustawienia 00 69 78 80 00 61 suma=ok", "stop 00", 2, 1, "Prob=20\r\nVD=5\r\nJednV=V\r\n"},
      {"type 1 at 100mV", 1, "--period 1ms --range 100mV --coupling DC --duration 1000ms", false, 0,
       "ustawienia 00 66 01 00 67 suma=ok", "stop 00", 1, 2.5f,
       "Prob=1\r\nVD=0,100000001490116\r\nJednV=V\r\n"},
  };
  for (const RecordCase& c : cases) {
    SimProcess sim({"--signal", "ramp", "--type", std::to_string(c.type)});
    TempDir dir;
    std::vector<std::string> args = Words(c.options);
    args.insert(args.end(), {"--type", std::to_string(c.type), dir.File("rec")});
    if (c.viaSettings) {
      WriteFile(dir.File("W.INI"), "[COM]\r\nCOM3=" + sim.LinkPath() + "\r\n");
      args.insert(args.end(), {"--port", "3", "--settings", dir.File("W.INI")});
    } else {
      args.insert(args.end(), {"--device", sim.LinkPath()});
    }
    const Finished run = Record(args, c.signalNumber ? 2500 : 0, c.signalNumber);
    EXPECT_EQ(run.code, 0) << c.name << ": " << run.err;
    EXPECT_EQ(run.err, "") << c.name;  // not a terminal: no progress line
    EXPECT_TRUE(sim.WaitForRxLines(c.stopLine)) << c.name << "\n" << sim.RxLog();
    EXPECT_EQ(sim.CountRxLines(c.settingsFrame), 1) << c.name << "\n" << sim.RxLog();

    const Bytes file = FileBytes(dir.File("rec.osr"));
    const Bytes sent = Sent(sim);
    ASSERT_GT(file.size(), 0u) << c.name;
    ASSERT_LE(file.size() * c.decimation, sent.size()) << c.name;
    Bytes expected;
    for (size_t k = 0; k < file.size(); ++k)
      expected.push_back(
          static_cast<uint8_t>(std::min(static_cast<int>(sent[k * c.decimation] * c.gain), 255)));
    EXPECT_EQ(Hex(file), Hex(expected)) << c.name;
    // Only what was still waiting at the end is left out.
    EXPECT_LT(sent.size() - file.size() * c.decimation, 2500u + 3u * c.decimation) << c.name;

    const std::string osi = ReadFile(dir.File("rec.osi"));
    const size_t startEnd = osi.find("\r\n", 17);
    ASSERT_NE(startEnd, std::string::npos) << c.name << osi;
    EXPECT_EQ(osi.substr(0, 16), "[Parm]\r\nPoczRej=") << c.name;
    EXPECT_TRUE(ParseStartText(osi.substr(16, startEnd - 16))) << c.name << osi;
    EXPECT_EQ(osi.substr(startEnd + 2), c.parameters) << c.name;
  }
}

struct FailureCase {
  const char* name;
  const char* sim;   // "": no simulator
  std::string args;  // "@x" is a file in the test's folder, "DEV" the adapter
  rlim_t fileLimit;
  int code;
  const char* errorMentions;
  bool filesKept;        // with every sample received; otherwise not created
  const char* stopLine;  // nullptr: no stop byte
  bool flushesFail = false;
  bool syncsFail = false;  // fsync: the safe replace of a file calls it before the rename
};

TEST(CliRecord, RefusalsAndLostAdaptersExitWithTheirCodesAndKeepWhatWasRecorded) {
  const std::string usual = "--type 2 --period 0,2ms --range 1V ";
  const FailureCase cases[] = {
      {"no --period", "", "--type 2 --range 1V --device @tty @rec", 0, 1, "brak --period", false,
       nullptr},
      {"10mV on type 1", "", "--type 1 --period 1ms --range 10mV --port 1 @rec", 0, 1,
       "100mV 200mV 500mV 1V", false, nullptr},
      {"GND on type 1", "", "--type 1 --period 1ms --range 1V --coupling GND --port 1 @rec", 0, 1,
       "DC", false, nullptr},
      {"settings not readable", "", usual + "--port 1 --settings @no.INI @rec", 0, 2, "no.INI",
       false, nullptr},
      {"no such device", "", usual + "--device @tty @rec", 0, 3, "Nie mogę otworzyc portu! ", false,
       nullptr},
      {"no reply", "--no-reply", usual + "--device DEV @rec", 0, 3, "Nie wykryto urządzenia! ",
       false, nullptr},
      {"output exists", "--signal ramp", usual + "--device DEV @taken", 0, 4,
       "taken.osr: plik już istnieje", false, nullptr},
      {"unplugged", "--signal ramp --unplug-after 3000", usual + "--device DEV @rec", 0, 3,
       "Utracono połączenie z urządzeniem! ", true, nullptr},
      {"disk full", "--signal ramp", usual + "--device DEV @rec", 4096, 4, "Błąd zapisu pliku! ",
       true, "stop 00"},
      {"flushes fail", "--signal ramp", usual + "--device DEV @rec", 0, 4,
       "Błąd zapisu pliku! ", true, "stop 00", true},
      // The parameter file, replaced as the settings file is, is not renamed unsynced.
      {"syncs fail", "--signal ramp", usual + "--device DEV @rec", 0, 4,
       "rec.osi: Unable to write to", false, "stop 00", false, true},
  };
  for (const FailureCase& c : cases) {
    TempDir dir;
    WriteFile(dir.File("taken.osr"), "old");
    std::unique_ptr<SimProcess> sim;
    if (*c.sim) {
      std::vector<std::string> simArgs = Words(c.sim);
      simArgs.insert(simArgs.end(), {"--type", "2"});
      sim = std::make_unique<SimProcess>(simArgs);
    }
    std::vector<std::string> args = Words(c.args);
    for (std::string& a : args) {
      if (a == "DEV") a = sim->LinkPath();
      if (a[0] == '@') a = dir.File(a.substr(1));
    }
    const Finished run = Record(args, 0, 0, c.fileLimit, -1, c.flushesFail, c.syncsFail);
    EXPECT_EQ(run.code, c.code) << c.name << ": " << run.err;
    EXPECT_NE(run.err.find(c.errorMentions), std::string::npos) << c.name << ": " << run.err;
    EXPECT_EQ(std::filesystem::exists(dir.File("rec.osr")), c.filesKept) << c.name;
    EXPECT_EQ(std::filesystem::exists(dir.File("rec.osi")), c.filesKept) << c.name;
    EXPECT_EQ(ReadFile(dir.File("taken.osr")), "old") << c.name;
    if (!sim) continue;
    if (c.stopLine) {
      EXPECT_TRUE(sim->WaitForRxLines(c.stopLine)) << c.name;
    }
    EXPECT_EQ(sim->CountRxLines("stop"), c.stopLine ? 1 : 0) << c.name;
    if (!c.filesKept) continue;
    const Bytes file = FileBytes(dir.File("rec.osr"));
    const Bytes sent = Sent(*sim);
    ASSERT_GT(file.size(), 0u) << c.name;
    ASSERT_LE(file.size(), sent.size()) << c.name;
    EXPECT_EQ(Hex(file), Hex(Bytes(sent.begin(), sent.begin() + file.size()))) << c.name;
    if (c.fileLimit) {
      EXPECT_EQ(file.size(), c.fileLimit) << c.name;
    }
    // What the pseudo-terminal still held when it hung up is gone with it; all that the tool
    // received is in the file.
    EXPECT_NE(run.err.find("zostało " + std::to_string(file.size()) + " próbek"), std::string::npos)
        << c.name << ": " << run.err;
  }
}

// Killed in the middle of a recording: the samples are a prefix of what the adapter sent, the
// parameter file is whole, and the recording opens and draws as any other.
TEST(CliRecord, KilledMidRecordingLeavesARecordingThatOpens) {
  SimProcess sim({"--signal", "ramp", "--type", "2"});
  TempDir dir;
  QProcess process;
  process.start(WYK_CLI_PATH, {"record", QString::fromStdString(dir.File("rec")), "--type", "2",
                               "--period", "0,2ms", "--range", "1V", "--device",
                               QString::fromStdString(sim.LinkPath())});
  // Killed once some ticks stored their samples.
  while (process.state() != QProcess::NotRunning && FileBytes(dir.File("rec.osr")).size() < 2000)
    process.waitForFinished(20);
  if (process.processId() > 0) ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
  process.waitForFinished(30000);
  EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
  const Bytes file = FileBytes(dir.File("rec.osr"));
  const Bytes sent = Sent(sim);
  ASSERT_GT(file.size(), 0u);
  ASSERT_LE(file.size(), sent.size());
  EXPECT_EQ(Hex(file), Hex(Bytes(sent.begin(), sent.begin() + file.size())));
  const std::string osi = ReadFile(dir.File("rec.osi"));
  EXPECT_EQ(osi.substr(osi.find("\r\nProb=")), "\r\nProb=0,200000002980232\r\nVD=1\r\nJednV=V\r\n");
  const testing::CliResult info = testing::RunCli({"info", dir.File("rec")});
  EXPECT_EQ(info.code, 0) << info.err;
  EXPECT_NE(info.out.find("Liczba próbek:      " + std::to_string(file.size()) + "\n"),
            std::string::npos)
      << info.out;
  EXPECT_EQ(testing::RunCli({"render", dir.File("rec"), "--png", dir.File("rec.png")}).code, 0);
}

TEST(CliRecord, OnATerminalAProgressLineEndsWithTheFinalCounts) {
  SimProcess sim({"--signal", "ramp"});
  TempDir dir;
  int master = -1, slave = -1;
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  const Finished run = Record({"--type", "2", "--period", "0,5ms", "--range", "1V", "--duration",
                               "1", "--device", sim.LinkPath(), dir.File("rec")},
                              0, 0, 0, slave);
  close(slave);
  fcntl(master, F_SETFL, O_NONBLOCK);
  std::string shown;
  char buffer[4096];
  for (ssize_t n; (n = read(master, buffer, sizeof buffer)) > 0;) shown.append(buffer, n);
  close(master);
  EXPECT_EQ(run.code, 0) << run.err;
  const std::string size = std::to_string(std::filesystem::file_size(dir.File("rec.osr")));
  const size_t last = shown.rfind("\rPróbki: ");
  ASSERT_NE(last, std::string::npos) << shown;
  const std::string counts = "\rPróbki: " + size + "  czas: 00:00:01  plik: " + size + " B  ";
  EXPECT_EQ(shown.substr(last, counts.size()), counts) << shown;
  EXPECT_EQ(shown.substr(shown.size() - 2), "\r\n") << shown;  // the terminal's own CR
}

}  // namespace
}  // namespace wyk
