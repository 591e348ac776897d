#pragma once
// Small helpers shared by the tests that run the link or the port over a pseudo-terminal.

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

#include "acquisition/PtyPeer.h"
#include "app/RecorderState.h"

namespace wyk::testing {

// A fresh state whose COM1 is `device`.
inline std::unique_ptr<RecorderState> StateOn(const std::string& device, int adapterType) {
  auto state = std::make_unique<RecorderState>();
  state->settings.comPortNumber = 1;
  state->settings.comDevicePaths[1] = device;
  state->settings.adapterType = static_cast<uint8_t>(adapterType);
  return state;
}

// Reads from a SerialLink or a SerialPort until `count` bytes came or 5 s passed.
template <typename Reader>
Bytes ReadBytes(Reader& reader, size_t count) {
  Bytes bytes;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
    uint8_t chunk[kReceiveBufferSize];
    const int waiting = std::min({reader.BytesWaiting(), kReceiveBufferSize,
                                  static_cast<int>(std::min<size_t>(count - bytes.size(), 1000))});
    const int n = waiting > 0 ? reader.Read(chunk, waiting) : 0;
    if (n > 0)
      bytes.insert(bytes.end(), chunk, chunk + n);
    else
      reader.Pause(2);
  }
  return bytes;
}

}  // namespace wyk::testing
