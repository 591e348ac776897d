#pragma once

#include <cstdint>

namespace wyk {

// A byte-sized variable keeps the low 8 bits of whatever integer it is given (300 → 44).
constexpr uint8_t LowByte(long long value) {
  return static_cast<uint8_t>(value & 0xFF);
}

}  // namespace wyk
