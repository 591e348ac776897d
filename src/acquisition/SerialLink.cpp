#include "acquisition/SerialLink.h"

#include <chrono>
#include <thread>

#include "acquisition/AdapterFrames.h"
#include "acquisition/PortName.h"

namespace wyk {

SerialLink::SerialLink(PortFactory makePort) : makePort_(std::move(makePort)) {}

bool SerialLink::OpenPort(const Settings& settings) {
  ClosePort();
  std::unique_ptr<SerialPort> port = makePort_();
  if (!port->Open(PortDeviceName(settings))) return false;
  LineSettings lines;
  lines.dtrOn = settings.adapterType < 2;
  port->ApplyLineSettings(lines);
  port_ = std::move(port);
  return true;
}

int SerialLink::DetectAdapter(const Settings& settings, LiveSession& live) {
  if (!port_) return -1;
  const int length = BuildHandshakeFrame(settings.adapterType, live.commandFrame);
  if (length > 0) port_->Write(live.commandFrame.data(), length);
  for (int poll = 0; poll < kReplyPolls; ++poll) {
    if (port_->BytesWaiting() >= 1) {
      port_->Read(live.receiveBuffer.data(), 1);
      return live.receiveBuffer[0];
    }
    port_->Pause(kReplyPollPauseMs);
  }
  return -1;
}

bool SerialLink::SendSettings(const Settings& settings, const Scales& scales, LiveSession& live) {
  const int length = BuildSettingsFrame(settings, scales, live);
  if (!port_) return settings.adapterType != 1;
  const bool written = length == 0 || port_->Write(live.commandFrame.data(), length);
  return settings.adapterType == 1 ? written : true;
}

void SerialLink::StopAndClosePort(const LiveSession& live) {
  if (!port_) return;
  port_->Write(live.commandFrame.data(), 1);
  port_->Pause(kStopPauseMs);
  ClosePort();
}

void SerialLink::ClosePort() {
  if (!port_) return;
  port_->Close();
  port_.reset();
}

int SerialLink::BytesWaiting() {
  return port_ ? port_->BytesWaiting() : 0;
}

int SerialLink::Read(uint8_t* buffer, int count) {
  return port_ ? port_->Read(buffer, count) : 0;
}

bool SerialLink::Failed() {
  return port_ && port_->Failed();
}

void SerialLink::Pause(int milliseconds) {
  if (port_) {
    port_->Pause(milliseconds);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace wyk
