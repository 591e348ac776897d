#include "PseudoTerminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sim {

bool PseudoTerminal::Create(std::string& error) {
  Close();
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = std::string("posix_openpt: ") + std::strerror(errno);
    Close();
    return false;
  }
  slavePath_ = ptsname(master_);
  slave_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
  termios raw{};
  if (slave_ < 0 || tcgetattr(slave_, &raw) != 0) {
    error = slavePath_ + ": " + std::strerror(errno);
    Close();
    return false;
  }
  // No echo, no line editing, no character translation: every byte passes as it is.
  cfmakeraw(&raw);
  tcsetattr(slave_, TCSANOW, &raw);
  return true;
}

void PseudoTerminal::Close() {
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
  slave_ = master_ = -1;
}

int PseudoTerminal::Read(uint8_t* buffer, int capacity) {
  const ssize_t n = read(master_, buffer, static_cast<size_t>(capacity));
  return n > 0 ? static_cast<int>(n) : 0;
}

int PseudoTerminal::Write(const uint8_t* bytes, int count) {
  const ssize_t n = write(master_, bytes, static_cast<size_t>(count));
  return n > 0 ? static_cast<int>(n) : 0;
}

}  // namespace sim
