#include "acquisition/QtSerialPort.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QThread>
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

// Received bytes are taken from the device itself when a tick asks for them: one poll, one
// count and one read, with nothing for the event loop to do. Only a write's wait lets Qt read
// some into its own buffer, and those come first.
int QtSerialPort::BytesWaiting() {
  const int fd = static_cast<int>(port_.handle());
  if (fd < 0) return 0;
  // A device that went away (a pseudo-terminal's far end closed, a USB adapter pulled out)
  // reports a hang-up or an error; what it delivered before can still be read.
  pollfd device{fd, POLLIN, 0};
  if (::poll(&device, 1, 0) > 0 && (device.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
    failed_ = true;
  int waiting = 0;
  if (::ioctl(fd, FIONREAD, &waiting) != 0) {
    failed_ = true;
    waiting = 0;
  }
  return static_cast<int>(port_.bytesAvailable()) + waiting;
}

int QtSerialPort::Read(uint8_t* buffer, int count) {
  int taken = 0;
  if (port_.bytesAvailable() > 0) {
    taken = static_cast<int>(port_.read(reinterpret_cast<char*>(buffer), count));
    QuietReadNotifier();
    if (taken < 0) return -1;
  }
  const int fd = static_cast<int>(port_.handle());
  if (taken == count || fd < 0) return taken;
  ssize_t got = 0;
  do {
    got = ::read(fd, buffer + taken, static_cast<size_t>(count - taken));
  } while (got < 0 && errno == EINTR);
  if (got > 0) return taken + static_cast<int>(got);
  // Nothing waiting is no failure; a hung-up device reads 0 or fails.
  if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return taken;
  failed_ = true;
  return taken > 0 ? taken : -1;
}

bool QtSerialPort::Write(const uint8_t* bytes, int count) {
  if (port_.write(reinterpret_cast<const char*>(bytes), count) != count) return false;
  while (port_.bytesToWrite() > 0)
    if (!port_.waitForBytesWritten(kWriteTimeoutMs)) return false;
  QuietReadNotifier();  // the wait may have read, which arms it again
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
