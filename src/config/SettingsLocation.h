#pragma once
// Where the settings file lives: beside the executable when it is there or can be made there
// (a build folder, a portable copy); otherwise, as for a program installed in /usr/bin, in the
// user's configuration folder.

#include <optional>
#include <string>

namespace wyk {

// What the choice depends on; an environment variable that is not set is nullopt.
struct SettingsPlaceFacts {
  std::string executablePath;
  bool fileBesideExists;
  bool folderWritable;  // the executable's folder
  std::optional<std::string> xdgConfigHome;
  std::optional<std::string> home;
  // The executable's folder is the system's (under /usr or /opt) or another user's: the program
  // is installed for everyone, and one user's run, root's included, must not change the others'.
  bool installedForAll = false;
};

// The executable's path with ".INI" when that file exists or its folder is writable, unless the
// program is installed for all; else $XDG_CONFIG_HOME/wykresownik/wykresownik.INI, with
// ~/.config in place of a variable that is unset, empty or relative. With no usable home either,
// beside the executable; for a program installed for all, nowhere (empty: nothing is saved).
std::string ChooseSettingsPath(const SettingsPlaceFacts& facts);

// The same choice for this process: the disk and the environment as they are now; with HOME
// unset, the home folder of the user's account.
std::string SettingsPathFor(const std::string& executablePath);

// The same for the running program (through /proc/self/exe; on Windows GetModuleFileNameW and
// the rule of WindowsSettingsLocation.h), so that start-up and a help text need no application
// object to name it.
std::string SettingsPathForThisProgram();

}  // namespace wyk
