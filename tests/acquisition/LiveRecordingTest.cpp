// The live tick on the real QSerialPort over a pseudo-terminal, writing a real sample file.
#include "acquisition/LiveRecording.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "acquisition/LinkTestSupport.h"
#include "acquisition/QtSerialPort.h"
#include "support/TempDir.h"

namespace wyk {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::PtyPeer;
using testing::ReadFile;
using testing::StateOn;
using testing::TempDir;

// Until the port has `count` bytes waiting (the pty hands them over in its own time).
void AwaitWaiting(SerialLink& link, int count) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (link.BytesWaiting() < count && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

struct Step {
  Bytes sent;            // before the tick
  int32_t stored;        // by the tick
  int waitingAfter;      // left in the port
  const char* relative;  // tREL, "" when not shown
  int32_t gridOffset;    // 0 when nothing was drawn
};

struct TickCase {
  const char* name;
  int adapterType;
  int32_t decimation;
  float periodMs;
  float gain;
  int32_t countBefore;
  std::vector<Step> steps;
  Bytes file;  // the sample file afterwards
};

Bytes Fill(size_t count, uint8_t value) {
  return Bytes(count, value);
}

TEST(LiveRecordingTick, StoresDecimatesScalesAndLabelsAsTheBytesCome) {
  const Bytes ramp700 = testing::Ramp(700);
  Bytes ramp150 = testing::Ramp(150);
  const TickCase cases[] = {
      {"no bytes", 2, 1, 0.2f, 1, 0, {{{}, 0, 0, "", 0}}, {}},
      {"1s: 99 waiting do nothing", 2, 100, 1000, 1, 0, {{Fill(99, 7), 0, 99, "", 0}}, {}},
      {"1s: 150 waiting give one sample and leave 50",
       2,
       100,
       1000,
       1,
       0,
       {{ramp150, 1, 50, "00:00:01:000", 24}},
       {0}},
      {"0,2ms: 700 waiting go as 500 then 200",
       2,
       1,
       0.2f,
       1,
       0,
       {{ramp700, 500, 200, "00:00:00:100", 25}, {{}, 200, 0, "00:00:00:140", 25}},
       ramp700},
      {"0,5ms: 2000 samples are one second",
       0,
       1,
       0.5f,
       1,
       0,
       {{Fill(500, 1), 500, 0, "00:00:00:250", 25},
        {Fill(1500, 2), 500, 1000, "00:00:00:500", 25},
        {{}, 500, 500, "00:00:00:750", 25},
        {{}, 500, 0, "00:00:01:000", 25}},
       {}},
      {"0,2ms: 7 samples are 1 ms",
       2,
       1,
       0.2f,
       1,
       0,
       {{Fill(7, 9), 7, 0, "00:00:00:001", 18}},
       Fill(7, 9)},
      {"grid moves left with the count",
       2,
       1,
       0.2f,
       1,
       0,
       {{Fill(25, 3), 25, 0, "00:00:00:005", 25}, {{4}, 1, 0, "00:00:00:005", 24}},
       {}},
      {"type 1 at 100mV scales and caps",
       1,
       1,
       0.5f,
       2.5f,
       0,
       {{{100, 120, 0, 102}, 4, 0, "00:00:00:002", 21}},
       {250, 255, 0, 255}},
      {"type 1 at 500mV passes bytes on",
       1,
       1,
       0.5f,
       1.0f,
       0,
       {{{100, 120, 255}, 3, 0, "00:00:00:001", 22}},
       {100, 120, 255}},
      {"type 2 ignores the gain",
       2,
       1,
       0.5f,
       2.5f,
       0,
       {{{100, 120}, 2, 0, "00:00:00:001", 23}},
       {100, 120}},
  };
  for (const TickCase& c : cases) {
    PtyPeer peer;
    TempDir dir;
    auto state = StateOn(peer.SlavePath(), c.adapterType);
    state->recordingAdapterType = static_cast<uint8_t>(c.adapterType);
    state->sampleDecimation = c.decimation;
    state->samplePeriodMs = c.periodMs;
    state->softwareGain = c.gain;
    state->recordedSampleCount = c.countBefore;
    state->plotBitmap = Canvas(kPlotWidth, kPlotHeight);
    const std::string name = dir.File("r.osr");
    state->dataFile = SampleFile::Create(name);
    SerialLink link(MakeQtSerialPort);
    ASSERT_TRUE(link.OpenPort(*state)) << c.name;
    int waiting = 0;
    for (const Step& step : c.steps) {
      peer.Send(step.sent);
      waiting += static_cast<int>(step.sent.size());
      AwaitWaiting(link, waiting);
      const auto liveBefore = state->liveValues;
      const LiveTick tick = LiveRecordingTick(*state, link, 0.5);
      waiting = link.BytesWaiting();
      EXPECT_EQ(tick.stored, step.stored) << c.name;
      EXPECT_EQ(waiting, step.waitingAfter) << c.name;
      EXPECT_EQ(tick.relativeTime, step.relative) << c.name;
      EXPECT_EQ(tick.absoluteTime, step.stored ? "12:00:00:000" : "") << c.name;
      EXPECT_EQ(tick.gridOffset, step.gridOffset) << c.name;
      EXPECT_EQ(tick.end, RecordingEnd::kNone) << c.name;
      if (step.stored == 0) {
        EXPECT_EQ(state->liveValues, liveBefore) << c.name;
        continue;
      }
      // The newest sample at the right edge; a grid line where the offset says, none left of it.
      const auto& file = ReadFile(name);
      EXPECT_EQ(state->liveValues[499], static_cast<uint8_t>(file.back())) << c.name;
      EXPECT_EQ(state->plotBitmap.Pixel(step.gridOffset, 5), state->gridColor) << c.name;
      EXPECT_EQ(state->plotBitmap.Pixel(step.gridOffset - 1, 5), state->backgroundColor) << c.name;
    }
    const std::string file = ReadFile(name);
    if (!c.file.empty()) {
      EXPECT_EQ(Hex(Bytes(file.begin(), file.end())), Hex(c.file)) << c.name;
    }
    EXPECT_EQ(state->dataFile.Size(), state->recordedSampleCount - c.countBefore) << c.name;
  }
}

// The real port, whose every read brings one byte less than it was asked for.
struct ShortReadingPort : QtSerialPort {
  int Read(uint8_t* buffer, int count) override { return QtSerialPort::Read(buffer, count - 1); }
};

// A file that takes no more, the largest count and a port gone each end the recording; what
// was read is stored and nothing is stored twice.
TEST(LiveRecordingTick, EndsOnAFullFileAFullCountAndALostPort) {
  struct Case {
    const char* name;
    int32_t decimation;
    int32_t countBefore;
    bool fileLimit;  // the file may grow to 5 bytes only
    bool hangUp;     // the far end goes away after sending
    int32_t stored;  // by the first tick
    RecordingEnd end;
    Bytes file;
    bool shortRead = false;  // fewer bytes than were waiting
  };
  const Case cases[] = {
      {"file full", 1, 0, true, false, 12, RecordingEnd::kWriteFailed, testing::Ramp(5)},
      {"largest count", 1, INT32_MAX - 3, false, false, 3, RecordingEnd::kFull, testing::Ramp(3)},
      {"hang-up: the bytes first", 1, 0, false, true, 12, RecordingEnd::kNone, testing::Ramp(12)},
      {"hang-up with part of a period left", 5, 0, false, true, 1, RecordingEnd::kNone, {0, 5}},
      {"short read", 1, 0, false, false, 11, RecordingEnd::kLinkLost, testing::Ramp(11), true},
  };
  for (const Case& c : cases) {
    auto peer = std::make_unique<PtyPeer>();
    TempDir dir;
    auto state = StateOn(peer->SlavePath(), 2);
    state->sampleDecimation = c.decimation;
    state->recordedSampleCount = c.countBefore;
    state->plotBitmap = Canvas(kPlotWidth, kPlotHeight);
    const std::string name = dir.File("r.osr");
    state->dataFile = SampleFile::Create(name);
    SerialLink link(c.shortRead ? [] { return std::unique_ptr<SerialPort>(new ShortReadingPort); }
                                : SerialLink::PortFactory(MakeQtSerialPort));
    ASSERT_TRUE(link.OpenPort(*state)) << c.name;
    peer->ReleaseSlave();
    peer->Send(testing::Ramp(12));
    AwaitWaiting(link, 12);
    if (c.hangUp) peer.reset();
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    if (c.fileLimit) {
      const rlimit five{5, unlimited.rlim_max};
      setrlimit(RLIMIT_FSIZE, &five);
    }
    LiveTick tick = LiveRecordingTick(*state, link, 0);
    setrlimit(RLIMIT_FSIZE, &unlimited);
    signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(tick.stored, c.stored) << c.name;
    EXPECT_EQ(tick.end, c.end) << c.name;
    if (c.hangUp) {
      for (int i = 0; i < 3 && tick.end == RecordingEnd::kNone; ++i)
        tick = LiveRecordingTick(*state, link, 0);
      EXPECT_EQ(tick.end, RecordingEnd::kLinkLost) << c.name;
      EXPECT_EQ(tick.stored, 0) << c.name;
    }
    const std::string file = ReadFile(name);
    EXPECT_EQ(Hex(Bytes(file.begin(), file.end())), Hex(c.file)) << c.name;
  }
}

}  // namespace
}  // namespace wyk
