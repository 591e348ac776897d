// Faults from outside, through the real windows: the cable pulled at any moment, an adapter
// that misbehaves, a full disk, a sample file changed under the view, files that cannot be
// written. No crash, no hang, and no byte that reached the program is missing from its file.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTest>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

#include "gui/RecordingRig.h"
#include "support/MessageBoxes.h"
#include "support/PatternRecording.h"

namespace wyk {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::Hex;
using testing::MessageLog;
using testing::ReadFile;
using testing::Rig;
using testing::StartedProgram;

#if defined(__SANITIZE_ADDRESS__)
constexpr int kPullShare = 4;  // the sanitizer's cost buys no new moments: a quarter of the pulls
#else
constexpr int kPullShare = 1;
#endif

const char* const kLinkLost = "Błąd!: Utracono połączenie z urządzeniem!";

bool Ended(TForm1& f) {
  return QTest::qWaitFor([&] { return !f.state.live.recordingActive; }, 10000);
}

// "Nowy" on the name used before: the question whether to overwrite it answered Yes.
void NewAgain(TForm1& f) {
  MessageLog yes;
  f.NewRecording();
}

// Sends `signal` to the simulator `delayMs` from now, while the window's thread is blocked.
std::thread SignalLater(testing::SimProcess& sim, int delayMs, int signal = SIGUSR1) {
  return std::thread([&sim, delayMs, signal] {
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    sim.Signal(signal);
  });
}

enum class Moment { kBeforeReply, kSettingsFrame, kMidStream, kDuringStop };

struct PullPlan {
  const char* name;
  Moment moment;
  int pulls;
  int fromMs, toMs;  // the moment, counted from the click on Start (on Stop for kDuringStop)
};

// One simulator and one program for all pulls: each pull ends a recording, the cable goes back
// in, "Nowy" and the next Start. The simulator's tx log holds every byte it ever sent.
TEST(FaultInjection, TheCablePulledAtFiftyMomentsLosesNoByteThatCameIn) {
  const PullPlan plans[] = {
      {"before the reply", Moment::kBeforeReply, 6, 0, 450},
      {"during the settings frame", Moment::kSettingsFrame, 6, 495, 525},
      {"mid-stream", Moment::kMidStream, 28, 10, 400},
      {"during Stop", Moment::kDuringStop, 10, 0, 60},
  };
  const std::vector<std::string> allowed = {
      "Błąd!: Nie mogę otworzyc portu!", "Błąd!: Nie wykryto urządzenia!", kLinkLost,
      "Uwaga: Nie mogę otworzyć pliku!!!"};  // the open after an end with no sample
  std::mt19937 random(20240611);
  Rig rig({"--signal", "ramp"}, 2);
  TForm1& f = rig.Main();
  QTest::mouseClick(f.vd(1), Qt::LeftButton);  // 0,2 ms: the fastest stream
  int tried = 0, survived = 0;
  size_t lost = 0, stored = 0;
  for (const PullPlan& plan : plans) {
    for (int n = 0; n < std::max(plan.pulls / kPullShare, 1); ++n) {
      const int at = std::uniform_int_distribution<int>(plan.fromMs, plan.toMs)(random);
      const std::string where =
          std::string(plan.name) + " #" + std::to_string(n) + " at " + std::to_string(at) + " ms";
      ++tried;
      NewAgain(f);
      MessageLog messages;
      const size_t base = rig.sim.TxLog().size();
      size_t sentBeforePull = 0;  // mid-stream: the adapter is frozen, so this is exact
      if (plan.moment == Moment::kBeforeReply || plan.moment == Moment::kSettingsFrame) {
        std::thread pull = SignalLater(rig.sim, at);
        QTest::mouseClick(f.StartButton, Qt::LeftButton);
        pull.join();
      } else if (plan.moment == Moment::kMidStream) {
        QTest::mouseClick(f.StartButton, Qt::LeftButton);
        QTest::qWait(at);
        rig.sim.Signal(SIGSTOP);
        QTest::qWait(30);  // at least one tick takes in what came before the freeze
        sentBeforePull = rig.sim.TxLog().size() - base;
        rig.sim.Signal(SIGUSR1);
        rig.sim.Signal(SIGCONT);
      } else {
        QTest::mouseClick(f.StartButton, Qt::LeftButton);
        QTest::qWait(100);
        std::thread pull = SignalLater(rig.sim, at);
        QTest::mouseClick(f.StopButton, Qt::LeftButton);
        pull.join();
      }
      const bool ended = Ended(f);
      if (!ended) QTest::mouseClick(f.StopButton, Qt::LeftButton);
      QTest::qWait(20);
      const Bytes tx = rig.sim.TxLog();
      const Bytes sent =
          tx.size() > base + 1 ? Bytes(tx.begin() + long(base) + 1, tx.end()) : Bytes{};
      const Bytes file = rig.File();
      const bool prefix =
          file.size() <= sent.size() && std::equal(file.begin(), file.end(), sent.begin());
      const size_t missing = sentBeforePull > 1 && sentBeforePull - 1 > file.size()
                                 ? sentBeforePull - 1 - file.size()
                                 : 0;
      bool knownMessages = true;
      for (const std::string& m : messages.seen)
        knownMessages =
            knownMessages && std::find(allowed.begin(), allowed.end(), m) != allowed.end();
      EXPECT_TRUE(ended) << where;
      EXPECT_FALSE(f.serialLink.IsOpen()) << where;
      EXPECT_TRUE(prefix) << where << ": " << file.size() << " stored of " << sent.size();
      EXPECT_EQ(missing, 0u) << where;
      EXPECT_TRUE(knownMessages) << where << ": " << ::testing::PrintToString(messages.seen);
      if (plan.moment == Moment::kMidStream) {
        EXPECT_EQ(messages.seen.empty() ? "" : messages.seen[0], kLinkLost) << where;
      }
      if (ended && prefix && missing == 0 && knownMessages && !f.serialLink.IsOpen()) ++survived;
      lost += missing;
      stored += file.size();
      // The cable back in: a new pseudo-terminal behind the same link.
      rig.sim.Signal(SIGUSR1);
      ASSERT_FALSE(rig.sim.NextDeviceLine().empty()) << where;
    }
  }
  std::printf("cable pulls: %d survived of %d tried, %zu bytes stored, %zu bytes lost\n", survived,
              tried, stored, lost);
  EXPECT_EQ(survived, tried);
  EXPECT_EQ(lost, 0u);
}

struct Misbehaviour {
  const char* name;
  Bytes answer;  // to the handshake, at once
  size_t burst;  // ramp bytes in the same write
  const char* message;
};

Bytes Garbage(size_t count, uint8_t first) {
  std::mt19937 random(7);
  Bytes bytes{first};
  while (bytes.size() < count) bytes.push_back(static_cast<uint8_t>(random()));
  return bytes;
}

// A scripted far end on a pseudo-terminal answers the handshake as the case says; whatever
// follows the first reply byte is the recording, at most 500 bytes per tick.
TEST(FaultInjection, AnAdapterThatMisbehavesLosesNothingAndKeepsTheTickRule) {
  const Misbehaviour cases[] = {
      {"garbage for an answer", Garbage(1500, 0x3C), 0, nullptr},
      {"reply 0x80 and garbage", Garbage(300, 0x80), 0, "Błąd!: Nie wykryto urządzenia!"},
      {"two handshake replies", {0x00, 0x00}, 0, nullptr},
      {"a burst of 10,000 bytes at once", {0x00}, 10000, nullptr},
  };
  for (const Misbehaviour& c : cases) {
    testing::PtyPeer peer;
    StartedProgram program(testing::SettingsOn(peer.SlavePath(), 2).c_str());
    TForm1& f = program.Main();
    const std::string name = program.dir.File("rec.osr");
    f.FileNameEdit->SetText(QString::fromStdString(name));
    f.NewRecording();
    Bytes reply = c.answer;
    const Bytes burst = testing::Ramp(c.burst);
    reply.insert(reply.end(), burst.begin(), burst.end());
    Bytes handshake;
    std::thread adapter([&] {
      handshake = peer.ReadExactly(6);
      peer.Send(reply);
    });
    std::vector<int32_t> perTick;
    int32_t before = 0;
    // Connected after the window's own handler, so it sees each tick's result.
    QObject::connect(f.Timer1, &QTimer::timeout, [&] {
      perTick.push_back(program.state->live.recordedSampleCount - before);
      before = program.state->live.recordedSampleCount;
    });
    MessageLog messages;
    QTest::mouseClick(f.StartButton, Qt::LeftButton);
    adapter.join();
    EXPECT_EQ(Hex(handshake), "00 55 00 00 00 55") << c.name;
    const Bytes expected(reply.begin() + 1, reply.end());
    if (!c.message) {
      EXPECT_TRUE(QTest::qWaitFor(
          [&] { return program.state->live.recordedSampleCount >= int32_t(expected.size()); },
          10000))
          << c.name;
      QTest::mouseClick(f.StopButton, Qt::LeftButton);
    }
    QTest::qWait(20);
    const std::string file = ReadFile(name);
    EXPECT_EQ(Hex(Bytes(file.begin(), file.end())), Hex(c.message ? Bytes{} : expected)) << c.name;
    EXPECT_EQ(messages.seen,
              c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{})
        << c.name;
    EXPECT_FALSE(f.serialLink.IsOpen()) << c.name;
    const int32_t most = perTick.empty() ? 0 : *std::max_element(perTick.begin(), perTick.end());
    EXPECT_LE(most, kMaxBytesPerTick) << c.name;
    if (c.burst) {
      EXPECT_EQ(most, kMaxBytesPerTick) << c.name;
    }
  }
}

// The child's half of the disk-full test: the real window in a process whose files may not grow
// past the limit. Runs only when the parent starts it.
TEST(FaultInjection, DiskFullChild) {
  const char* job = std::getenv("WYK_DISK_FULL_CHILD");
  if (!job) GTEST_SKIP() << "started by FaultInjection.ADiskFullEndsTheRecordingWithItsMessage";
  const std::string task = job;
  const size_t bar = task.find('|');
  const std::string device = task.substr(0, bar), name = task.substr(bar + 1);
  signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{4000, RLIM_INFINITY};
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  StartedProgram program(testing::SettingsOn(device, 2).c_str());
  TForm1& f = program.Main();
  f.FileNameEdit->SetText(QString::fromStdString(name));
  f.NewRecording();
  QTest::mouseClick(f.vd(1), Qt::LeftButton);
  MessageLog messages;
  QTest::mouseClick(f.StartButton, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.seen.empty(); }, 10000));
  EXPECT_EQ(messages.seen[0], "Błąd!: Błąd zapisu pliku!");
  EXPECT_FALSE(program.state->live.recordingActive);
  EXPECT_FALSE(f.serialLink.IsOpen());
}

