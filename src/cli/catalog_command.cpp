#include <cstdio>
#include <cstdlib>

#include "catalog/catalog_writer.h"
#include "cli/cli_commands.h"
#include "fileio/library_file_messages.h"

namespace zanli::cli {

namespace {

int Usage() {
  std::fprintf(stderr, "usage: zanli-cli catalog LIBRARY OUT.pdf [--per-page N]\n");
  return kExitUsage;
}

// The file's name without its folder: the catalogue's head.
std::string FileName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int RunCatalog(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  CatalogOptions options;
  options.perPage = CatalogWriter::kDefaultPerPage;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--per-page") {
      if (i + 1 >= args.size()) return Usage();
      char* end = nullptr;
      const long value = std::strtol(args[++i].c_str(), &end, 10);
      if (args[i].empty() || *end != '\0' || value < CatalogWriter::kMinPerPage ||
          value > CatalogWriter::kMaxPerPage) {
        std::fprintf(stderr, "zanli-cli: --per-page takes %d to %d parts\n", CatalogWriter::kMinPerPage,
                     CatalogWriter::kMaxPerPage);
        return kExitUsage;
      }
      options.perPage = static_cast<int32_t>(value);
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2) return Usage();
  const std::unique_ptr<Library> library = ReadLibrary(positional[0]);
  if (!library) return kExitFailed;
  options.title = FileName(positional[0]);
  const CatalogResult result = CatalogWriter::WriteFile(positional[1], *library, options, nullptr);
  if (result.status != CatalogStatus::Done) {
    PrintMessage(LibraryFileMessages::WriteFailure(result.write, positional[1], ShownName));
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace zanli::cli
