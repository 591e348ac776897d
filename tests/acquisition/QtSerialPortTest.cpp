// The port on QSerialPort over real pseudo-terminals, with no event loop running.
#include "acquisition/QtSerialPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "acquisition/LinkTestSupport.h"

namespace wyk {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::PtyPeer;
using testing::ReadBytes;

TEST(QtSerialPort, EveryByteValuePassesBothWays) {
  for (const bool dtrOn : {true, false}) {  // a pseudo-terminal refuses DTR either way
    PtyPeer peer;
    QtSerialPort port;
    ASSERT_TRUE(port.Open(peer.SlavePath()));
    port.ApplyLineSettings(LineSettings{115200, dtrOn, true});
    const Bytes all = testing::Ramp(256);
    peer.Send(all);
    peer.Send(all);
    Bytes twice = all;
    twice.insert(twice.end(), all.begin(), all.end());
    EXPECT_EQ(Hex(ReadBytes(port, 512)), Hex(twice)) << "DTR " << dtrOn;
    ASSERT_TRUE(port.Write(all.data(), 256));
    EXPECT_EQ(Hex(peer.ReadExactly(256)), Hex(all)) << "DTR " << dtrOn;
    port.Close();
  }
}

TEST(QtSerialPort, BytesWaitingCountsWithoutAnEventLoopAndTakesNothing) {
  PtyPeer peer;
  QtSerialPort port;
  ASSERT_TRUE(port.Open(peer.SlavePath()));
  EXPECT_EQ(port.BytesWaiting(), 0);
  peer.SendAndWaitQueued({0x11, 0x13, 0x0D, 0x0A, 0x00, 0x80, 0xFF});
  int waiting = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while ((waiting = port.BytesWaiting()) < 7 && std::chrono::steady_clock::now() < deadline)
    port.Pause(1);
  EXPECT_EQ(waiting, 7);
  EXPECT_EQ(port.BytesWaiting(), 7);
  uint8_t first[3] = {};
  EXPECT_EQ(port.Read(first, 3), 3);
  EXPECT_EQ(Hex({first, first + 3}), "11 13 0D");
  EXPECT_EQ(port.BytesWaiting(), 4);
  EXPECT_EQ(Hex(ReadBytes(port, 4)), "0A 00 80 FF");
  EXPECT_EQ(port.BytesWaiting(), 0);
}

TEST(QtSerialPort, OpeningStartsWithEmptyQueues) {
  PtyPeer peer;
  peer.SendAndWaitQueued({0x01, 0x02, 0x03});  // sent while nobody had the port open
  QtSerialPort port;
  ASSERT_TRUE(port.Open(peer.SlavePath()));
  peer.Send({0x42});
  EXPECT_EQ(Hex(ReadBytes(port, 1)), "42");
}

TEST(QtSerialPort, OnlyAnExistingTerminalOpens) {
  PtyPeer peer;
  const std::string notATerminal =
      (std::filesystem::temp_directory_path() / "wyk-not-a-terminal").string();
  std::ofstream(notATerminal) << "x";
  struct Case {
    std::string device;
    bool opens;
  };
  const Case cases[] = {
      {"/nonexistent/ttyUSB9", false},
      {notATerminal, false},
      {"", false},
      {peer.SlavePath(), true},
  };
  for (const Case& c : cases) {
    QtSerialPort port;
    EXPECT_EQ(port.Open(c.device), c.opens) << c.device;
  }
  std::filesystem::remove(notATerminal);
}

}  // namespace
}  // namespace wyk
