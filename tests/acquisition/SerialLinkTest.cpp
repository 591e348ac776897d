// The link's operations on the real QSerialPort against a scripted far end on a pty master.
#include "acquisition/SerialLink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "acquisition/LinkTestSupport.h"
#include "acquisition/QtSerialPort.h"

namespace wyk {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::PtyPeer;
using testing::ReadBytes;
using testing::StateOn;

const Bytes kHandshake01 = {0x00, 0x55, 0x00, 0x00, 0x55};
const Bytes kHandshake2 = {0x00, 0x55, 0x00, 0x00, 0x00, 0x55};

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(SerialLink, ARecordingSendsHandshakeSettingsAndStopByteExactly) {
  struct Case {
    const char* name;
    int type;
    uint8_t coupling;
    int32_t periodIndex;
    uint8_t voltsIndex, rangeCode, dcOffset;
    Bytes wire;  // handshake, settings frame, stop byte
  };
  const Case cases[] = {
      {"type 2 AC 0,5ms 10mV", 2, kCouplingAc, 1, 1, 0, 120,
       Join({kHandshake2, {0x00, 0x65, 0x78, 0x80, 0x01, 0x5E}, {0x00}})},
      {"type 0 AC 0,5ms 10mV", 0, kCouplingAc, 1, 1, 0, 120,
       Join({kHandshake01, {0x00, 0x65, 0x78, 0x80, 0x01}, {0x00}})},
      {"type 2 DC 0,5ms 10mV", 2, kCouplingDc, 1, 1, 0, 120,
       Join({kHandshake2, {0x80, 0x65, 0x78, 0x80, 0x01, 0xDE}, {0x80}})},
      {"type 0 DC", 0, kCouplingDc, 1, 1, 0, 120,
       Join({kHandshake01, {0x80, 0x65, 0x78, 0x80, 0x01}, {0x80}})},
      {"type 2 GND 200mV", 2, kCouplingGnd, 1, 5, 0, 120,
       Join({kHandshake2, {0x00, 0x65, 0x78, 0x80, 0x00, 0x5D}, {0x00}})},
      {"type 2 0,2ms", 2, kCouplingAc, 0, 1, 0, 120,
       Join({kHandshake2, {0x00, 0x64, 0x78, 0x80, 0x01, 0x5D}, {0x00}})},
      {"type 2 checksum wraps", 2, kCouplingDc, 5, 10, 0, 255,
       Join({kHandshake2, {0x80, 0x69, 0xFF, 0x80, 0x0A, 0x72}, {0x80}})},
      {"type 0 never a checksum", 0, kCouplingAc, 5, 10, 0, 255,
       Join({kHandshake01, {0x00, 0x69, 0xFF, 0x80, 0x0A}, {0x00}})},
      {"type 1 0,5ms 100mV", 1, kCouplingDc, 1, 4, 1, 120,
       Join({kHandshake01, {0x00, 0x65, 0x01, 0x00, 0x66}, {0x00}})},
      {"type 1 10ms 1V", 1, kCouplingDc, 5, 7, 4, 0,
       Join({kHandshake01, {0x00, 0x69, 0x04, 0x00, 0x6D}, {0x00}})},
      {"type 1 before any range", 1, kCouplingAc, 2, 1, 0, 120,
       Join({kHandshake01, {0x00, 0x66, 0x00, 0x00, 0x66}, {0x00}})},
      {"type 7 sends no frame", 7, kCouplingAc, 1, 1, 0, 120, {0x00}},  // but the stop byte
  };
  for (const Case& c : cases) {
    PtyPeer peer;
    auto state = StateOn(peer.SlavePath(), c.type);
    state->scales.couplingMode = c.coupling;
    state->scales.samplePeriodIndex = c.periodIndex;
    state->scales.voltsPerDivIndex = c.voltsIndex;
    state->scales.rangeCode = c.rangeCode;
    state->settings.dcOffset = c.dcOffset;
    SerialLink link(MakeQtSerialPort);
    ASSERT_TRUE(link.OpenPort(state->settings)) << c.name;
    peer.ReleaseSlave();
    peer.Send({0x00});
    EXPECT_EQ(link.DetectAdapter(state->settings, state->live), 0x00) << c.name;
    EXPECT_TRUE(link.SendSettings(state->settings, state->scales, state->live)) << c.name;
    link.StopAndClosePort(state->live);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(Hex(peer.ReadUntilHangUp()), Hex(c.wire)) << c.name;
    EXPECT_EQ(state->scales.voltsPerDivIndex, c.voltsIndex) << c.name;
  }
}

TEST(SerialLink, CouplingOfOneRecordingDoesNotLeakIntoTheNext) {
  struct Case {
    uint8_t coupling;
    Bytes settingsAndStop;
  };
  // One state through three recordings, as the program keeps it.
  const Case recordings[] = {
      {kCouplingDc, {0x80, 0x65, 0x78, 0x80, 0x03, 0xE0, 0x80}},
      {kCouplingGnd, {0x00, 0x65, 0x78, 0x80, 0x00, 0x5D, 0x00}},  // byte 0 from the handshake
      {kCouplingAc, {0x00, 0x65, 0x78, 0x80, 0x03, 0x60, 0x00}},   // the range is back
  };
  auto state = StateOn("", 2);
  state->scales.voltsPerDivIndex = 3;
  SerialLink link(MakeQtSerialPort);
  for (const Case& r : recordings) {
    PtyPeer peer;
    state->settings.comDevicePaths[1] = peer.SlavePath();
    state->scales.couplingMode = r.coupling;
    ASSERT_TRUE(link.OpenPort(state->settings));
    peer.ReleaseSlave();
    peer.Send({0x00});
    ASSERT_EQ(link.DetectAdapter(state->settings, state->live), 0x00);
    link.SendSettings(state->settings, state->scales, state->live);
    link.StopAndClosePort(state->live);
    EXPECT_EQ(Hex(peer.ReadUntilHangUp()), Hex(Join({kHandshake2, r.settingsAndStop})));
  }
}

TEST(SerialLink, OnlyTheFirstReplyByteIsTaken) {
  struct Case {
    const char* name;
    int type;
    Bytes reply;
    int detected;
    bool answered;
    Bytes handshake;  // what went out; the port is then closed without a stop byte
  };
  const Case cases[] = {
      {"0x00", 2, {0x00}, 0x00, true, kHandshake2},
      {"0x7F present", 2, {0x7F}, 0x7F, true, kHandshake2},
      {"0x80 absent", 2, {0x80}, 0x80, false, kHandshake2},
      {"0xFF absent", 0, {0xFF}, 0xFF, false, kHandshake01},
      {"two bytes", 2, {0x12, 0x34}, 0x12, true, kHandshake2},
      {"three bytes", 1, {0x00, 0xAA, 0x55}, 0x00, true, kHandshake01},
      {"silence", 2, {}, -1, false, kHandshake2},
      {"type 7, silence", 7, {}, -1, false, {}},
      {"type 7, the device speaks", 7, {0x05}, 0x05, true, {}},
  };
  for (const Case& c : cases) {
    PtyPeer peer;
    auto state = StateOn(peer.SlavePath(), c.type);
    SerialLink link(MakeQtSerialPort);
    ASSERT_TRUE(link.OpenPort(state->settings)) << c.name;
    peer.ReleaseSlave();
    peer.Send(c.reply);
    const int detected = link.DetectAdapter(state->settings, state->live);
    EXPECT_EQ(detected, c.detected) << c.name;
    EXPECT_EQ(AdapterAnswered(detected), c.answered) << c.name;
    if (c.detected >= 0) {
      EXPECT_EQ(state->live.receiveBuffer[0], c.detected) << c.name;
    }
    // The later bytes wait as the first samples.
    const Bytes rest(c.reply.size() > 1 ? c.reply.begin() + 1 : c.reply.end(), c.reply.end());
    EXPECT_EQ(Hex(ReadBytes(link, rest.size())), Hex(rest)) << c.name;
    EXPECT_EQ(link.BytesWaiting(), 0) << c.name;
    link.ClosePort();
    EXPECT_EQ(Hex(peer.ReadUntilHangUp()), Hex(c.handshake)) << c.name;
  }
}

TEST(SerialLink, OpensComPortsByTheirDevices) {
  PtyPeer peer;
  struct Case {
    uint8_t port;
    std::string device;  // entry COM<port> of the settings
    bool opens;
  };
  const Case cases[] = {
      {8, peer.SlavePath(), true},  // "COM8"
      {3, peer.SlavePath(), true},
      {0, peer.SlavePath(), false},  // COM0 names no device
  };
  for (const Case& c : cases) {
    auto state = StateOn("", 2);
    state->settings.comPortNumber = c.port;
    if (c.port <= 8) state->settings.comDevicePaths[c.port] = c.device;
    SerialLink link(MakeQtSerialPort);
    EXPECT_EQ(link.OpenPort(state->settings), c.opens) << int{c.port} << " " << c.device;
    EXPECT_EQ(link.IsOpen(), c.opens);
  }
}

TEST(SerialLink, ANewOpenClosesTheOldPortAndNoPortIsClosedTwice) {
  PtyPeer peer;
  auto state = StateOn(peer.SlavePath(), 2);
  SerialLink link(MakeQtSerialPort), other(MakeQtSerialPort);
  ASSERT_TRUE(link.OpenPort(state->settings));
  EXPECT_FALSE(other.OpenPort(state->settings));  // the device is not shared
  // Opening again closes the first port; otherwise the device would still be taken.
  ASSERT_TRUE(link.OpenPort(state->settings));
  peer.ReleaseSlave();
  state->live.commandFrame[0] = 0x80;
  link.StopAndClosePort(state->live);
  link.StopAndClosePort(state->live);
  link.ClosePort();
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(link.BytesWaiting(), 0);
  EXPECT_EQ(Hex(peer.ReadUntilHangUp()), "80");
  EXPECT_TRUE(other.OpenPort(state->settings));
}

}  // namespace
}  // namespace wyk
