#include "Command.h"

#include <algorithm>

namespace wyk::cli {
namespace {

std::vector<Command>& Table() {
  static std::vector<Command> table;
  return table;
}

}  // namespace

bool RegisterCommand(Command command) {
  std::vector<Command>& table = Table();
  table.push_back(std::move(command));
  std::stable_sort(table.begin(), table.end(),
                   [](const Command& a, const Command& b) { return a.order < b.order; });
  return true;
}

const std::vector<Command>& Commands() {
  return Table();
}

const Command* FindCommand(std::string_view name) {
  for (const Command& command : Table())
    if (command.name == name) return &command;
  return nullptr;
}

}  // namespace wyk::cli
