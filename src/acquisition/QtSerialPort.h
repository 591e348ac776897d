#pragma once
// The serial port on QSerialPort, used without a running event loop: waiting bytes are read
// from the device on demand and writes block until the device took them.

#include <QSerialPort>
#include <memory>
#include <vector>

#include "acquisition/SerialPort.h"

namespace wyk {

class QtSerialPort : public SerialPort {
 public:
  bool Open(const std::string& deviceName) override;
  void ApplyLineSettings(const LineSettings& settings) override;
  int BytesWaiting() override;
  int Read(uint8_t* buffer, int count) override;
  bool Write(const uint8_t* bytes, int count) override;
  void Close() override;
  bool Failed() override { return failed_; }
  void Pause(int milliseconds) override;

 private:
  void PullWaitingBytes();
  void QuietReadNotifier();

  QSerialPort port_;
  std::vector<uint8_t> pending_;  // received, not yet read
  bool failed_ = false;
};

// The factory the link gets in the program.
std::unique_ptr<SerialPort> MakeQtSerialPort();

}  // namespace wyk
