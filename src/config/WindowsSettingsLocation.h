#pragma once
// Where the settings file lives on Windows: beside the executable when it is there or can be
// made there (a portable copy), otherwise in the user's application-data folder, as a program
// installed under "Program Files" needs.

#include <optional>
#include <string>

namespace wyk {

struct WindowsSettingsPlaceFacts {
  std::string executablePath;
  bool fileBesideExists;
  bool folderWritable;                 // the executable's folder
  std::optional<std::string> appData;  // %APPDATA%, when set
};

// The executable's path with ".INI" when that file exists or its folder is writable, else
// %APPDATA%\Wykresownik\wykresownik.INI; beside the executable when APPDATA is unset or not
// an absolute path ("C:\…" or "\\server\…").
std::string ChooseWindowsSettingsPath(const WindowsSettingsPlaceFacts& facts);

}  // namespace wyk
