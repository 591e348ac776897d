#include "Arguments.h"

#include <charconv>

#include "Command.h"

namespace wyk::cli {

std::string Arguments::Value(const std::string& name) const {
  const auto it = values.find(name);
  return it == values.end() ? std::string() : it->second;
}

int64_t Arguments::Integer(const std::string& name, int64_t fallback, int64_t min,
                           int64_t max) const {
  if (!Has(name)) return fallback;
  const std::string text = Value(name);
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < min || value > max)
    throw CliError(kBadUsage, "--" + name + ": oczekiwano liczby całkowitej od " +
                                  std::to_string(min) + " do " + std::to_string(max) +
                                  ", podano \"" + text + "\"");
  return value;
}

Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::vector<OptionSpec>& options) {
  Arguments parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      if (arg == "--")
        optionsEnded = true;
      else
        parsed.positional.push_back(arg);
      continue;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(2, equals == std::string::npos ? equals : equals - 2);
    const OptionSpec* known = nullptr;
    for (const OptionSpec& option : options)
      if (option.name == name) known = &option;
    if (!known) throw CliError(kBadUsage, "nieznana opcja --" + name);
    if (parsed.Has(name)) throw CliError(kBadUsage, "opcja --" + name + " podana dwa razy");
    std::string value;
    if (!known->takesValue) {
      if (equals != std::string::npos)
        throw CliError(kBadUsage, "opcja --" + name + " nie przyjmuje wartości");
    } else if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      throw CliError(kBadUsage, "opcja --" + name + " wymaga wartości");
    }
    parsed.values[name] = value;
  }
  return parsed;
}

}  // namespace wyk::cli
