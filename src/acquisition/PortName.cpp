#include "acquisition/PortName.h"

namespace wyk {

std::string PortName(uint8_t comPortNumber) {
  return "COM" + std::to_string(comPortNumber);
}

std::string PortDeviceName(const Settings& settings) {
  const int number = settings.comPortNumber;
  if (number == 0) return "";
  if (number <= kMappedComPorts && !settings.comDevicePaths[number].empty())
    return settings.comDevicePaths[number];
#ifdef _WIN32
  // From COM10 on, Windows opens a port only by its device path.
  return number >= 10 ? "\\\\.\\" + PortName(settings.comPortNumber)
                      : PortName(settings.comPortNumber);
#else
  return "/dev/ttyS" + std::to_string(number - 1);
#endif
}

}  // namespace wyk
