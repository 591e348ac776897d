// The simulated adapter's protocol side, driven byte by byte on an explicit clock.
#include "SimulatedAdapter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace sim {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int64_t kMs = 1'000'000;  // nanoseconds

const Bytes kHandshake2 = {0x00, 0x55, 0x00, 0x00, 0x00, 0x55};
const Bytes kHandshake01 = {0x00, 0x55, 0x00, 0x00, 0x55};

struct Wire {
  Bytes sent;
  std::vector<std::string> notes;

  SimulatedAdapter Adapter(AdapterBehaviour behaviour) {
    return SimulatedAdapter(
        behaviour,
        [this](const uint8_t* bytes, int count) {
          sent.insert(sent.end(), bytes, bytes + count);
          return count;
        },
        [this](const std::string& line) { notes.push_back(line); });
  }
};

AdapterBehaviour Ramp(int type) {
  AdapterBehaviour b;
  b.adapterType = type;
  b.wave.shape = WaveShape::kRamp;
  return b;
}

std::string Hex(const Bytes& bytes) {
  return HexBytes(bytes.data(), static_cast<int>(bytes.size()));
}

void Feed(SimulatedAdapter& adapter, const Bytes& bytes, int64_t now = 0) {
  adapter.Receive(bytes.data(), static_cast<int>(bytes.size()), now);
}

Bytes RampOf(int count, int first = 0) {
  Bytes bytes;
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(first + i));
  return bytes;
}

TEST(SimulatedAdapter, RateCodeSetsTheSamplePeriod) {
  struct Case {
    uint8_t code;
    const char* note;
    int samplesIn100Ms;  // one at the start, then one per period
  };
  const Case cases[] = {
      {100, "okres=200us", 501}, {101, "okres=500us", 201}, {102, "okres=1000us", 101},
      {103, "okres=2000us", 51}, {104, "okres=5000us", 21}, {105, "okres=10000us", 11},
  };
  for (const Case& c : cases) {
    Wire wire;
    SimulatedAdapter adapter = wire.Adapter(Ramp(2));
    Feed(adapter, kHandshake2);
    Bytes settings = {0x00, c.code, 0x78, 0x80, 0x01, 0x00};
    settings[5] = static_cast<uint8_t>(0x00 + c.code + 0x78 + 0x80 + 0x01);
    Feed(adapter, settings);
    // The count follows the clock, not how often the adapter is asked.
    for (int64_t t = 0; t < 100 * kMs; t += kMs / 3) adapter.Stream(t);
    adapter.Stream(100 * kMs);
    Bytes expected = {0x00};  // the reply
    const Bytes samples = RampOf(c.samplesIn100Ms);
    expected.insert(expected.end(), samples.begin(), samples.end());
    EXPECT_EQ(Hex(wire.sent), Hex(expected)) << int{c.code};
    ASSERT_EQ(wire.notes.size(), 2u);
    EXPECT_EQ(wire.notes[1], "ustawienia " + HexBytes(settings.data(), 6) + " suma=ok " + c.note);
  }
}

TEST(SimulatedAdapter, SettingsFramesAreCheckedPerType) {
  struct Case {
    int type;
    Bytes frame;
    const char* note;
    bool streams;
  };
  const Case cases[] = {
      {0, {0x00, 0x65, 0x78, 0x80, 0x01}, "ustawienia 00 65 78 80 01 suma=brak okres=500us", true},
      {2,
       {0x00, 0x65, 0x78, 0x80, 0x01, 0x5E},
       "ustawienia 00 65 78 80 01 5E suma=ok okres=500us",
       true},
      {2,
       {0x00, 0x65, 0x78, 0x80, 0x01, 0x5F},
       "ustawienia 00 65 78 80 01 5F suma=zla okres=500us odrzucona",
       false},
      {1, {0x00, 0x65, 0x01, 0x00, 0x66}, "ustawienia 00 65 01 00 66 suma=ok okres=500us", true},
      {1,
       {0x00, 0x65, 0x01, 0x00, 0x67},
       "ustawienia 00 65 01 00 67 suma=zla okres=500us odrzucona",
       false},
      {2,
       {0x00, 0x63, 0x78, 0x80, 0x01, 0x5C},
       "ustawienia 00 63 78 80 01 5C suma=ok okres=brak odrzucona",
       false},
      {0,
       {0x80, 0x6A, 0x78, 0x80, 0x01},
       "ustawienia 80 6A 78 80 01 suma=brak okres=brak odrzucona",
       false},
  };
  for (const Case& c : cases) {
    Wire wire;
    SimulatedAdapter adapter = wire.Adapter(Ramp(c.type));
    Feed(adapter, c.type == 2 ? kHandshake2 : kHandshake01);
    Feed(adapter, c.frame);
    ASSERT_EQ(wire.notes.size(), 2u);
    EXPECT_EQ(wire.notes[1], c.note);
    EXPECT_EQ(adapter.Streaming(), c.streams) << c.note;
  }
}

TEST(SimulatedAdapter, OnlyByteZeroOfTheSettingsFrameStopsTheStream) {
  struct Case {
    Bytes frame;
    uint8_t other, stop;
  };
  const Case cases[] = {
      {{0x80, 0x64, 0x78, 0x80, 0x01, 0xDD}, 0x00, 0x80},  // DC
      {{0x00, 0x64, 0x78, 0x80, 0x01, 0x5D}, 0x80, 0x00},  // AC and GND
  };
  for (const Case& c : cases) {
    Wire wire;
    SimulatedAdapter adapter = wire.Adapter(Ramp(2));
    Feed(adapter, kHandshake2);
    Feed(adapter, c.frame);
    adapter.Stream(2 * kMs);
    Feed(adapter, {c.other});
    EXPECT_TRUE(adapter.Streaming());
    adapter.Stream(4 * kMs);
    Feed(adapter, {c.stop});
    EXPECT_FALSE(adapter.Streaming());
    adapter.Stream(100 * kMs);
    Bytes expected = {0x00};
    const Bytes samples = RampOf(21);  // 0 … 4 ms at 0.2 ms
    expected.insert(expected.end(), samples.begin(), samples.end());
    EXPECT_EQ(Hex(wire.sent), Hex(expected));
    ASSERT_EQ(wire.notes.size(), 4u);
    char other[16], stop[16];
    std::snprintf(other, sizeof other, "inny %02X", c.other);
    std::snprintf(stop, sizeof stop, "stop %02X", c.stop);
    EXPECT_EQ(wire.notes[2], other);
    EXPECT_EQ(wire.notes[3], stop);
    // After the stop it answers the next handshake again.
    Feed(adapter, kHandshake2, 200 * kMs);
    EXPECT_EQ(wire.sent.back(), 0x00);
    EXPECT_EQ(wire.sent.size(), expected.size() + 1);
  }
}

}  // namespace
}  // namespace sim
