#include <cstdio>

#include "cli/cli_commands.h"

namespace zanli::cli {

int RunConvert(const std::vector<std::string>& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: zanli-cli convert IN OUT\n");
    return kExitUsage;
  }
  const std::unique_ptr<Library> library = ReadLibrary(args[0]);
  if (!library) return kExitFailed;
  return WriteLibrary(args[1], *library) ? kExitOk : kExitFailed;
}

}  // namespace zanli::cli
