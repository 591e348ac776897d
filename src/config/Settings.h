#pragma once
// The settings file: three colours in [COL], port, adapter type and DC offset in [COM].

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/Colour.h"

namespace wyk {

// What the settings file keeps, with the values the program starts with; the configuration
// dialog changes them.
struct Settings {
  TColor lineColor = 0x00FF00;
  TColor backgroundColor = 0x000000;
  TColor gridColor = 0x008000;
  uint8_t comPortNumber = 1;
  uint8_t adapterType = 0;  // the settings file's default is 2
  uint8_t dcOffset = 120;
  // Device of "COM1".."COM8" from the settings file (element n for COMn); empty: /dev/ttyS<n-1>.
  std::array<std::string, 9> comDevicePaths;
  bool envelopeView = false;  // "Obwiednia" in [WIDOK], written when the plot menu changes it
};

// The executable's path with its extension replaced by ".INI" (appended when it has none).
std::string SettingsFilePath(const std::string& executablePath);

// A signed 32-bit integer in decimal, or "$" and hexadecimal digits; nothing else.
std::optional<int32_t> ParseInteger(const std::string& text);

// Reads one entry as an integer ("0x" taken as "$"), or the default when it is missing
// or no such number.
int32_t ReadIntegerEntry(const std::string& path, const std::string& section,
                         const std::string& key, int32_t defaultValue);

void LoadSettings(Settings& settings, const std::string& path);

// Writes all six entries in order, making the file's folder when it is missing; raises
// "Unable to write to <path>" at the first failure.
void SaveSettings(const Settings& settings, const std::string& path);

// Writes "Obwiednia" alone; raises "Unable to write to <path>" when it cannot.
void SaveEnvelopeView(const Settings& settings, const std::string& path);

}  // namespace wyk
