#include "acquisition/PtyPeer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>

namespace wyk::testing {
namespace {

constexpr auto kPatience = std::chrono::seconds(5);

}  // namespace

std::string Hex(const Bytes& bytes) {
  std::string text;
  char digits[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(digits, sizeof digits, i ? " %02X" : "%02X", bytes[i]);
    text += digits;
  }
  return text;
}

Bytes Ramp(size_t count) {
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i);
  return bytes;
}

PtyPeer::PtyPeer() {
  char name[256];
  termios raw{};
  cfmakeraw(&raw);
  if (openpty(&master_, &slave_, name, &raw, nullptr) != 0) throw std::runtime_error("openpty");
  // Not for a simulator or anything else the test starts.
  if (fcntl(master_, F_SETFD, FD_CLOEXEC) != 0 || fcntl(slave_, F_SETFD, FD_CLOEXEC) != 0) {
    close(slave_);
    close(master_);
    throw std::runtime_error("FD_CLOEXEC on the pty");
  }
  slavePath_ = name;
}

PtyPeer::~PtyPeer() {
  ReleaseSlave();
  close(master_);
}

void PtyPeer::ReleaseSlave() {
  if (slave_ >= 0) close(slave_);
  slave_ = -1;
}

void PtyPeer::Send(const Bytes& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
    if (n <= 0) throw std::runtime_error("write to pty master");
    done += static_cast<size_t>(n);
  }
}

void PtyPeer::SendAndWaitQueued(const Bytes& bytes) {
  Send(bytes);
  pollfd fd{slave_, POLLIN, 0};
  poll(&fd, 1, 5000);
}

Bytes PtyPeer::ReadExactly(size_t count) {
  Bytes bytes;
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
    pollfd fd{master_, POLLIN, 0};
    if (poll(&fd, 1, 50) <= 0) continue;
    uint8_t chunk[4096];
    const ssize_t n = read(master_, chunk, std::min(sizeof chunk, count - bytes.size()));
    if (n <= 0) break;  // EIO: the slave side was closed
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  return bytes;
}

Bytes PtyPeer::ReadUntilHangUp() {
  return ReadExactly(SIZE_MAX);
}

}  // namespace wyk::testing
