#pragma once
// The simulator's command line.

#include <optional>
#include <string>
#include <vector>

#include "SimulatedAdapter.h"

namespace sim {

struct SimOptions {
  AdapterBehaviour behaviour;
  bool typeGiven = false;  // without --type the settings file's "Typ" decides, if one is given
  std::string linkPath;
  std::string settingsPath;
  std::string rxLogPath;
  std::string txLogPath;
  bool verbose = false;
  bool help = false;
};

struct ParsedOptions {
  std::optional<SimOptions> options;
  std::string error;  // set when options is empty
};

ParsedOptions ParseSimOptions(const std::vector<std::string>& args);

// A byte as 0..255 in decimal or 0xNN.
std::optional<uint8_t> ParseByte(const std::string& text);

extern const char* const kSimHelpText;

}  // namespace sim
