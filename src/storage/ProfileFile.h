#pragma once
// Windows-style private-profile (INI) files: "[Section]" lines and "Key=Value" entries,
// names matched without regard to case. The file is opened only for each read or write.

#include <string>

namespace wyk {

// The entry's text (at most 2047 characters), or `defaultText` when the file, the
// section or the key is missing.
std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& defaultText);

enum class ProfileFileState { kRead, kMissing, kUnreadable };
// Whether a read of the file finds it, and if not whether something unreadable is in its place.
ProfileFileState ProfileFileStateOf(const std::string& path);

// Replaces the key's line, or adds the key to its section, creating the section and the
// file as needed; every other line stays as it was. New lines end in CR LF.
// Raises "Unable to write to <path>" when the file cannot be written.
void WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value);

}  // namespace wyk
