#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace wyk {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, EachArgumentListHasOneOutcome) {
  const struct {
    std::vector<std::string> args;
    Action action;
    std::optional<std::string> recording;
    std::string error;
  } cases[] = {
      {{}, Action::kRun, std::nullopt, ""},
      {{"pomiar.osr"}, Action::kRun, "pomiar.osr", ""},
      {{"--", "-x.osr"}, Action::kRun, "-x.osr", ""},
      {{"--", "--help"}, Action::kRun, "--help", ""},
      {{"--help"}, Action::kHelp, std::nullopt, ""},
      {{"pomiar.osr", "-h"}, Action::kHelp, std::nullopt, ""},
      {{"--version", "--bogus"}, Action::kVersion, std::nullopt, ""},
      {{"--bogus", "--help"}, Action::kBadUsage, std::nullopt, "nieznana opcja \"--bogus\""},
      {{"-"}, Action::kBadUsage, std::nullopt, "nieznana opcja \"-\""},
      {{"a.osr", "b.osr"}, Action::kBadUsage, std::nullopt, "nadmiarowy argument \"b.osr\""},
  };
  for (const auto& c : cases) {
    const CommandLine line = ParseCommandLine(c.args);
    EXPECT_EQ(line.action, c.action) << ::testing::PrintToString(c.args);
    EXPECT_EQ(line.recording, c.recording) << ::testing::PrintToString(c.args);
    EXPECT_EQ(line.error, c.error) << ::testing::PrintToString(c.args);
  }
}

}  // namespace
}  // namespace wyk
