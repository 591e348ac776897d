#pragma once
// The adapter's side of the protocol, without any I/O of its own: bytes from the program go
// in through Receive, everything it sends goes out through `send`, and each frame it takes is
// described to `note` as one line of text:
//   powitanie 00 55 00 00 00 55
//   ustawienia 00 65 78 80 01 5E suma=ok okres=500us     (suma=brak for type 0)
//   ustawienia 00 63 78 80 01 5C suma=ok okres=brak odrzucona
//   stop 00          inny 12          pominiety 12
// Times are nanoseconds on any steady clock.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Waveform.h"

namespace sim {

struct AdapterBehaviour {
  int adapterType = 2;
  bool reply = true;
  uint8_t replyByte = 0x00;
  std::vector<uint8_t> extraBytes;  // sent right after the reply
  Waveform wave;
  int64_t unplugAfter = -1;  // sample bytes until the cable comes out; -1: never
};

class SimulatedAdapter {
 public:
  // Sends what it can and returns how many bytes it took.
  using Send = std::function<int(const uint8_t* bytes, int count)>;
  using Note = std::function<void(const std::string& line)>;

  SimulatedAdapter(AdapterBehaviour behaviour, Send send, Note note);

  void Receive(const uint8_t* bytes, int count, int64_t nowNs);
  // Sends the samples due by `nowNs`; the ones the line does not take are lost, as on a wire.
  void Stream(int64_t nowNs);

  bool Streaming() const { return state_ == State::kStreaming; }
  bool UnplugDue() const;
  // Back to waiting for a handshake, as after power-up.
  void Restart();

 private:
  enum class State { kWaitingForHandshake, kWaitingForSettings, kStreaming };

  void TakeHandshakeByte(uint8_t byte);
  void TakeSettingsByte(uint8_t byte, int64_t nowNs);
  void TakeStreamingByte(uint8_t byte);
  void StartStream(int periodUs, int64_t nowNs);

  AdapterBehaviour behaviour_;
  Send send_;
  Note note_;
  State state_ = State::kWaitingForHandshake;
  std::vector<uint8_t> frame_;  // bytes of the frame being received
  uint8_t stopByte_ = 0;
  int64_t periodNs_ = 0;
  int64_t streamStartNs_ = 0;
  int64_t nextSample_ = 0;     // index of the next sample of this stream
  int64_t streamedBytes_ = 0;  // sample bytes sent since start-up
};

std::string HexBytes(const uint8_t* bytes, int count);

}  // namespace sim
