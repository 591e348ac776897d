#pragma once
// The window program's command line: one recording to open, or --help, or --version.

#include <optional>
#include <string>
#include <vector>

namespace wyk {

struct CommandLine {
  enum class Action { kRun, kHelp, kVersion, kBadUsage };
  Action action = Action::kRun;
  std::optional<std::string> recording;  // kRun: the name to open as "Otworz" would
  std::string error;                     // kBadUsage: what was wrong, in Polish
};

// The arguments after the program's name. The first --help, --version or fault decides;
// after "--" every argument is a file name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// `settingsRule`: where the settings file is, as the help should say it.
std::string HelpText(const std::string& settingsRule);
std::string VersionText();
// The error and a short usage, for standard error.
std::string UsageError(const std::string& error);

}  // namespace wyk
