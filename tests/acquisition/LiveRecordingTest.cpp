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
    state->scales.sampleDecimation = c.decimation;
    state->live.recordedSampleCount = c.countBefore;
    const std::string name = dir.File("r.osr");
    state->recording.dataFile = SampleFile::Create(name);
    SerialLink link(c.shortRead ? [] { return std::unique_ptr<SerialPort>(new ShortReadingPort); }
                                : SerialLink::PortFactory(MakeQtSerialPort));
    ASSERT_TRUE(link.OpenPort(state->settings)) << c.name;
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
    LiveTick tick = LiveRecordingTick(state->scales, state->live, state->recording, link, 0);
    setrlimit(RLIMIT_FSIZE, &unlimited);
    signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(tick.stored, c.stored) << c.name;
    EXPECT_EQ(tick.end, c.end) << c.name;
    if (c.hangUp) {
      for (int i = 0; i < 3 && tick.end == RecordingEnd::kNone; ++i)
        tick = LiveRecordingTick(state->scales, state->live, state->recording, link, 0);
      EXPECT_EQ(tick.end, RecordingEnd::kLinkLost) << c.name;
      EXPECT_EQ(tick.stored, 0) << c.name;
    }
    const std::string file = ReadFile(name);
    EXPECT_EQ(Hex(Bytes(file.begin(), file.end())), Hex(c.file)) << c.name;
  }
}

}  // namespace
}  // namespace wyk
