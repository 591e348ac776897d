#pragma once
// The settings file: three colours in [COL], port, adapter type and DC offset in [COM].

#include <optional>
#include <string>

#include "app/RecorderState.h"

namespace wyk {

// The executable's path with its extension replaced by ".INI" (appended when it has none).
std::string SettingsFilePath(const std::string& executablePath);

// A signed 32-bit integer in decimal, or "$" and hexadecimal digits; nothing else.
std::optional<int32_t> ParseInteger(const std::string& text);

// Reads one entry as an integer ("0x" taken as "$"), or the default when it is missing
// or no such number.
int32_t ReadIntegerEntry(const std::string& path, const std::string& section,
                         const std::string& key, int32_t defaultValue);

void LoadSettings(RecorderState& state, const std::string& path);

// Writes all six entries in order, making the file's folder when it is missing; raises
// "Unable to write to <path>" at the first failure.
void SaveSettings(const RecorderState& state, const std::string& path);

}  // namespace wyk
