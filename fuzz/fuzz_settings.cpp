// Any bytes as the settings file: loading never fails, and what it loads is saved and loaded
// back the same.
#include <cstdlib>
#include <memory>

#include "FuzzInput.h"
#include "config/Settings.h"

using namespace wyk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 8192) return 0;
  static auto state = std::make_unique<RecorderState>();
  static auto again = std::make_unique<RecorderState>();
  const std::string path = fuzz::ScratchFile("settings.INI");
  fuzz::WriteBytes(path, std::string(reinterpret_cast<const char*>(data), size));
  LoadSettings(*state, path);
  SaveSettings(*state, path);
  LoadSettings(*again, path);
  if (again->lineColor != state->lineColor || again->backgroundColor != state->backgroundColor ||
      again->gridColor != state->gridColor || again->comPortNumber != state->comPortNumber ||
      again->adapterType != state->adapterType || again->dcOffset != state->dcOffset ||
      again->comDevicePaths != state->comDevicePaths)
    std::abort();
  return 0;
}
