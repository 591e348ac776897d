#pragma once
// "COM" + number, and the device it stands for.

#include <cstdint>
#include <string>
#include "config/Settings.h"

namespace wyk {

constexpr int kMappedComPorts = 8;  // keys "COM1".."COM8" of section [COM]

// "COM" followed by the number in decimal: "COM1" … "COM8".
std::string PortName(uint8_t comPortNumber);

// The device that "COM<n>" opens: the settings file's entry COMn in [COM] when it has one,
// otherwise /dev/ttyS<n-1> (on Windows COMn, and \\.\COMn from COM10 on). Empty for port 0,
// which names no device.
std::string PortDeviceName(const Settings& settings);

}  // namespace wyk
