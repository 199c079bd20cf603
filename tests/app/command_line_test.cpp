// zanli's arguments, decided before a display is needed.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace zanli {
namespace {

TEST(CommandLineTest, HelpVersionAFileQtsOptionsAndMistakes) {
  using Action = CommandLine::Action;
  const struct {
    std::vector<std::string> args;
    Action action;
    std::string file;
  } cases[] = {
      {{}, Action::Run, ""},
      {{"parts.LB3"}, Action::Run, "parts.LB3"},
      {{"-"}, Action::Run, "-"},
      {{"--help"}, Action::Help, ""},
      {{"-h"}, Action::Help, ""},
      {{"parts.LB3", "-h"}, Action::Help, ""},
      {{"--version"}, Action::Version, ""},
      {{"-platform", "offscreen", "parts.LB3"}, Action::Run, "parts.LB3"},
      {{"--style=fusion", "-reverse", "parts.LB3"}, Action::Run, "parts.LB3"},
      {{"--", "-odd.LB3"}, Action::Run, "-odd.LB3"},
      {{"--", "--help"}, Action::Run, "--help"},
      {{"--bogus"}, Action::Misuse, ""},
      {{"-x", "parts.LB3"}, Action::Misuse, ""},
      {{"-reverse=1"}, Action::Misuse, ""},
      {{"-platform"}, Action::Misuse, ""},
      {{"a.LB3", "b.LB3"}, Action::Misuse, ""},
  };
  for (const auto& c : cases) {
    const CommandLine line = CommandLine::Parse(c.args);
    const std::string shown = c.args.empty() ? "(none)" : c.args.front() + " ...";
    EXPECT_EQ(line.action, c.action) << shown;
    EXPECT_EQ(line.file, c.file) << shown;
    EXPECT_EQ(line.error.empty(), c.action != Action::Misuse) << shown;
  }
}

}  // namespace
}  // namespace zanli
