#include "app/command_line.h"

#include <algorithm>
#include <string_view>

namespace zanli {

namespace {

struct QtOption {
  std::string_view name;
  bool takesValue;
};

// The options every Qt application accepts, with one dash or two, the value
// after a space or an "=".
constexpr QtOption kQtOptions[] = {
    {"platform", true},      {"platformpluginpath", true},
    {"platformtheme", true}, {"plugin", true},
    {"qmljsdebugger", true}, {"qwindowgeometry", true},
    {"qwindowicon", true},   {"qwindowtitle", true},
    {"session", true},       {"display", true},
    {"geometry", true},      {"style", true},
    {"stylesheet", true},    {"reverse", false},
    {"widgetcount", false},  {"nograb", false},
    {"dograb", false},       {"sync", false},
};

const QtOption* FindQtOption(std::string_view arg, bool& valueAttached) {
  arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
  const size_t equals = arg.find('=');
  valueAttached = equals != std::string_view::npos;
  const std::string_view name = arg.substr(0, equals);
  const auto* found = std::find_if(std::begin(kQtOptions), std::end(kQtOptions),
                                   [name](const QtOption& option) { return option.name == name; });
  if (found == std::end(kQtOptions) || (valueAttached && !found->takesValue)) return nullptr;
  return found;
}

CommandLine Misuse(std::string error) {
  CommandLine line;
  line.action = CommandLine::Action::Misuse;
  line.error = std::move(error);
  return line;
}

}  // namespace

CommandLine CommandLine::Parse(const std::vector<std::string>& args) {
  CommandLine line;
  bool optionsEnded = false;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      files.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-h" || arg == "--help") {
      line.action = Action::Help;
      return line;
    } else if (arg == "--version") {
      line.action = Action::Version;
      return line;
    } else {
      bool valueAttached = false;
      const QtOption* option = FindQtOption(arg, valueAttached);
      if (option == nullptr) return Misuse("zanli: unknown option " + arg);
      if (option->takesValue && !valueAttached && ++i >= args.size())
        return Misuse("zanli: option " + arg + " needs a value");
    }
  }
  if (files.size() > 1) return Misuse("zanli: opens one library at a time");
  if (!files.empty()) line.file = files.front();
  return line;
}

const char* CommandLine::Usage() {
  return "usage: zanli [FILE]\n"
         "The editor of Veld part libraries; opens FILE (.LB3 text or .LIB binary) when given.\n"
         "  -h, --help     this text\n"
         "      --version  the version of zanli\n"
         "Qt's options (-platform NAME, -style NAME, -reverse, ...) are accepted too.\n"
         "See zanli(1); the command-line companion is zanli-cli(1).\n";
}

}  // namespace zanli
