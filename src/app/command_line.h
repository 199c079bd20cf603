#pragma once

#include <string>
#include <vector>

namespace zanli {

// What `zanli [OPTION]... [FILE]` asks for, decided before any window system
// is asked for, so --help, --version and mistakes answer without a display.
// Qt's own options (-platform NAME, -style NAME, -reverse, ...) are left for
// QApplication.
class CommandLine {
 public:
  enum class Action {
    Run,      // start the editor, opening `file` when it is not empty
    Help,     // print Usage() on stdout, exit 0
    Version,  // print the version, exit 0
    Misuse,   // print `error` and Usage() on stderr, exit 2
  };

  // `args` without the program name.
  static CommandLine Parse(const std::vector<std::string>& args);
  static const char* Usage();

  Action action = Action::Run;
  std::string file;
  std::string error;
};

}  // namespace zanli
