// Any bytes as the settings file: loading never fails, and what it loads is saved and loaded
// back the same.
#include <cstdlib>
#include <memory>

#include "FuzzInput.h"
#include "app/RecorderState.h"
#include "config/Settings.h"

using namespace wyk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 8192) return 0;
  static auto state = std::make_unique<RecorderState>();
  static auto again = std::make_unique<RecorderState>();
  const std::string path = fuzz::ScratchFile("settings.INI");
  fuzz::WriteBytes(path, std::string(reinterpret_cast<const char*>(data), size));
  LoadSettings(state->settings, path);
  SaveSettings(state->settings, path);
  LoadSettings(again->settings, path);
  if (again->settings.lineColor != state->settings.lineColor ||
      again->settings.backgroundColor != state->settings.backgroundColor ||
      again->settings.gridColor != state->settings.gridColor ||
      again->settings.comPortNumber != state->settings.comPortNumber ||
      again->settings.adapterType != state->settings.adapterType ||
      again->settings.dcOffset != state->settings.dcOffset ||
      again->settings.comDevicePaths != state->settings.comDevicePaths)
    std::abort();
  return 0;
}
