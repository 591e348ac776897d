// The live tick over a port that behaves as badly as the input says: bytes arriving in any
// amounts, counts that are stale or short, short and failed reads, a device that goes away.
// Whatever happens, the sample file holds exactly the bytes the port handed over (every d-th
// one when decimating, scaled for type 1), nothing else, and a failure ends the recording.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <limits>
#include <memory>
#include <vector>

#include "FuzzInput.h"
#include "acquisition/LiveRecording.h"

using namespace wyk;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// What the port does in one tick, decoded from two input bytes.
struct TickScript {
  int arriving = 0;    // bytes that come in before the tick
  int countMode = 0;   // 0 true count, 1 the count of the tick before, 2 half the bytes
  int readMode = 0;    // 0 whole read, 1 short read, 2 read error
  bool fails = false;  // the device goes away after the bytes came
};

TickScript Decode(uint8_t amount, uint8_t how) {
  TickScript s;
  // Mostly a tick's worth; now and then a burst of up to 11,000 bytes.
  s.arriving = amount <= 0xE0 ? amount : (amount - 0xE0) * 350;
  s.countMode = (how & 3) == 3 ? 1 : (how & 3) == 2 ? 2 : 0;
  const int read = (how >> 2) & 7;
  s.readMode = read == 7 ? 2 : read == 6 ? 1 : 0;
  s.fails = (how >> 5) == 7;
  return s;
}

struct PortScript {
  std::deque<uint8_t> waiting;
  std::vector<uint8_t> handedOver;  // every byte a read returned, in order
  TickScript now;
  int lastCount = 0;     // the count the port gave last
  int promised = 0;      // what the tick may ask for at most
  bool failed = false;
  bool readAsked = false;
};

class ScriptedPort : public SerialPort {
 public:
  explicit ScriptedPort(PortScript& script) : s_(script) {}
  bool Open(const std::string&) override { return true; }
  void ApplyLineSettings(const LineSettings&) override {}
  int BytesWaiting() override {
    const int have = static_cast<int>(s_.waiting.size());
    int count = have;
    if (s_.now.countMode == 1) count = s_.lastCount;
    if (s_.now.countMode == 2) count = have / 2;
    s_.lastCount = count;
    s_.promised = std::max(s_.promised, count);
    return count;
  }
  int Read(uint8_t* buffer, int count) override {
    // The tick asks only for what the port said it had, and never past its buffer.
    Check(count > 0 && count <= s_.promised && count <= kMaxBytesPerTick);
    Check(!s_.readAsked);
    s_.readAsked = true;
    if (s_.now.readMode == 2) return -1;
    int n = std::min(count, static_cast<int>(s_.waiting.size()));
    if (s_.now.readMode == 1) n /= 2;
    for (int i = 0; i < n; ++i) {
      buffer[i] = s_.waiting.front();
      s_.handedOver.push_back(s_.waiting.front());
      s_.waiting.pop_front();
    }
    return n;
  }
  bool Write(const uint8_t*, int) override { return true; }
  void Close() override {}
  bool Failed() override { return s_.failed; }
  void Pause(int) override {}

 private:
  PortScript& s_;
};

constexpr size_t kMaxTicks = 200;  // each tick draws the live plot: keep an input quick

uint8_t Stored(uint8_t byte, int adapterType, float gain) {
  if (adapterType != 1 || gain == 1.0f) return byte;
  return static_cast<uint8_t>(std::min(std::trunc(static_cast<double>(byte) * gain), 255.0));
}

