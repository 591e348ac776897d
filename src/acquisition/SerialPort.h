#pragma once
// The serial port as the link to the adapter uses it. The shell implements it on QSerialPort;
// every byte value 0x00..0xFF passes unaltered in both directions.

#include <cstdint>
#include <string>

namespace wyk {

// 8 data bits, no parity, one stop bit, no flow control of any kind.
struct LineSettings {
  int32_t baudRate = 115200;
  bool dtrOn = true;
  bool rtsOn = true;
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Opens an existing device for reading and writing, not shared with anyone else.
  virtual bool Open(const std::string& deviceName) = 0;
  // Best effort: a setting the device refuses (a pseudo-terminal has no DTR) is skipped.
  virtual void ApplyLineSettings(const LineSettings& settings) = 0;
  // Received bytes waiting to be read, without blocking.
  virtual int BytesWaiting() = 0;
  // Reads up to `count` waiting bytes without blocking; returns how many, or -1 on an error.
  virtual int Read(uint8_t* buffer, int count) = 0;
  // Blocks until the driver has taken all bytes; false when it did not.
  virtual bool Write(const uint8_t* bytes, int count) = 0;
  virtual void Close() = 0;
  // True once the device failed or went away (a cable pulled out); bytes it had delivered
  // before can still be read.
  virtual bool Failed() = 0;
  // Suspends the calling thread.
  virtual void Pause(int milliseconds) = 0;
};

}  // namespace wyk
