// zanli-cli: the command-line companion of the editor, for scripts and checks.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli_commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const std::vector<std::string>&);
};

const Command kCommands[] = {
    {"dump", zanli::cli::RunDump},
    {"convert", zanli::cli::RunConvert},
    {"render", zanli::cli::RunRender},
    {"clip-encode", zanli::cli::RunClipEncode},
    {"clip-decode", zanli::cli::RunClipDecode},
    {"check", zanli::cli::RunCheck},
};

void PrintUsage() {
  std::fprintf(stderr,
               "usage: zanli-cli COMMAND ARGS...\n"
               "  dump LIBRARY                           JSON of the library on stdout\n"
               "  convert IN OUT                         read IN, write OUT (format by extension)\n"
               "  render LIBRARY NAME OUT.png [--block N]  PNG of the part's symbol (block N, default 1)\n"
               "  clip-encode LIBRARY NAME OUT.bin       clipboard block that Copy makes for NAME\n"
               "  clip-decode IN.bin                     JSON of a clipboard block on stdout\n"
               "  check LIBRARY [--format text|binary] [--json]\n"
               "                                         design problems and what a save would change;\n"
               "                                         exit 1 when there are any\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage();
    return zanli::cli::kExitUsage;
  }
  std::vector<std::string> args(argv + 2, argv + argc);
  for (const Command& command : kCommands)
    if (std::strcmp(argv[1], command.name) == 0) return command.run(args);
  PrintUsage();
  return zanli::cli::kExitUsage;
}
