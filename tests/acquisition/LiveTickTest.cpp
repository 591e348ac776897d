// The live tick against a scripted port, writing a real sample file.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "acquisition/LiveRecording.h"
#include "app/RecorderState.h"
#include "support/ScriptedPort.h"
#include "support/TempDir.h"

namespace wyk {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::PortScript;
using testing::ReadFile;
using testing::ScriptedPort;

Bytes Ramp(size_t count) {
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i);
  return bytes;
}

struct Step {
  Bytes sent;            // before the tick
  int32_t stored;        // by the tick
  int waitingAfter;      // left in the port
  const char* relative;  // tREL, "" when not shown
  int32_t gridOffset;    // 0 when nothing was stored
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
  const Bytes ramp700 = Ramp(700);
  const Bytes ramp150 = Ramp(150);
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
    testing::TempDir dir;
    auto state = std::make_unique<RecorderState>();
    state->live.recordingAdapterType = static_cast<uint8_t>(c.adapterType);
    state->scales.sampleDecimation = c.decimation;
    state->scales.samplePeriodMs = c.periodMs;
    state->scales.softwareGain = c.gain;
    state->live.recordedSampleCount = c.countBefore;
    const std::string name = dir.File("r.osr");
    state->recording.dataFile = SampleFile::Create(name);
    PortScript script;
    SerialLink link([&script] { return std::make_unique<ScriptedPort>(script); });
    ASSERT_TRUE(link.OpenPort(state->settings)) << c.name;
    for (const Step& step : c.steps) {
      script.Arrive(step.sent);
      const auto liveBefore = state->live.liveValues;
      const LiveTick tick =
          LiveRecordingTick(state->scales, state->live, state->recording, link, 0.5);
      EXPECT_EQ(tick.stored, step.stored) << c.name;
      EXPECT_EQ(static_cast<int>(script.waiting.size()), step.waitingAfter) << c.name;
      EXPECT_EQ(tick.relativeTime, step.relative) << c.name;
      EXPECT_EQ(tick.absoluteTime, step.stored ? "12:00:00:000" : "") << c.name;
      EXPECT_EQ(tick.gridOffset, step.gridOffset) << c.name;
      EXPECT_EQ(tick.end, RecordingEnd::kNone) << c.name;
      const std::string file = ReadFile(name);
      // The newest sample at the right of the live trace.
      if (step.stored == 0)
        EXPECT_EQ(state->live.liveValues, liveBefore) << c.name;
      else
        EXPECT_EQ(state->live.liveValues[499], static_cast<uint8_t>(file.back())) << c.name;
    }
    const std::string file = ReadFile(name);
    if (!c.file.empty()) {
      EXPECT_EQ(Bytes(file.begin(), file.end()), c.file) << c.name;
    }
    EXPECT_EQ(state->recording.dataFile.Size(), state->live.recordedSampleCount - c.countBefore)
        << c.name;
  }
}

}  // namespace
}  // namespace wyk
