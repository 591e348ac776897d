// The live tick over a port that behaves as badly as the input says: bytes arriving in any
// amounts, counts that are stale or short, short and failed reads, a device that goes away.
// Whatever happens, the sample file holds exactly the bytes the port handed over (every d-th
// one when decimating, scaled for type 1), nothing else, and a failure ends the recording.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

#include "FuzzInput.h"
#include "acquisition/LiveRecording.h"
#include "app/RecorderState.h"
#include "support/ScriptedPort.h"

using namespace wyk;
using testing::CountAs;
using testing::PortScript;
using testing::ReadAs;
using testing::ScriptedPort;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// What the port does in one tick, decoded from two input bytes.
struct TickScript {
  int arriving = 0;  // bytes that come in before the tick
  CountAs count = CountAs::kTrue;
  ReadAs read = ReadAs::kWhole;
  bool fails = false;  // the device goes away after the bytes came
};

TickScript Decode(uint8_t amount, uint8_t how) {
  TickScript s;
  // Mostly a tick's worth; now and then a burst of up to 11,000 bytes.
  s.arriving = amount <= 0xE0 ? amount : (amount - 0xE0) * 350;
  s.count = (how & 3) == 3 ? CountAs::kStale : (how & 3) == 2 ? CountAs::kHalf : CountAs::kTrue;
  const int read = (how >> 2) & 7;
  s.read = read == 7 ? ReadAs::kError : read == 6 ? ReadAs::kShort : ReadAs::kWhole;
  s.fails = (how >> 5) == 7;
  return s;
}

constexpr size_t kMaxTicks = 200;

uint8_t Stored(uint8_t byte, int adapterType, float gain) {
  if (adapterType != 1 || gain == 1.0f) return byte;
  return static_cast<uint8_t>(std::min(std::trunc(static_cast<double>(byte) * gain), 255.0));
}

RecorderState& SharedState() {
  static const auto state = std::make_unique<RecorderState>();
  return *state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput input(data, size);
  static constexpr int kDecimations[] = {1, 1, 2, 5, 50, 100};
  static constexpr float kGains[] = {1.0f, 2.5f, 2.0f, 5.0f, 1.25f};
  const int decimation = kDecimations[input.Take<uint8_t>() % 6];
  const int adapterType = input.Take<uint8_t>() % 3;
  const float gain = kGains[input.Take<uint8_t>() % 5];
  const uint16_t nearFull = input.Take<uint16_t>();  // 0: from the start; else this far from full
  uint8_t next = input.Take<uint8_t>();              // the adapter's next byte: a ramp from here
  const std::string ticks = input.Rest();

  RecorderState& state = SharedState();
  ClearWorkBuffers(state.live, state.view);
  state.scales.sampleDecimation = decimation;
  state.live.recordingAdapterType = static_cast<uint8_t>(adapterType);
  state.scales.softwareGain = gain;
  state.scales.samplePeriodMs = 0.5f;
  const int32_t countBefore = nearFull ? std::numeric_limits<int32_t>::max() - nearFull : 0;
  state.live.recordedSampleCount = countBefore;
  const std::string path = fuzz::ScratchFile("live.osr");
  state.recording.dataFile = SampleFile::Create(path);

  PortScript script;
  SerialLink link([&script] { return std::make_unique<ScriptedPort>(script); });
  Check(link.OpenPort(state.settings));

  std::vector<uint8_t> expected;  // the model's sample file
  RecordingEnd end = RecordingEnd::kNone;
  size_t step = 0;
  size_t ticksLeft = 0;  // once the device is gone: enough to drain what it had delivered
  while (end == RecordingEnd::kNone) {
    TickScript now;
    if (!script.failed) {
      if (step + 1 >= std::min<size_t>(ticks.size(), 2 * kMaxTicks)) break;
      now = Decode(static_cast<uint8_t>(ticks[step]), static_cast<uint8_t>(ticks[step + 1]));
      step += 2;
      for (int i = 0; i < now.arriving; ++i) script.waiting.push_back(next++);
      script.failed = now.fails;
      if (script.failed)
        ticksLeft = script.waiting.size() / (decimation == 1 ? kMaxBytesPerTick : decimation) + 3;
    } else {
      // A gone device delivers nothing more; what it had delivered drains, then it ends.
      Check(ticksLeft-- > 0);
    }
    script.count = now.count;
    script.read = now.read;
    script.NextTick();
    const size_t handedBefore = script.handedOver.size();
    const int32_t countBeforeTick = state.live.recordedSampleCount;
    const LiveTick tick = LiveRecordingTick(state.scales, state.live, state.recording, link, 0.5);
    end = tick.end;

    // The tick asks only for what the port said it had, once, and never past its buffer.
    Check(!script.overreached && script.reads <= 1 && script.largestAsked <= kMaxBytesPerTick);
    const bool readAsked = script.reads == 1;
    const size_t got = script.handedOver.size() - handedBefore;
    // The new samples: every d-th byte handed over, counted from the first of this tick.
    for (size_t i = 0; i < got; i += static_cast<size_t>(decimation))
      expected.push_back(Stored(script.handedOver[handedBefore + i], adapterType, gain));
    const int32_t stored = state.live.recordedSampleCount - countBeforeTick;
    Check(stored == tick.stored);
    Check(stored >= 0 && stored <= (decimation == 1 ? kMaxBytesPerTick : 1));
    Check(static_cast<size_t>(state.live.recordedSampleCount - countBefore) == expected.size());
    // A read that gave less than it was asked for, or a gone device with too little left, ends
    // the recording; a read in full does not.
    const int32_t room = std::numeric_limits<int32_t>::max() - countBeforeTick;
    const int asked =
        decimation == 1 ? std::min({script.promised, kMaxBytesPerTick, room}) : decimation;
    const bool shortRead = readAsked && static_cast<int>(got) < asked;
    const bool full = state.live.recordedSampleCount == std::numeric_limits<int32_t>::max();
    if (shortRead) Check(end == RecordingEnd::kLinkLost);
    if (!readAsked && script.failed) Check(end == RecordingEnd::kLinkLost);
    if (!shortRead && !(script.failed && !readAsked)) {
      Check(end == (full ? RecordingEnd::kFull : RecordingEnd::kNone));
    }
    // Enough bytes waiting, counted truly and read in full: the tick stores what the rules say.
    if (now.count == CountAs::kTrue && now.read == ReadAs::kWhole && !full) {
      const int have = std::min(static_cast<int>(script.waiting.size() + got), kMaxBytesPerTick);
      Check(stored == (decimation == 1 ? have : have >= decimation ? 1 : 0));
    }
    // The newest samples at the right of the live trace.
    const size_t shown = std::min<size_t>(expected.size(), kPlotWidth);
    for (size_t i = 0; i < shown; ++i)
      Check(state.live.liveValues[kPlotWidth - shown + i] == expected[expected.size() - shown + i]);
  }
  EndRecording(state.live, state.recording, state.view, link, end != RecordingEnd::kLinkLost);
  const std::string file = fuzz::ReadBytes(path);
  Check(file == std::string(expected.begin(), expected.end()));
  state.recording.dataFile = SampleFile();
  std::remove(path.c_str());
  return 0;
}
