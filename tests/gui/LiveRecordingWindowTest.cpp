// Recording from the simulated adapter through the main window: Start, the ticks, Stop, and the
// ways a recording cannot start or ends by itself.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QScreen>
#include <QTest>
#include <csignal>
#include <filesystem>

#include "common/DateTime.h"
#include "gui/RecordingRig.h"
#include "storage/RecordingParameters.h"
#include "support/MessageBoxes.h"
#include "view/PlotRenderer.h"

namespace wyk {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::MessageLog;
using testing::ReadFile;
using testing::Rig;

#if defined(__SANITIZE_ADDRESS__)
constexpr int kLongRunMs = 5000;  // the sanitizer's own cost would only repeat the same bytes
#else
constexpr int kLongRunMs = 20000;
#endif

struct Locks {
  bool start, stop, fft, selectors, fileButtons, timer, recording;
};

Locks LocksOf(TForm1& f, RecorderState& state) {
  bool anySelector = f.ScrollBar1->isEnabled();
  for (int n = 1; n <= 13; ++n) anySelector = anySelector || f.SpeedButton(n)->isEnabled();
  for (int n = 1; n <= 10; ++n) anySelector = anySelector || f.vd(n)->isEnabled();
  const bool file = f.NewButton->isEnabled() && f.OpenButton->isEnabled() &&
                    f.FileNameEdit->BrowseButton()->isEnabled();
  return {f.StartButton->isEnabled(),
          f.StopButton->isEnabled(),
          f.FftButton->isEnabled(),
          anySelector,
          file,
          f.Timer1->isActive() || state.live.recordingActive,
          state.live.recordingActive};
}

std::string Describe(const Locks& l) {
  std::string s;
  for (bool b : {l.start, l.stop, l.fft, l.selectors, l.fileButtons, l.timer, l.recording})
    s += b ? '1' : '0';
  return s;
}

// start, stop, fft, selectors, file buttons, timer, recording
const char* const kRecordingLocks = "0100011";
const char* const kBrowsingLocks = "0011100";

// The parameter file: the four keys, in order, with the start the window stamped.
void ExpectParameters(const std::string& path, TDateTime start, const char* prob) {
  EXPECT_EQ(ReadFile(path), "[Parm]\r\nPoczRej=" + StartText(start) + "\r\nProb=" + prob +
                                "\r\nVD=" + "10\r\nJednV=mV\r\n");
}

struct IntegrityCase {
  const char* name;
  int type;
  int vdButton;
  int decimation;
  const char* prob;
  int runMs;
  float gain;  // type 1 only
};

TEST(LiveRecordingWindow, TheFileHoldsExactlyWhatTheAdapterSentUpToStop) {
  const IntegrityCase cases[] = {
      {"0,2ms", 2, 1, 1, "0,200000002980232", kLongRunMs, 1},
      {"20ms", 2, 7, 2, "20", 1500, 1},
      {"50ms", 0, 8, 5, "50", 1500, 1},
      {"1s", 2, 10, 100, "1000", 2500, 1},
      {"type 1, 100mV, 1ms", 1, 3, 1, "1", 1000, 2.5f},
  };
  for (const IntegrityCase& c : cases) {
    Rig rig({"--signal", "ramp"}, c.type);
    TForm1& f = rig.Main();
    f.show();
    QTest::mouseClick(f.vd(c.vdButton), Qt::LeftButton);
    QTest::mouseClick(f.StartButton, Qt::LeftButton);
    EXPECT_EQ(Describe(LocksOf(f, *rig.program.state)), kRecordingLocks) << c.name;
    if (c.type == 1) {
      // 100 mV per division: the axis and the parameter file say so.
      ASSERT_EQ(rig.program.state->scales.softwareGain, 2.5f);
    } else {
      ExpectParameters(rig.program.dir.File("rec.osi"), rig.program.state->recording.recordingStart,
                       c.prob);
    }
    QTest::qWait(c.runMs);
    // The screen shows the live plot as drawn.
    f.repaint(kPlotLeft, kPlotTop, kPlotWidth, kPlotHeight);
    const Canvas& plot = rig.program.state->view.plotBitmap;
    EXPECT_EQ(
        f.screen()
            ->grabWindow(f.winId(), kPlotLeft, kPlotTop, kPlotWidth, kPlotHeight)
            .toImage()
            .convertToFormat(QImage::Format_RGB32),
        QImage(plot.Bits(), kPlotWidth, kPlotHeight, plot.BytesPerLine(), QImage::Format_RGB32))
        << c.name;
    QTest::mouseClick(f.StopButton, Qt::LeftButton);
    const std::string relative = f.tREL->text().toStdString();  // of the last tick
    const bool summaryBeforeAnyBuild = rig.program.state->recording.summary.Ready();
    EXPECT_TRUE(rig.sim.WaitForRxLines("stop 00")) << c.name;

    const Bytes file = rig.File();
    const Bytes sent = rig.Sent();
    const size_t n = file.size();
    ASSERT_GT(n, 0u) << c.name;
    ASSERT_LE(n * c.decimation, sent.size()) << c.name;
    Bytes expected;
    for (size_t k = 0; k < n; ++k) {
      const int v = static_cast<int>(sent[k * c.decimation] * c.gain);
      expected.push_back(static_cast<uint8_t>(std::min(v, 255)));
    }
    EXPECT_EQ(Hex(file), Hex(expected)) << c.name;
    const OpenRecording& opened = rig.program.state->recording;
    EXPECT_TRUE(summaryBeforeAnyBuild && opened.summary.Covered() == int64_t(n) / 256 * 256 &&
                opened.summary.Extent(opened.dataFile, 0, int64_t(n)) == ExtentOf(file.data(), n))
        << c.name;
    // Only the bytes still waiting at Stop are left out.
    EXPECT_LT(sent.size() - n * c.decimation, 2500u + 3u * c.decimation) << c.name;
    EXPECT_EQ(rig.program.state->recording.sampleCount, static_cast<int32_t>(n)) << c.name;
    EXPECT_EQ(relative,
              TimeText(DateTimeAfterMs(
                  0, static_cast<long long>(
                         n * static_cast<double>(rig.program.state->scales.samplePeriodMs)))))
        << c.name;
    EXPECT_EQ(Describe(LocksOf(f, *rig.program.state)), kBrowsingLocks) << c.name;
  }
}

struct StartStopCase {
  const char* name;
  std::vector<std::string> sim;
  const char* renameTo;  // between "Nowy" and Start
  int runMs;             // -1: Stop straight after Start
  Bytes firstSamples;
  std::vector<std::string> messages;
  bool otherScales = false;  // "0,2ms" and "100mV" pressed, then a recording of others opened
};

TEST(LiveRecordingWindow, WhatStartWritesAndWhatStopOpens) {
  const StartStopCase cases[] = {
      {"Stop right after Start",
       {"--signal", "ramp"},
       nullptr,
       -1,
       {},
       {"Uwaga: Nie mogę otworzyć pliku!!!"}},
      {"reply and two bytes more",
       {"--signal", "ramp", "--extra-bytes", "0x12,0x34"},
       nullptr,
       300,
       {0x12, 0x34, 0x00, 0x01},
       {}},
      {"name changed after Nowy", {"--signal", "ramp"}, "inna.osr", 300, {0x00, 0x01}, {}},
      {"scales of an opened recording", {"--signal", "ramp"}, nullptr, 300, {0x00}, {}, true},
  };
  for (const StartStopCase& c : cases) {
    Rig rig(c.sim, 2);
    TForm1& f = rig.Main();
    if (c.otherScales) {
      MessageLog answers;
      f.vd(1)->click(), f.SpeedButton(4)->click();
      f.OpenRecording();  // no parameter file yet: 0,5 ms and 10 mV
      f.NewRecording();
    }
    MessageLog messages;
    const std::string osi = rig.program.dir.File("rec.osi");
    if (c.renameTo)
      f.FileNameEdit->SetText(QString::fromStdString(rig.program.dir.File(c.renameTo)));
    QTest::mouseClick(f.StartButton, Qt::LeftButton);
    const TDateTime start =
        rig.program.state->recording.recordingStart;  // Stop reads it back to the second
    if (c.runMs > 0) QTest::qWait(c.runMs);
    QTest::mouseClick(f.StopButton, Qt::LeftButton);
    QTest::qWait(50);

    if (!c.otherScales) ExpectParameters(osi, start, "0,5");
    const std::string scales = "Prob=0,200000002980232\r\nVD=0,100000001490116\r\nJednV=V\r\n";
    EXPECT_EQ(ReadFile(osi).find(scales) != std::string::npos, c.otherScales) << c.name;
    EXPECT_EQ(f.FileNameEdit->Text().toStdString(), rig.name) << c.name;
    const Bytes file = rig.File();
    EXPECT_EQ(Hex(Bytes(file.begin(), file.begin() + std::min(file.size(), c.firstSamples.size()))),
              Hex(c.firstSamples))
        << c.name;
    EXPECT_TRUE(c.runMs >= 0 || file.empty()) << c.name;
    EXPECT_EQ(messages.seen, c.messages) << c.name;
    EXPECT_TRUE(rig.sim.WaitForRxLines("stop 00")) << c.name;
    EXPECT_FALSE(f.serialLink.IsOpen()) << c.name;
  }
}

struct RefusedStart {
  const char* name;
  std::vector<std::string> sim;
  bool noDevice;     // COM1 names nothing
  bool badOsiPlace;  // a folder stands where the parameter file goes
  std::string message;
  const char* locks;
  bool stopByte;
};

TEST(LiveRecordingWindow, RefusedStartsSayWhyAndLeaveStartAsThePartsSay) {
  const RefusedStart cases[] = {
      {"port cannot be opened",
       {},
       true,
       false,
       "Błąd!: Nie mogę otworzyc portu!",
       "1001100",
       false},
      {"no reply",
       {"--no-reply"},
       false,
       false,
       "Błąd!: Nie wykryto urządzenia!",
       "1001100",
       false},
      {"reply 0x80",
       {"--reply", "0x80"},
       false,
       false,
       "Błąd!: Nie wykryto urządzenia!",
       "1001100",
       false},
      {"parameter file not writable",
       {},
       false,
       true,
       "Wykresownik: Unable to write to ",
       "0001100",
       true},
  };
  for (const RefusedStart& c : cases) {
    testing::TempDir elsewhere;
    Rig rig(c.sim, 2, c.noDevice ? elsewhere.File("brak") : "");
    TForm1& f = rig.Main();
    MessageLog messages;
    const std::string osi = rig.program.dir.File("rec.osi");
    if (c.badOsiPlace) std::filesystem::create_directory(osi);
    QTest::mouseClick(f.StartButton, Qt::LeftButton);
    QTest::qWait(50);
    ASSERT_EQ(messages.seen.size(), 1u) << c.name;
    EXPECT_EQ(messages.seen[0].substr(0, c.message.size()), c.message) << c.name;
    EXPECT_EQ(Describe(LocksOf(f, *rig.program.state)), c.locks) << c.name;
    EXPECT_FALSE(f.serialLink.IsOpen()) << c.name;
    if (c.stopByte) rig.sim.WaitForRxLines("stop 00");
    EXPECT_EQ(rig.sim.CountRxLines("stop 00") == 1, c.stopByte) << c.name;
    if (!c.badOsiPlace) continue;
    // "Nowy" brings Start back, and the next Start opens the port again.
    EXPECT_EQ(messages.seen[0],
              "Wykresownik: Unable to write to " + std::filesystem::absolute(osi).string());
    std::filesystem::remove(osi);
    f.NewRecording();
    QTest::mouseClick(f.StartButton, Qt::LeftButton);
    EXPECT_EQ(Describe(LocksOf(f, *rig.program.state)), kRecordingLocks);
    QTest::mouseClick(f.StopButton, Qt::LeftButton);
    EXPECT_TRUE(rig.sim.WaitForRxLines("stop 00", 2));
  }
}

struct SelfEnding {
  const char* name;
  std::vector<std::string> sim;
  rlim_t fileLimit;  // 0: none
  const char* message;
  bool stopByte;
};

TEST(LiveRecordingWindow, AnUnpluggedAdapterOrAFullFileEndsTheRecordingWithAMessage) {
  const SelfEnding cases[] = {
      {"unplugged",
       {"--signal", "ramp", "--unplug-after", "3000"},
       0,
       "Błąd!: Utracono połączenie z urządzeniem!",
       false},
      {"file full", {"--signal", "ramp"}, 4096, "Błąd!: Błąd zapisu pliku!", true},
  };
  for (const SelfEnding& c : cases) {
    Rig rig(c.sim, 2);
    TForm1& f = rig.Main();
    QTest::mouseClick(f.vd(1), Qt::LeftButton);
    MessageLog messages;
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    if (c.fileLimit) {
      const rlimit limit{c.fileLimit, unlimited.rlim_max};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    QTest::mouseClick(f.StartButton, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !messages.seen.empty(); }, 10000)) << c.name;
    setrlimit(RLIMIT_FSIZE, &unlimited);
    signal(SIGXFSZ, previousHandler);
    ASSERT_FALSE(messages.seen.empty()) << c.name;
    EXPECT_EQ(messages.seen[0], c.message) << c.name;
    EXPECT_EQ(Describe(LocksOf(f, *rig.program.state)), kBrowsingLocks) << c.name;
    EXPECT_FALSE(f.serialLink.IsOpen()) << c.name;
    if (c.stopByte) rig.sim.WaitForRxLines("stop 00");
    EXPECT_EQ(rig.sim.CountRxLines("stop 00") == 1, c.stopByte) << c.name;
    const Bytes file = rig.File();
    const Bytes sent = rig.Sent();
    ASSERT_GT(file.size(), 0u) << c.name;
    ASSERT_LE(file.size(), sent.size()) << c.name;
    EXPECT_EQ(Hex(file), Hex(Bytes(sent.begin(), sent.begin() + file.size()))) << c.name;
    EXPECT_EQ(c.fileLimit ? file.size() : 0u, c.fileLimit) << c.name;
    EXPECT_EQ(rig.program.state->recording.sampleCount, static_cast<int32_t>(file.size()))
        << c.name;
  }
}

