#pragma once
// The simulator's end of the cable: a pseudo-terminal in raw mode. The program opens the
// slave device as its serial port; the simulator reads and writes the master.

#include <cstdint>
#include <string>

namespace sim {

class PseudoTerminal {
 public:
  PseudoTerminal() = default;
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;
  ~PseudoTerminal() { Close(); }

  // Creates the pair; false with `error` set when it cannot.
  bool Create(std::string& error);
  void Close();

  bool IsOpen() const { return master_ >= 0; }
  int MasterFd() const { return master_; }
  const std::string& SlavePath() const { return slavePath_; }

  // Non-blocking: bytes read (0 when none) and bytes the line took (0 when it is full).
  int Read(uint8_t* buffer, int capacity);
  int Write(const uint8_t* bytes, int count);

 private:
  int master_ = -1;
  // Our own descriptor on the slave: while the program has the port closed the master then
  // stays quiet instead of reporting EIO (hang-up) over and over.
  int slave_ = -1;
  std::string slavePath_;
};

}  // namespace sim
