// zanli [OPTION]... [FILE]: the editor, opening FILE at start when one is
// given (what a file manager does with the desktop entry).
#include <QFile>
#include <cstdio>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/command_line.h"
#include "zanli_version.h"

int main(int argc, char** argv) {
  // Before any window system is asked for: this works without a display.
  const zanli::CommandLine line = zanli::CommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
  switch (line.action) {
    case zanli::CommandLine::Action::Help:
      std::fputs(zanli::CommandLine::Usage(), stdout);
      return 0;
    case zanli::CommandLine::Action::Version:
      std::printf("zanli %s\n", zanli::kVersion);
      return 0;
    case zanli::CommandLine::Action::Misuse:
      std::fprintf(stderr, "%s\n%s", line.error.c_str(), zanli::CommandLine::Usage());
      return 2;
    case zanli::CommandLine::Action::Run:
      break;
  }
  zanli::Application app(argc, argv);
  return app.Run(QFile::decodeName(line.file.c_str()));
}
