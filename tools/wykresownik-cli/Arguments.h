#pragma once
// A small parser for "--name value", "--name=value" and flags; everything else is positional.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace wyk::cli {

struct OptionSpec {
  std::string name;  // without the dashes
  bool takesValue = true;
};

class Arguments {
 public:
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;  // flags hold ""

  bool Has(const std::string& name) const { return values.count(name) != 0; }
  std::string Value(const std::string& name) const;
  // The option's whole number within min … max, `fallback` when it is not given.
  int64_t Integer(const std::string& name, int64_t fallback, int64_t min, int64_t max) const;
};

// Bad usage raises CliError(kBadUsage): an unknown or repeated option, a missing value.
Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::vector<OptionSpec>& options);

}  // namespace wyk::cli
