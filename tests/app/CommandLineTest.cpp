#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace wyk {
namespace {

using Action = CommandLine::Action;

struct LineCase {
  std::vector<std::string> args;
  Action action;
  std::optional<std::string> recording;
  std::string error;
};

TEST(CommandLine, EachArgumentListHasOneOutcome) {
  const LineCase cases[] = {
      {{}, Action::kRun, std::nullopt, ""},
      {{"pomiar.osr"}, Action::kRun, "pomiar.osr", ""},
      {{"--", "-x.osr"}, Action::kRun, "-x.osr", ""},
      {{"--help"}, Action::kHelp, std::nullopt, ""},
      {{"pomiar.osr", "-h"}, Action::kHelp, std::nullopt, ""},
      {{"--version", "--bogus"}, Action::kVersion, std::nullopt, ""},
      {{"--bogus", "--help"}, Action::kBadUsage, std::nullopt, "nieznana opcja \"--bogus\""},
      {{"-"}, Action::kBadUsage, std::nullopt, "nieznana opcja \"-\""},
      {{"a.osr", "b.osr"}, Action::kBadUsage, std::nullopt, "nadmiarowy argument \"b.osr\""},
  };
  for (const LineCase& c : cases) {
    const CommandLine line = ParseCommandLine(c.args);
    const std::string row = ::testing::PrintToString(c.args);
    EXPECT_EQ(line.action, c.action) << row;
    EXPECT_EQ(line.recording, c.recording) << row;
    EXPECT_EQ(line.error, c.error) << row;
  }
}

}  // namespace
}  // namespace wyk