// "Wyjście" ends the recording as Stop does (stop byte, port closed), without opening it.
TEST(LiveRecordingWindow, LeavingDuringARecordingEndsItAsStopDoes) {
  Rig rig({"--signal", "ramp"}, 2);
  TForm1& f = rig.Main();
  QTest::mouseClick(f.StartButton, Qt::LeftButton);
  QTest::qWait(300);
  QTest::mouseClick(f.ExitButton, Qt::LeftButton);
  EXPECT_TRUE(rig.sim.WaitForRxLines("stop 00"));
  EXPECT_EQ(rig.program.state->recording.sampleCount, 0);
  const int32_t stored = rig.program.state->live.recordedSampleCount;
  rig.program.windows = {};  // the program ends
  const Bytes file = rig.File();
  const Bytes sent = rig.Sent();
  EXPECT_GT(stored, 0);
  EXPECT_EQ(file.size(), static_cast<size_t>(stored));
  EXPECT_EQ(Hex(file), Hex(Bytes(sent.begin(), sent.begin() + std::min(file.size(), sent.size()))));
}

// Confirming the dialog during a recording leaves the selectors locked; Stop unlocks them and
// then applies the type-1 limits of the adapter type confirmed.
TEST(LiveRecordingWindow, ConfigurationConfirmedWhileRecordingTakesEffectAtStop) {
  for (int entry : {1, 2}) {
    Rig rig({"--signal", "ramp"}, 1);
    TForm1& f = rig.Main();
    f.show();
    QTest::mouseClick(f.StartButton, Qt::LeftButton);
    ASSERT_EQ(Describe(LocksOf(f, *rig.program.state)), kRecordingLocks);
    QTest::mouseClick(f.ConfigButton, Qt::LeftButton);
    TForm2& d = *rig.program.windows.form2;
    d.ComboBox1->setCurrentIndex(entry);
    QTest::mouseClick(d.SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(Describe(LocksOf(f, *rig.program.state)), kRecordingLocks) << entry;
    EXPECT_EQ(rig.program.state->scales.couplingMode, kCouplingDc) << entry;
    // Caption and axis stay those of the adapter as started (type 1: 0 at the bottom).
    f.grab();
    EXPECT_EQ(f.windowTitle(), "KWARN Wykresownik TEW2R") << entry;
    EXPECT_EQ(rig.program.state->view.axisOffset, 0) << entry;
    QTest::qWait(200);
    QTest::mouseClick(f.StopButton, Qt::LeftButton);
    f.grab();
    EXPECT_EQ(f.windowTitle(),
              entry == 1 ? "KWARN Wykresownik TEW2R" : "KWARN Wykresownik TEV2R (ATMEGA8)");
    EXPECT_EQ(rig.program.state->view.axisOffset == 0, entry == 1) << entry;
    for (int n = 1; n <= 13; ++n)
      EXPECT_EQ(f.SpeedButton(n)->isEnabled(), entry == 2 || (n >= 4 && n <= 7)) << entry << n;
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(f.vd(n)->isEnabled(), entry == 2 || n > 1) << entry;
    // The bytes stay scaled as the recording began, whatever type was confirmed meanwhile.
    const Bytes file = rig.File();
    const Bytes sent = rig.Sent();
    ASSERT_FALSE(file.empty());
    for (size_t k = 0; k < file.size(); ++k)
      ASSERT_EQ(file[k], std::min(static_cast<int>(sent[k] * 2.5f), 255)) << entry << " " << k;
  }
}

}  // namespace
}  // namespace wyk
