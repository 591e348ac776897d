#pragma once
// The link to the adapter: opening the port, the handshake, the settings frame and the stop
// byte. It holds the port only from OpenPort to the close, and never closes a port twice.

#include <functional>
#include <memory>

#include "acquisition/LiveSession.h"
#include "acquisition/SerialPort.h"
#include "config/Settings.h"
#include "view/Scales.h"

namespace wyk {

constexpr int kReplyPolls = 100;
constexpr int kReplyPollPauseMs = 20;
constexpr int kStopPauseMs = 50;  // lets the stop byte leave before the port closes

// A reply 0x00..0x7F means the adapter is there; -1 (none) and 0x80..0xFF mean it is not.
constexpr bool AdapterAnswered(int reply) {
  return reply >= 0x00 && reply <= 0x7F;
}

class SerialLink {
 public:
  using PortFactory = std::function<std::unique_ptr<SerialPort>()>;

  explicit SerialLink(PortFactory makePort);

  bool IsOpen() const { return port_ != nullptr; }

  // Opens "COM<comPortNumber>" and sets its lines; a port still open is closed first.
  // The line settings' results are ignored.
  bool OpenPort(const Settings& settings);

  // Sends the handshake, then polls for the reply: the first byte (0..255), left in
  // receiveBuffer[0], or -1 when none came. Later bytes stay waiting.
  int DetectAdapter(const Settings& settings, LiveSession& live);

  // Sends the settings frame. For type 1, whether the write succeeded; otherwise true.
  bool SendSettings(const Settings& settings, const Scales& scales, LiveSession& live);

  // Sends the stop byte (commandFrame[0]), pauses and closes the port.
  void StopAndClosePort(const LiveSession& live);

  // Closes the port without a stop byte; nothing when none is open.
  void ClosePort();

  // The open port's waiting bytes and reads; 0 when no port is open.
  int BytesWaiting();
  int Read(uint8_t* buffer, int count);
  // Whether the open port failed or its device went away; false when none is open.
  bool Failed();

  void Pause(int milliseconds);

 private:
  PortFactory makePort_;
  std::unique_ptr<SerialPort> port_;  // only while open
};

}  // namespace wyk
