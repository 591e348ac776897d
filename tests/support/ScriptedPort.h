#pragma once
// A serial port that plays a script instead of a device: bytes arrive when the caller says,
// counts may be stale or short, reads may come short or fail, the device may go away. It keeps
// every byte a read handed over and notes every read the link should not have made.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <vector>

#include "acquisition/SerialPort.h"

namespace wyk::testing {

enum class CountAs { kTrue, kStale, kHalf };     // what BytesWaiting says
enum class ReadAs { kWhole, kShort, kError };    // what Read does

struct PortScript {
  std::deque<uint8_t> waiting;
  std::vector<uint8_t> handedOver;  // every byte a read returned, in order
  CountAs count = CountAs::kTrue;
  ReadAs read = ReadAs::kWhole;
  bool failed = false;  // the device went away
  int lastCount = 0;
  // Since NextTick: the largest count given, the reads made, the largest read asked for, and
  // whether a read asked for more than any count promised.
  int promised = 0;
  int reads = 0;
  int largestAsked = 0;
  bool overreached = false;

  void Arrive(const std::vector<uint8_t>& bytes) { waiting.insert(waiting.end(), bytes.begin(), bytes.end()); }
  void NextTick() { promised = reads = largestAsked = 0; }
};

class ScriptedPort : public SerialPort {
 public:
  explicit ScriptedPort(PortScript& script) : s_(script) {}
  bool Open(const std::string&) override { return true; }
  void ApplyLineSettings(const LineSettings&) override {}
  int BytesWaiting() override {
    const int have = static_cast<int>(s_.waiting.size());
    const int count = s_.count == CountAs::kStale  ? s_.lastCount
                      : s_.count == CountAs::kHalf ? have / 2
                                                   : have;
    s_.lastCount = count;
    s_.promised = std::max(s_.promised, count);
    return count;
  }
  int Read(uint8_t* buffer, int count) override {
    ++s_.reads;
    s_.largestAsked = std::max(s_.largestAsked, count);
    s_.overreached = s_.overreached || count <= 0 || count > s_.promised;
    if (s_.read == ReadAs::kError) return -1;
    int n = std::min(count, static_cast<int>(s_.waiting.size()));
    if (s_.read == ReadAs::kShort) n /= 2;
    for (int i = 0; i < n; ++i) {
      buffer[i] = s_.waiting.front();
      s_.handedOver.push_back(s_.waiting.front());
      s_.waiting.pop_front();
    }
    return n;
  }
  bool Write(const uint8_t*, int) override { return true; }
  void Close() override {}
  bool Failed() override { return s_.failed; }
  void Pause(int) override {}

 private:
  PortScript& s_;
};

}  // namespace wyk::testing
