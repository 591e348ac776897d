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
  const auto fail = [&](const std::string& what) {
    error = what + ": " + std::strerror(errno);
    Close();
    return false;
  };
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0 || fcntl(master_, F_SETFD, FD_CLOEXEC) != 0 || grantpt(master_) != 0 ||
      unlockpt(master_) != 0)
    return fail("posix_openpt");
  char name[128];
  if (ptsname_r(master_, name, sizeof name) != 0) return fail("ptsname");
  slavePath_ = name;
  slave_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios raw{};
  if (slave_ < 0 || tcgetattr(slave_, &raw) != 0) return fail(slavePath_);
  // No echo, no line editing, no character translation: every byte passes as it is.
  cfmakeraw(&raw);
  if (tcsetattr(slave_, TCSANOW, &raw) != 0) return fail(slavePath_);
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
