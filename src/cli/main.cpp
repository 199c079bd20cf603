// zanli-cli: the command-line companion of the editor, for scripts and checks.
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "resources/message_texts.h"
#include "zanli_version.h"

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
    {"catalog", zanli::cli::RunCatalog},
    {"import-kicad", zanli::cli::RunImportKicad},
    {"export-kicad", zanli::cli::RunExportKicad},
    {"pins", zanli::cli::RunPins},
    {"add-part", zanli::cli::RunAddPart},
};

void PrintUsage(FILE* out) {
  std::fprintf(out,
               "usage: zanli-cli COMMAND ARGS...\n"
               "  dump LIBRARY                           JSON of the library on stdout\n"
               "  convert IN OUT                         read IN, write OUT (format by extension)\n"
               "  render LIBRARY NAME OUT [--block N] [--zoom N] [--svg]\n"
               "                                         PNG (or SVG) of the part's symbol, block N\n"
               "                                         (default 1), magnified 1 to 4 times\n"
               "  clip-encode LIBRARY NAME OUT.bin       clipboard block that Copy makes for NAME\n"
               "  clip-decode IN.bin                     JSON of a clipboard block on stdout\n"
               "  check LIBRARY [--format text|binary] [--json]\n"
               "                                         design problems and what a save would change;\n"
               "                                         exit 1 when there are any\n"
               "  catalog LIBRARY OUT.pdf [--per-page N] every part with its aliases on A4 pages,\n"
               "                                         N (1 to 100, default 12) a page\n"
               "  import-kicad IN.kicad_sym... OUT [--report FILE.json]\n"
               "                                         KiCad symbols into a new library OUT;\n"
               "                                         the report gives every symbol's outcome\n"
               "  export-kicad LIBRARY OUT.kicad_sym [PART...]\n"
               "                                         the parts (or the named ones) for KiCad\n"
               "  pins LIBRARY NAME                      the part's pins as tab-separated text\n"
               "  add-part LIBRARY NAME PINS.tsv [--prefix P] [--blocks N]\n"
               "                                         a new part from a pin list, saved in LIBRARY\n"
               "  --help                                 this list\n"
               "  --version                              the version of zanli-cli\n");
}

int Run(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    PrintUsage(stdout);
    return zanli::cli::kExitOk;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("zanli-cli %s\n", zanli::kVersion);
    return zanli::cli::kExitOk;
  }
  if (argc >= 2) {
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const Command& command : kCommands)
      if (std::strcmp(argv[1], command.name) == 0) return command.run(args);
  }
  PrintUsage(stderr);
  return zanli::cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  // Whatever a command needs memory for after reading (the JSON it prints,
  // an image), running out ends it with a message naming the file rather
  // than an abort; reading itself says so in its own message.
  const auto fail = [](std::string_view reason) {
    const std::string& file = zanli::cli::CurrentFile();
    zanli::cli::PrintMessage(file.empty() ? std::string(reason)
                                          : std::string(file).append(": ").append(reason));
    return zanli::cli::kExitFailed;
  };
  try {
    return Run(argc, argv);
  } catch (const std::bad_alloc&) {
    return fail(zanli::texts::kOutOfMemory);
  } catch (const std::exception& error) {
    return fail(error.what());
  }
}
