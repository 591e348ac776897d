// The built simulator as the far end of the link, over its pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "acquisition/PtyPeer.h"
#include "acquisition/QtSerialPort.h"
#include "acquisition/SerialLink.h"
#include "acquisition/SimProcess.h"
#include "config/Settings.h"

namespace wyk {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::Ramp;
using testing::ScratchDir;
using testing::SimProcess;

Bytes ReadFromLink(SerialLink& link, size_t count) {
  Bytes bytes;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
    uint8_t chunk[kReceiveBufferSize];
    const int waiting = std::min(link.BytesWaiting(), kReceiveBufferSize);
    const int n = waiting > 0 ? link.Read(chunk, waiting) : 0;
    if (n > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    else link.Pause(5);
  }
  return bytes;
}

std::unique_ptr<RecorderState> StateOn(const std::string& device, int adapterType) {
  auto state = std::make_unique<RecorderState>();
  state->comPortNumber = 1;
  state->comDevicePaths[1] = device;
  state->adapterType = static_cast<uint8_t>(adapterType);
  return state;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

Bytes Slice(const Bytes& bytes, size_t from, size_t count) {
  from = std::min(from, bytes.size());
  return Bytes(bytes.begin() + from, bytes.begin() + std::min(bytes.size(), from + count));
}

TEST(AdapterSim, AnswersTheHandshakeAsToldOnItsCommandLine) {
  struct Case {
    std::vector<std::string> args;
    int linkType;
    int detected;
    Bytes after;  // further bytes before any sample
  };
  const Case cases[] = {
      {{}, 2, 0x00, {}},
      {{"--type", "0"}, 0, 0x00, {}},
      {{"--type", "1"}, 1, 0x00, {}},
      {{"--reply", "0x7F"}, 2, 0x7F, {}},
      {{"--reply", "0x80"}, 2, 0x80, {}},
      {{"--reply", "0x12", "--extra-bytes", "0x34,86"}, 2, 0x12, {0x34, 0x56}},
      {{"--no-reply"}, 2, -1, {}},
      {{"--type", "0"}, 2, -1, {}},  // a handshake of the wrong type
  };
  for (const Case& c : cases) {
    SimProcess sim(c.args);
    ASSERT_FALSE(sim.DevicePath().empty());
    auto state = StateOn(sim.LinkPath(), c.linkType);
    SerialLink link(MakeQtSerialPort);
    ASSERT_TRUE(link.OpenPort(*state));
    EXPECT_EQ(link.DetectAdapter(*state), c.detected) << c.args.size();
    EXPECT_EQ(Hex(ReadFromLink(link, c.after.size())), Hex(c.after));
    link.ClosePort();
    if (c.detected >= 0) {
      Bytes tx = {static_cast<uint8_t>(c.detected)};
      tx.insert(tx.end(), c.after.begin(), c.after.end());
      EXPECT_EQ(Hex(sim.TxLog()), Hex(tx));
    }
    EXPECT_EQ(sim.Terminate(), 0);
  }
}

TEST(AdapterSim, RateCodesAndFramesReachTheSimulatorIntact) {
  SimProcess sim({});
  auto state = StateOn(sim.LinkPath(), 2);
  SerialLink link(MakeQtSerialPort);
  std::vector<std::string> expected = {"podlaczony " + sim.DevicePath()};
  const char* periods[] = {"200us", "500us", "1000us", "2000us", "5000us", "10000us"};
  for (int index = 0; index <= 5; ++index) {
    state->samplePeriodIndex = index;
    ASSERT_TRUE(link.OpenPort(*state));
    ASSERT_EQ(link.DetectAdapter(*state), 0);
    link.SendSettings(*state);
    ASSERT_TRUE(sim.WaitForRxLines("ustawienia", index + 1));
    link.StopAndClosePort(*state);
    ASSERT_TRUE(sim.WaitForRxLines("stop", index + 1));
    const Bytes frame(state->commandFrame.begin(), state->commandFrame.end());
    expected.push_back("powitanie 00 55 00 00 00 55");
    expected.push_back("ustawienia " + Hex(frame) + " suma=ok okres=" + periods[index]);
    expected.push_back("stop 00");
  }
  EXPECT_EQ(Lines(sim.RxLog()), expected);
}

TEST(AdapterSim, ARampArrivesAsSentAndStopsAtTheStopByte) {
  SimProcess sim({"--signal", "ramp"});
  QtSerialPort port;
  ASSERT_TRUE(port.Open(sim.LinkPath()));
  port.ApplyLineSettings({});
  const Bytes handshake = {0x00, 0x55, 0x00, 0x00, 0x00, 0x55};
  const Bytes dcAt02ms = {0x80, 0x64, 0x78, 0x80, 0x01, 0xDD};
  ASSERT_TRUE(port.Write(handshake.data(), 6));
  ASSERT_TRUE(port.Write(dcAt02ms.data(), 6));
  Bytes received;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (received.size() < 3000 && std::chrono::steady_clock::now() < deadline) {
    uint8_t chunk[4096];
    const int n = port.Read(chunk, std::min(port.BytesWaiting(), 4096));
    if (n > 0) received.insert(received.end(), chunk, chunk + n);
    port.Pause(10);
  }
  const uint8_t notStop = 0x00, stop = 0x80;
  ASSERT_TRUE(port.Write(&notStop, 1));
  ASSERT_TRUE(port.Write(&stop, 1));
  ASSERT_TRUE(sim.WaitForRxLines("stop 80"));
  const Bytes tx = sim.TxLog();
  // Everything sent after the stop byte came in is on its way; take all of it.
  while (received.size() < tx.size() && std::chrono::steady_clock::now() < deadline) {
    uint8_t chunk[4096];
    const int n = port.Read(chunk, std::min(port.BytesWaiting(), 4096));
    if (n > 0) received.insert(received.end(), chunk, chunk + n);
    else port.Pause(5);
  }
  ASSERT_GE(tx.size(), 3001u);
  EXPECT_EQ(Hex(received), Hex(tx));
  Bytes sent = {0x00};  // the reply, then the ramp without a gap
  const Bytes ramp = Ramp(tx.size() - 1);
  sent.insert(sent.end(), ramp.begin(), ramp.end());
  EXPECT_EQ(Hex(tx), Hex(sent));
  EXPECT_EQ(Lines(sim.RxLog()),
            (std::vector<std::string>{"podlaczony " + sim.DevicePath(),
                                      "powitanie 00 55 00 00 00 55",
                                      "ustawienia 80 64 78 80 01 DD suma=ok okres=200us",
                                      "inny 00", "stop 80"}));
}

TEST(AdapterSim, RecordingThroughTheLinkGetsTheSentSamplesInOrder) {
  SimProcess sim({"--signal", "ramp"});
  auto state = StateOn(sim.LinkPath(), 2);
  state->samplePeriodIndex = 0;
  SerialLink link(MakeQtSerialPort);
  size_t txBefore = 0;
  for (const uint8_t coupling : {kCouplingAc, kCouplingDc}) {
    state->couplingMode = coupling;
    ASSERT_TRUE(link.OpenPort(*state));
    link.Pause(500);
    ASSERT_EQ(link.DetectAdapter(*state), 0);
    link.SendSettings(*state);
    const Bytes received = ReadFromLink(link, 1500);
    link.StopAndClosePort(*state);
    ASSERT_TRUE(sim.WaitForRxLines(coupling == kCouplingDc ? "stop 80" : "stop 00"));
    const Bytes tx = sim.TxLog();
    // The reply, then a ramp from 0 of which the link read the first part.
    ASSERT_GE(tx.size(), txBefore + 1 + received.size());
    EXPECT_EQ(tx[txBefore], 0x00);
    EXPECT_EQ(Hex(received), Hex(Slice(tx, txBefore + 1, received.size())));
    EXPECT_EQ(Hex(received), Hex(Ramp(received.size())));
    txBefore = tx.size();
  }
}

TEST(AdapterSim, UnpluggedCableLeavesTheLinkUsableAndPlugsBackOnSignal) {
  SimProcess sim({"--signal", "ramp", "--unplug-after", "1000"});
  auto state = StateOn(sim.LinkPath(), 2);
  state->samplePeriodIndex = 0;
  SerialLink link(MakeQtSerialPort);
  ASSERT_TRUE(link.OpenPort(*state));
  ASSERT_EQ(link.DetectAdapter(*state), 0);
  link.SendSettings(*state);
  // Read as a recording does until the cable is out; the hang-up may discard the last bytes.
  Bytes received;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  bool unplugged = false;
  while (!unplugged && std::chrono::steady_clock::now() < deadline) {
    unplugged = sim.CountRxLines("odlaczony") > 0;
    for (uint8_t byte; link.BytesWaiting() > 0 && link.Read(&byte, 1) == 1;)
      received.push_back(byte);
    link.Pause(10);
  }
  ASSERT_TRUE(unplugged);
  EXPECT_FALSE(received.empty());
  EXPECT_LE(received.size(), 1000u);
  EXPECT_EQ(Hex(received), Hex(Ramp(received.size())));
  Bytes sent = {0x00};
  const Bytes ramp = Ramp(1000);
  sent.insert(sent.end(), ramp.begin(), ramp.end());
  EXPECT_EQ(Hex(sim.TxLog()), Hex(sent));
  EXPECT_EQ(link.BytesWaiting(), 0);
  link.StopAndClosePort(*state);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(sim.LinkPath()));
  EXPECT_FALSE(link.OpenPort(*state));

  sim.Signal(SIGUSR1);
  EXPECT_FALSE(sim.NextDeviceLine().empty());
  ASSERT_TRUE(link.OpenPort(*state));
  EXPECT_EQ(link.DetectAdapter(*state), 0);
  link.ClosePort();
  EXPECT_EQ(sim.Terminate(), 0);
}

TEST(AdapterSim, PointsTheProgramsComPortAtItselfInTheSettingsFile) {
  ScratchDir dir;
  const std::string settings = dir / "wykresownik.INI";
  std::ofstream(settings, std::ios::binary)
      << "[COL]\r\nclLinia=255\r\n[COM]\r\nPort=3\r\nTyp=0\r\nSkladowaStala=7\r\n";
  SimProcess sim({"--settings", settings});
  std::ifstream in(settings, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(text, "[COL]\r\nclLinia=255\r\n[COM]\r\nPort=3\r\nTyp=0\r\nSkladowaStala=7\r\nCOM3=" +
                      sim.LinkPath() + "\r\n");
  auto state = std::make_unique<RecorderState>();
  LoadSettings(*state, settings);
  SerialLink link(MakeQtSerialPort);
  ASSERT_TRUE(link.OpenPort(*state));
  EXPECT_EQ(link.DetectAdapter(*state), 0);  // a type 0 simulator, from "Typ"
  link.ClosePort();
  EXPECT_TRUE(sim.WaitForRxLines("powitanie 00 55 00 00 55"));
}

TEST(AdapterSim, EndsCleanlyOnSignalsAndRefusesBadOptions) {
  for (const int signalNumber : {SIGTERM, SIGINT}) {
    SimProcess sim({});
    EXPECT_TRUE(std::filesystem::is_symlink(sim.LinkPath()));
    EXPECT_EQ(std::filesystem::read_symlink(sim.LinkPath()), sim.DevicePath());
    EXPECT_EQ(sim.Terminate(signalNumber), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(sim.LinkPath())));
  }
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* output;
  };
  const Case cases[] = {
      {{"--help"}, 0, "Użycie: adapter-sim"},
      {{"--type", "3"}, 2, ""},
      {{"--reply", "256"}, 2, ""},
      {{"--signal", "sinus"}, 2, ""},
      {{"--extra-bytes", "1,,2"}, 2, ""},
      {{"--bogus"}, 2, ""},
  };
  for (const Case& c : cases) {
    std::string output;
    EXPECT_EQ(testing::RunSimToEnd(c.args, output), c.status) << c.args[0];
    EXPECT_EQ(output.rfind(c.output, 0), 0u) << output;
  }
}

}  // namespace
}  // namespace wyk
