#pragma once
// The frames the program sends to the adapter. Every checksum is the sum of the frame's
// preceding bytes modulo 256.

#include <array>
#include <cstdint>
#include "acquisition/LiveSession.h"
#include "config/Settings.h"
#include "view/Scales.h"

namespace wyk {

using CommandFrame = std::array<uint8_t, 6>;

constexpr uint8_t kRateCodeBase = 100;  // byte 1 of a settings frame: 100 + samplePeriodIndex
constexpr uint8_t kDcCouplingByte = 0x80;

uint8_t FrameChecksum(const uint8_t* bytes, int count);

// Bytes in the handshake and in the settings frame of an adapter type; 0 for an unknown type.
int HandshakeLength(int adapterType);
int SettingsFrameLength(int adapterType);

// Builds the handshake of `adapterType` in `frame` and returns how many bytes to send.
// An unknown type leaves `frame` as it was and sends nothing.
int BuildHandshakeFrame(int adapterType, CommandFrame& frame);

// Builds the settings frame in state.live.commandFrame and returns how many bytes to send.
// GND keeps byte 0 as the handshake left it and sends range 0; voltsPerDivIndex keeps its value.
int BuildSettingsFrame(const Settings& settings, const Scales& scales, LiveSession& live);

}  // namespace wyk