TEST(FaultInjection, ADiskFullEndsTheRecordingWithItsMessage) {
  testing::SimProcess sim({"--signal", "ramp", "--type", "2"});
  testing::TempDir dir;
  const std::string name = dir.File("rec.osr");
  const std::string job = "WYK_DISK_FULL_CHILD=" + sim.LinkPath() + "|" + name;
  const pid_t child = fork();
  if (child == 0) {
    // Nothing of this process's threads is used: the child runs the test program afresh.
    putenv(const_cast<char*>(job.c_str()));
    execl("/proc/self/exe", "wyk_shell_tests", "--gtest_filter=FaultInjection.DiskFullChild",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  ASSERT_GT(child, 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
  EXPECT_TRUE(sim.WaitForRxLines("stop 00"));  // the write failed, the adapter did not
  const std::string file = ReadFile(name);
  const Bytes tx = sim.TxLog();
  ASSERT_GT(tx.size(), file.size());
  EXPECT_EQ(file.size(), 4000u);
  EXPECT_EQ(Hex(Bytes(file.begin(), file.end())),
            Hex(Bytes(tx.begin() + 1, tx.begin() + 1 + long(file.size()))));
}

// Element i of the window as ReadWindow's rules give it from the file as it is now.
std::vector<uint8_t> WindowFrom(const std::string& content, int64_t start, int64_t step,
                                uint8_t last) {
  std::vector<uint8_t> window(kWindowLength);
  for (int64_t i = 0; i < kWindowLength; ++i) {
    const int64_t at = start + step * i;
    if (at < static_cast<int64_t>(content.size())) last = static_cast<uint8_t>(content[size_t(at)]);
    window[size_t(i)] = last;
  }
  return window;
}

struct FileChange {
  const char* name;
  std::function<void(const std::string&)> change;
};

// Another process shortens, lengthens or deletes the open recording: every zoom button, the
// scroll bar and the spectrum window go on, and the view repeats the last sample read.
TEST(FaultInjection, ASampleFileChangedUnderTheViewAndTheSpectrum) {
  constexpr int64_t kSamples = 30000;
  const FileChange changes[] = {
      {"truncated to 1000", [](const std::string& p) { fs::resize_file(p, 1000); }},
      {"truncated to nothing", [](const std::string& p) { fs::resize_file(p, 0); }},
      {"grown by 20000",
       [](const std::string& p) {
         std::ofstream(p, std::ios::binary | std::ios::app) << std::string(20000, '\x7B');
       }},
      {"deleted", [](const std::string& p) { fs::remove(p); }},
  };
  for (const FileChange& c : changes) {
    StartedProgram program;
    TForm1& f = program.Main();
    RecorderState& s = *program.state;
    f.show();
    const std::string path = program.dir.File("r.osr");
    testing::WritePatternRecording(path, kSamples);
    testing::WriteFile(program.dir.File("r.osi"), "[Parm]\r\nProb=1\r\nVD=10\r\nJednV=mV\r\n");
    f.FileNameEdit->SetText(QString::fromStdString(path));
    QTest::mouseClick(f.OpenButton, Qt::LeftButton);
    ASSERT_EQ(s.recording.sampleCount, kSamples) << c.name;
    // The view reads through the handle it holds: a deleted file is still that file.
    const std::string before = ReadFile(path);
    c.change(path);
    const std::string now = fs::exists(path) ? ReadFile(path) : before;
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"z1", [&] { f.z1Click(); }},
        {"z3", [&] { f.z3Click(); }},
        {"End", [&] { QTest::keyClick(&f, Qt::Key_End); }},
        {"z5", [&] { f.z5Click(); }},
        {"z4", [&] { f.z4Click(); }},
        {"Home", [&] { QTest::keyClick(&f, Qt::Key_Home); }},
        {"scroll", [&] { f.ScrollBar1->setValue(f.ScrollBar1->maximum() / 2); }},
        {"z2", [&] { f.z2Click(); }},
    };
    for (const auto& [what, press] : steps) {
      auto seen = testing::AnswerNextMessageBox();
      const uint8_t last = s.view.lastReadSample;
      press();
      seen->StopWaiting();
      EXPECT_FALSE(seen->shown) << c.name << " " << what << ": " << seen->text.toStdString();
      const auto expected = WindowFrom(now, s.view.windowStart, s.view.zoomStep, last);
      EXPECT_TRUE(std::equal(expected.begin(), expected.end(), s.view.windowBuffer.begin()))
          << c.name << " " << what;
    }
    auto seen = testing::AnswerNextMessageBox();
    f.FftButton->setEnabled(true);
    QTest::mouseClick(f.FftButton, Qt::LeftButton);
    seen->StopWaiting();
    EXPECT_TRUE(std::isfinite(s.spectrum.spectrumMax)) << c.name;
    // The spectrum takes the file as it is now; an empty one is refused and changes nothing.
    EXPECT_EQ(s.spectrum.fftSampleCount, now.empty() ? kMaxFftSize : int32_t(now.size())) << c.name;
    EXPECT_EQ(seen->shown, now.empty()) << c.name;
    program.windows.form3->hide();
  }
}

enum class Blocker { kReadOnly, kDirectory, kDanglingLink };

struct BlockedWrite {
  const char* name;
  bool settingsFile;  // else the parameter file at Start
  Blocker blocker;
};

void Block(const std::string& path, Blocker blocker) {
  std::error_code ignored;
  if (blocker == Blocker::kReadOnly) {
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    return;
  }
  fs::remove(path, ignored);
  if (blocker == Blocker::kDirectory)
    fs::create_directory(path);
  else
    fs::create_symlink(path + ".gone/nowhere", path);
}

// The file cannot be written at the moment it is: the stated error, the file as it was, the
// other file and the recording untouched.
TEST(FaultInjection, ASettingsOrParameterFileThatCannotBeWrittenSaysSoAndKeepsTheRest) {
  const BlockedWrite cases[] = {
      {"settings file read-only", true, Blocker::kReadOnly},
      {"settings file a directory", true, Blocker::kDirectory},
      {"settings file a dangling link", true, Blocker::kDanglingLink},
      {"parameter file read-only", false, Blocker::kReadOnly},
      {"parameter file a directory", false, Blocker::kDirectory},
      {"parameter file a dangling link", false, Blocker::kDanglingLink},
  };
  Rig rig({"--signal", "ramp"}, 2);
  TForm1& f = rig.Main();
  const std::string settings = rig.program.dir.File("wykresownik.INI");
  const std::string osi = rig.program.dir.File("rec.osi");
  for (const BlockedWrite& c : cases) {
    if (c.blocker == Blocker::kReadOnly && geteuid() == 0) continue;  // root writes anyway
    const std::string target = c.settingsFile ? settings : osi;
    const std::string other = c.settingsFile ? osi : settings;
    std::error_code ignored;
    fs::remove_all(target, ignored);
    testing::WriteFile(target, "[X]\r\nkeep=1\r\n");
    const std::string otherBefore = ReadFile(other);
    Block(target, c.blocker);
    const std::string targetBefore = fs::is_regular_file(target) ? ReadFile(target) : "";
    NewAgain(f);
    MessageLog messages;
    if (c.settingsFile) {
      QTest::mouseClick(f.ConfigButton, Qt::LeftButton);
      TForm2& d = *rig.program.windows.form2;
      d.RadioGroup1->SetItemIndex(2);
      QTest::mouseClick(d.SpeedButton2, Qt::LeftButton);
      QTest::qWait(20);
      EXPECT_TRUE(d.isVisible()) << c.name;
      QTest::mouseClick(d.SpeedButton3, Qt::LeftButton);
    } else {
      QTest::mouseClick(f.StartButton, Qt::LeftButton);
      QTest::qWait(20);
      EXPECT_FALSE(f.serialLink.IsOpen()) << c.name;
      EXPECT_FALSE(rig.program.state->live.recordingActive) << c.name;
    }
    ASSERT_EQ(messages.seen.size(), 1u) << c.name;
    EXPECT_EQ(messages.seen[0], "Wykresownik: Unable to write to " + fs::absolute(target).string())
        << c.name;
    EXPECT_EQ(fs::is_regular_file(target) ? ReadFile(target) : "", targetBefore) << c.name;
    EXPECT_EQ(fs::is_symlink(target), c.blocker == Blocker::kDanglingLink) << c.name;
    EXPECT_FALSE(fs::exists(target + ".gone")) << c.name;
    EXPECT_EQ(ReadFile(other), otherBefore) << c.name;
    EXPECT_TRUE(fs::exists(rig.name)) << c.name;
    fs::remove_all(target, ignored);
  }
}

}  // namespace
}  // namespace wyk
