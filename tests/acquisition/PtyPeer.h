#pragma once
// A scripted far end for port tests: the master of a fresh pseudo-terminal pair. The port
// under test opens SlavePath(); the test writes replies and reads what the port sent.

#include <cstdint>
#include <string>
#include <vector>

namespace wyk::testing {

using Bytes = std::vector<uint8_t>;

// "00 55 0A": readable in a failed comparison.
std::string Hex(const Bytes& bytes);

// 0, 1, …, count - 1, each modulo 256.
Bytes Ramp(size_t count);

class PtyPeer {
 public:
  PtyPeer();
  ~PtyPeer();
  PtyPeer(const PtyPeer&) = delete;
  PtyPeer& operator=(const PtyPeer&) = delete;

  const std::string& SlavePath() const { return slavePath_; }
  // Drops the peer's own slave descriptor once the port under test has the device open, so
  // that the port's close shows as a hang-up.
  void ReleaseSlave();

  void Send(const Bytes& bytes);
  // Sends and waits until the bytes wait in the slave's queue (needs the peer's slave open).
  void SendAndWaitQueued(const Bytes& bytes);
  // Everything the port sent until it closed the device (or 5 s passed).
  Bytes ReadUntilHangUp();
  // The first `count` bytes the port sent (fewer if 5 s pass first).
  Bytes ReadExactly(size_t count);

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

}  // namespace wyk::testing
