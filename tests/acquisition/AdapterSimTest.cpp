// The built simulator as the far end of the link, over its pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "acquisition/LinkTestSupport.h"
#include "acquisition/QtSerialPort.h"
#include "acquisition/SerialLink.h"
#include "acquisition/SimProcess.h"
#include "app/RecorderState.h"
#include "config/Settings.h"

namespace wyk {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::Ramp;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::SimProcess;
using testing::StateOn;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(AdapterSim, AnswersTheHandshakeAsToldOnItsCommandLine) {
  struct Case {
    std::vector<std::string> args;
    int linkType;
    int detected;
    Bytes after;  // further bytes before any sample
  };
  const Case cases[] = {
      {{"--type", "0"}, 0, 0x00, {}},
      {{"--type", "1", "--reply", "0x7F"}, 1, 0x7F, {}},
      {{"--reply", "0x80"}, 2, 0x80, {}},
      {{"--reply", "0x12", "--extra-bytes", "0x34,86"}, 2, 0x12, {0x34, 0x56}},
      {{"--no-reply"}, 2, -1, {}},
  };
  for (const Case& c : cases) {
    SimProcess sim(c.args);
    ASSERT_FALSE(sim.DevicePath().empty());
    auto state = StateOn(sim.LinkPath(), c.linkType);
    SerialLink link(MakeQtSerialPort);
    ASSERT_TRUE(link.OpenPort(state->settings));
    EXPECT_EQ(link.DetectAdapter(state->settings, state->live), c.detected) << c.args.size();
    EXPECT_EQ(Hex(ReadBytes(link, c.after.size())), Hex(c.after));
    link.ClosePort();
    // The simulator logs a byte after the line took it: read its log once it has ended.
    EXPECT_EQ(sim.Terminate(), 0);
    Bytes tx;
    if (c.detected >= 0) tx.push_back(static_cast<uint8_t>(c.detected));
    tx.insert(tx.end(), c.after.begin(), c.after.end());
    EXPECT_EQ(Hex(sim.TxLog()), Hex(tx));
  }
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
  Bytes received = ReadBytes(port, 3000);
  const uint8_t notStop = 0x00, stop = 0x80;
  ASSERT_TRUE(port.Write(&notStop, 1));
  ASSERT_TRUE(port.Write(&stop, 1));
  // The stop line is noted only after every byte sent before it went into the tx log.
  ASSERT_TRUE(sim.WaitForRxLines("stop 80"));
  const Bytes tx = sim.TxLog();
  ASSERT_GE(tx.size(), received.size());
  // What was sent before the stop byte came in is still on its way; take all of it.
  const Bytes rest = ReadBytes(port, tx.size() - received.size());
  received.insert(received.end(), rest.begin(), rest.end());
  EXPECT_EQ(Hex(received), Hex(tx));
  Bytes sent = {0x00};  // the reply, then the ramp without a gap
  const Bytes ramp = Ramp(tx.size() - 1);
  sent.insert(sent.end(), ramp.begin(), ramp.end());
  EXPECT_EQ(Hex(tx), Hex(sent));
  EXPECT_EQ(Lines(sim.RxLog()),
            (std::vector<std::string>{
                "podlaczony " + sim.DevicePath(), "powitanie 00 55 00 00 00 55",
                "ustawienia 80 64 78 80 01 DD suma=ok okres=200us", "inny 00", "stop 80"}));
}

TEST(AdapterSim, UnpluggedCableLeavesTheLinkUsableAndPlugsBackOnSignal) {
  // 5000 samples at 0.2 ms: a second of stream for the reader below to catch some of, and
  // fewer bytes than the line holds, so none is dropped while it is slow.
  constexpr size_t kStreamed = 5000;
  SimProcess sim({"--signal", "ramp", "--unplug-after", std::to_string(kStreamed)});
  auto state = StateOn(sim.LinkPath(), 2);
  state->scales.samplePeriodIndex = 0;
  SerialLink link(MakeQtSerialPort);
  ASSERT_TRUE(link.OpenPort(state->settings));
  ASSERT_EQ(link.DetectAdapter(state->settings, state->live), 0);
  link.SendSettings(state->settings, state->scales, state->live);
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
  EXPECT_LE(received.size(), kStreamed);
  EXPECT_EQ(Hex(received), Hex(Ramp(received.size())));
  Bytes sent = {0x00};
  const Bytes ramp = Ramp(kStreamed);
  sent.insert(sent.end(), ramp.begin(), ramp.end());
  EXPECT_EQ(Hex(sim.TxLog()), Hex(sent));
  EXPECT_EQ(link.BytesWaiting(), 0);
  link.StopAndClosePort(state->live);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(sim.LinkPath()));
  EXPECT_FALSE(link.OpenPort(state->settings));

  sim.Signal(SIGUSR1);
  EXPECT_FALSE(sim.NextDeviceLine().empty());
  ASSERT_TRUE(link.OpenPort(state->settings));
  EXPECT_EQ(link.DetectAdapter(state->settings, state->live), 0);
  link.ClosePort();
  EXPECT_EQ(sim.Terminate(), 0);
}

TEST(AdapterSim, PointsTheProgramsComPortAtItselfInTheSettingsFile) {
  struct Case {
    std::string com;  // Port and Typ as the file has them
    std::string entry;
  };
  // The program keeps the low 8 bits of both, so the simulator must read them as it does.
  const Case cases[] = {
      {"Port=3\r\nTyp=0\r\n", "COM3="},
      {"Port=0x102\r\nTyp=256\r\n", "COM2="},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    const std::string settings = dir / "wykresownik.INI";
    const std::string before = "[COL]\r\nclLinia=255\r\n[COM]\r\n" + c.com + "SkladowaStala=7\r\n";
    std::ofstream(settings, std::ios::binary) << before;
    SimProcess sim({"--settings", settings});
    std::ifstream in(settings, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(text, before + c.entry + sim.LinkPath() + "\r\n");
    auto state = std::make_unique<RecorderState>();
    LoadSettings(state->settings, settings);
    SerialLink link(MakeQtSerialPort);
    ASSERT_TRUE(link.OpenPort(state->settings)) << c.com;
    EXPECT_EQ(link.DetectAdapter(state->settings, state->live), 0)
        << c.com;  // a type 0 simulator, from "Typ"
    link.ClosePort();
    EXPECT_TRUE(sim.WaitForRxLines("powitanie 00 55 00 00 55")) << c.com;
  }
}

TEST(AdapterSim, EndsCleanlyOnSignalsAndRemovesItsLink) {
  for (const int signalNumber : {SIGTERM, SIGINT}) {
    SimProcess sim({});
    EXPECT_EQ(std::filesystem::read_symlink(sim.LinkPath()), sim.DevicePath());
    EXPECT_EQ(sim.Terminate(signalNumber), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(sim.LinkPath())));
  }
}

}  // namespace
}  // namespace wyk
