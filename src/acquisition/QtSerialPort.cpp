#include "acquisition/QtSerialPort.h"

#include <QSocketNotifier>
#include <QThread>

namespace wyk {
namespace {

// A write that the device does not take within this time has failed.
constexpr int kWriteTimeoutMs = 1000;

}  // namespace

bool QtSerialPort::Open(const std::string& deviceName) {
  if (deviceName.empty()) return false;
  // A path is used as it is; Qt also locks the device against other programs.
  port_.setPortName(QString::fromStdString(deviceName));
  if (!port_.open(QIODevice::ReadWrite)) return false;
  failed_ = false;
  // Start with empty queues, as a freshly opened device does; a pseudo-terminal would still
  // hold what its far end sent while the port was closed.
  port_.clear(QSerialPort::AllDirections);
  QuietReadNotifier();
  return true;
}

// Bytes are pulled when a tick asks for them, so the event loop need not wake for every few
// bytes that arrive (hundreds of times a second at 0.2 ms). Qt arms its read notifier again
// on every read.
void QtSerialPort::QuietReadNotifier() {
  for (QSocketNotifier* notifier : port_.findChildren<QSocketNotifier*>())
    if (notifier->type() == QSocketNotifier::Read) notifier->setEnabled(false);
}

void QtSerialPort::ApplyLineSettings(const LineSettings& settings) {
  port_.setBaudRate(settings.baudRate);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);
  port_.setDataTerminalReady(settings.dtrOn);
  port_.setRequestToSend(settings.rtsOn);
  port_.clearError();
}

void QtSerialPort::PullWaitingBytes() {
  // Without an event loop Qt reads the device only when asked; a zero wait never blocks.
  port_.waitForReadyRead(0);
  // A device that went away (a pseudo-terminal's far end closed, a USB adapter pulled out)
  // fails every read from then on; line errors never show as read errors.
  const QSerialPort::SerialPortError error = port_.error();
  if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError) failed_ = true;
  port_.clearError();
}

int QtSerialPort::BytesWaiting() {
  PullWaitingBytes();
  return static_cast<int>(port_.bytesAvailable());
}

int QtSerialPort::Read(uint8_t* buffer, int count) {
  if (port_.bytesAvailable() < count) PullWaitingBytes();
  const int read = static_cast<int>(port_.read(reinterpret_cast<char*>(buffer), count));
  QuietReadNotifier();
  return read;
}

bool QtSerialPort::Write(const uint8_t* bytes, int count) {
  if (port_.write(reinterpret_cast<const char*>(bytes), count) != count) return false;
  while (port_.bytesToWrite() > 0)
    if (!port_.waitForBytesWritten(kWriteTimeoutMs)) return false;
  return true;
}

void QtSerialPort::Close() {
  if (port_.isOpen()) port_.close();
}

void QtSerialPort::Pause(int milliseconds) {
  QThread::msleep(static_cast<unsigned long>(milliseconds));
}

std::unique_ptr<SerialPort> MakeQtSerialPort() {
  return std::make_unique<QtSerialPort>();
}

}  // namespace wyk
