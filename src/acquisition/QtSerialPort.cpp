#include "acquisition/QtSerialPort.h"

#include <poll.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QThread>
#include <algorithm>
#include <array>
#include <cerrno>

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
  pending_.clear();
  // Start with empty queues, as a freshly opened device does; a pseudo-terminal would still
  // hold what its far end sent while the port was closed.
  port_.clear(QSerialPort::AllDirections);
  QuietReadNotifier();
  return true;
}

// Qt would read the device whenever its read notifier fires, waking the event loop for every
// few bytes that arrive (hundreds of times a second at 0.2 ms). Qt arms the notifier again on
// every read through it.
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

// Everything the device has received joins `pending_`: one poll and one read, with nothing for
// the event loop to do. Bytes pulled in while the device was there are kept after it is gone.
void QtSerialPort::PullWaitingBytes() {
  const int fd = static_cast<int>(port_.handle());
  if (fd < 0) return;
  pollfd device{fd, POLLIN, 0};
  if (::poll(&device, 1, 0) <= 0) return;
  if ((device.revents & POLLIN) != 0) {
    std::array<uint8_t, 4096> chunk;
    for (;;) {
      const ssize_t got = ::read(fd, chunk.data(), chunk.size());
      if (got < 0 && errno == EINTR) continue;
      if (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK) failed_ = true;
      if (got > 0) pending_.insert(pending_.end(), chunk.begin(), chunk.begin() + got);
      if (got < static_cast<ssize_t>(chunk.size())) break;
    }
  }
  // A device that went away (a pseudo-terminal's far end closed, a USB adapter pulled out)
  // reports a hang-up or an error.
  if ((device.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) failed_ = true;
}

int QtSerialPort::BytesWaiting() {
  PullWaitingBytes();
  return static_cast<int>(pending_.size());
}

int QtSerialPort::Read(uint8_t* buffer, int count) {
  if (count <= 0) return 0;
  if (static_cast<int>(pending_.size()) < count) PullWaitingBytes();
  const auto taken =
      static_cast<std::ptrdiff_t>(std::min(pending_.size(), static_cast<size_t>(count)));
  std::copy_n(pending_.begin(), taken, buffer);
  pending_.erase(pending_.begin(), pending_.begin() + taken);
  return static_cast<int>(taken);
}

bool QtSerialPort::Write(const uint8_t* bytes, int count) {
  if (port_.write(reinterpret_cast<const char*>(bytes), count) != count) return false;
  while (port_.bytesToWrite() > 0)
    if (!port_.waitForBytesWritten(kWriteTimeoutMs)) return false;
  // The wait may have read some bytes into Qt's buffer (and armed its notifier): they are older
  // than anything read from the device after this.
  const QByteArray early = port_.readAll();
  pending_.insert(pending_.end(), early.begin(), early.end());
  QuietReadNotifier();
  return true;
}

void QtSerialPort::Close() {
  if (port_.isOpen()) port_.close();
  pending_.clear();
}

void QtSerialPort::Pause(int milliseconds) {
  QThread::msleep(static_cast<unsigned long>(milliseconds));
}

std::unique_ptr<SerialPort> MakeQtSerialPort() {
  return std::make_unique<QtSerialPort>();
}

}  // namespace wyk
