#include "acquisition/SerialLink.h"

#include <chrono>
#include <thread>

#include "acquisition/AdapterFrames.h"
#include "acquisition/PortName.h"

namespace wyk {

SerialLink::SerialLink(PortFactory makePort) : makePort_(std::move(makePort)) {}

bool SerialLink::OpenPort(const RecorderState& state) {
  ClosePort();
  std::unique_ptr<SerialPort> port = makePort_();
  if (!port->Open(PortDeviceName(state))) return false;
  LineSettings lines;
  lines.dtrOn = state.settings.adapterType < 2;
  port->ApplyLineSettings(lines);
  port_ = std::move(port);
  return true;
}

int SerialLink::DetectAdapter(RecorderState& state) {
  if (!port_) return -1;
  const int length = BuildHandshakeFrame(state.settings.adapterType, state.live.commandFrame);
  if (length > 0) port_->Write(state.live.commandFrame.data(), length);
  for (int poll = 0; poll < kReplyPolls; ++poll) {
    if (port_->BytesWaiting() >= 1) {
      port_->Read(state.live.receiveBuffer.data(), 1);
      return state.live.receiveBuffer[0];
    }
    port_->Pause(kReplyPollPauseMs);
  }
  return -1;
}

bool SerialLink::SendSettings(RecorderState& state) {
  const int length = BuildSettingsFrame(state);
  if (!port_) return state.settings.adapterType != 1;
  const bool written = length == 0 || port_->Write(state.live.commandFrame.data(), length);
  return state.settings.adapterType == 1 ? written : true;
}

void SerialLink::StopAndClosePort(const RecorderState& state) {
  if (!port_) return;
  port_->Write(state.live.commandFrame.data(), 1);
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