RecorderState& SharedState() {
  static const auto state = [] {
    auto s = std::make_unique<RecorderState>();
    s->plotBitmap = Canvas(kPlotWidth, kPlotHeight);
    return s;
  }();
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
  uint8_t next = input.Take<uint8_t>();  // the adapter's next byte: a ramp from here
  const std::string ticks = input.Rest();

  RecorderState& state = SharedState();
  ClearWorkBuffers(state);
  state.sampleDecimation = decimation;
  state.recordingAdapterType = static_cast<uint8_t>(adapterType);
  state.softwareGain = gain;
  state.samplePeriodMs = 0.5f;
  const int32_t countBefore = nearFull ? std::numeric_limits<int32_t>::max() - nearFull : 0;
  state.recordedSampleCount = countBefore;
  const std::string path = fuzz::ScratchFile("live.osr");
  state.dataFile = SampleFile::Create(path);

  PortScript script;
  SerialLink link([&script] { return std::make_unique<ScriptedPort>(script); });
  Check(link.OpenPort(state));

  std::vector<uint8_t> expected;  // the model's sample file
  RecordingEnd end = RecordingEnd::kNone;
  size_t step = 0;
  size_t ticksLeft = 0;  // once the device is gone: enough to drain what it had delivered
  while (end == RecordingEnd::kNone) {
    if (!script.failed) {
      if (step + 1 >= std::min<size_t>(ticks.size(), 2 * kMaxTicks)) break;
      script.now = Decode(static_cast<uint8_t>(ticks[step]), static_cast<uint8_t>(ticks[step + 1]));
      step += 2;
      for (int i = 0; i < script.now.arriving; ++i) script.waiting.push_back(next++);
      script.failed = script.now.fails;
      if (script.failed)
        ticksLeft = script.waiting.size() / (decimation == 1 ? kMaxBytesPerTick : decimation) + 3;
    } else {
      // A gone device delivers nothing more; what it had delivered drains, then it ends.
      script.now = TickScript{};
      Check(ticksLeft-- > 0);
    }
    script.promised = 0;
    script.readAsked = false;
    const size_t handedBefore = script.handedOver.size();
    const int32_t countBeforeTick = state.recordedSampleCount;
    const LiveTick tick = LiveRecordingTick(state, link, 0.5);
    end = tick.end;

    const size_t got = script.handedOver.size() - handedBefore;
    // The new samples: every d-th byte handed over, counted from the first of this tick.
    for (size_t i = 0; i < got; i += static_cast<size_t>(decimation))
      expected.push_back(Stored(script.handedOver[handedBefore + i], adapterType, gain));
    const int32_t stored = state.recordedSampleCount - countBeforeTick;
    Check(stored == tick.stored);
    Check(stored >= 0 && stored <= (decimation == 1 ? kMaxBytesPerTick : 1));
    Check(static_cast<size_t>(state.recordedSampleCount - countBefore) == expected.size());
    // A read that gave less than it was asked for, or a gone device with too little left, ends
    // the recording; a read in full does not.
    const int32_t room = std::numeric_limits<int32_t>::max() - countBeforeTick;
    const int asked =
        decimation == 1 ? std::min({script.promised, kMaxBytesPerTick, room}) : decimation;
    const bool shortRead = script.readAsked && static_cast<int>(got) < asked;
    const bool full = state.recordedSampleCount == std::numeric_limits<int32_t>::max();
    if (shortRead) Check(end == RecordingEnd::kLinkLost);
    if (!script.readAsked && script.failed) Check(end == RecordingEnd::kLinkLost);
    if (!shortRead && !(script.failed && !script.readAsked)) {
      Check(end == (full ? RecordingEnd::kFull : RecordingEnd::kNone));
    }
    // Enough bytes waiting, counted truly and read in full: the tick stores what the rules say.
    if (script.now.countMode == 0 && script.now.readMode == 0 && !full) {
      const int have = std::min(static_cast<int>(script.waiting.size() + got), kMaxBytesPerTick);
      Check(stored == (decimation == 1 ? have : have >= decimation ? 1 : 0));
    }
    // The newest samples at the right of the live trace.
    const size_t shown = std::min<size_t>(expected.size(), kPlotWidth);
    for (size_t i = 0; i < shown; ++i)
      Check(state.liveValues[kPlotWidth - shown + i] == expected[expected.size() - shown + i]);
  }
  EndRecording(state, link, end != RecordingEnd::kLinkLost);
  const std::string file = fuzz::ReadBytes(path);
  Check(file == std::string(expected.begin(), expected.end()));
  state.dataFile = SampleFile();
  std::remove(path.c_str());
  return 0;
}
