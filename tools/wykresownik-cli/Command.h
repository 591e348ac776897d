#pragma once
// The commands of wykresownik-cli. Each command is one file that registers itself, so a new
// command needs no other change.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Arguments.h"

namespace wyk::cli {

enum ExitCode : int {
  kSuccess = 0,
  kBadUsage = 1,
  kBadInput = 2,   // not readable or not a recording
  kNoAdapter = 3,  // adapter not found or lost
  kBadOutput = 4,  // not writable, or already there without --force
};

// Ends the command: the message goes to the error output, the code is the exit code.
class CliError : public std::runtime_error {
 public:
  CliError(int code, const std::string& message) : std::runtime_error(message), code(code) {}
  int code;
};

struct Command {
  std::string name;
  int order = 0;        // place in the list of commands
  std::string summary;  // one line for the list
  std::string help;     // the text of "--help"
  std::vector<OptionSpec> options;
  int (*run)(const Arguments& arguments) = nullptr;  // one positional argument, the recording
};

// For a namespace-scope initialiser in the command's file.
bool RegisterCommand(Command command);
// Sorted by order.
const std::vector<Command>& Commands();
const Command* FindCommand(std::string_view name);

}  // namespace wyk::cli
