#include <cstdio>

#include "cli/cli_commands.h"
#include "fileio/binary_library_format.h"
#include "fileio/text_library_format.h"
#include "resources/message_texts.h"

namespace zanli::cli {

int RunConvert(const std::vector<std::string>& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: zanli-cli convert IN OUT\n");
    return kExitUsage;
  }
  Library library;
  if (!ReadLibrary(args[0], library)) return kExitFailed;
  const std::string& out = args[1];
  if (IsTextLibraryPath(out)) {
    if (TextLibraryFormat::Write(out, library)) return kExitOk;
    std::fprintf(stderr, "zanli-cli: %s: %s\n", out.c_str(), texts::kWriteFailed);
    return kExitFailed;
  }
  switch (BinaryLibraryFormat::Write(out, library)) {
    case BinaryWriteResult::Ok:
      return kExitOk;
    case BinaryWriteResult::TooLarge:
      std::fprintf(stderr, "zanli-cli: %s: %s\n", out.c_str(), texts::kDataTooLarge);
      break;
    case BinaryWriteResult::Inconsistent:
      std::fprintf(stderr, "zanli-cli: %s: %s\n", out.c_str(), texts::kDataInconsistent);
      break;
    case BinaryWriteResult::WriteFailed:
      std::fprintf(stderr, "zanli-cli: %s: %s\n", out.c_str(), texts::kWriteFailed);
      break;
  }
  return kExitFailed;
}

}  // namespace zanli::cli
