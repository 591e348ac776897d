#include "acquisition/PortName.h"

namespace wyk {

std::string PortName(uint8_t comPortNumber) {
  return "COM" + std::to_string(comPortNumber);
}

std::string PortDeviceName(const RecorderState& state) {
  const int number = state.settings.comPortNumber;
  if (number == 0) return "";
  if (number <= kMappedComPorts && !state.settings.comDevicePaths[number].empty())
    return state.settings.comDevicePaths[number];
  return "/dev/ttyS" + std::to_string(number - 1);
}

}  // namespace wyk
