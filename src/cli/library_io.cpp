#include <cstdio>

#include "cli/cli_commands.h"
#include "fileio/binary_library_format.h"
#include "fileio/text_library_format.h"

namespace zanli::cli {

bool IsTextLibraryPath(const std::string& path) {
  size_t slash = path.find_last_of('/');
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  std::string ext = path.substr(dot);
  if (ext.size() != 4) return false;
  for (char& c : ext) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return ext == ".LB3";
}

bool ReadLibrary(const std::string& path, Library& library) {
  bool ok = IsTextLibraryPath(path) ? TextLibraryFormat::Read(path, library)
                                    : BinaryLibraryFormat::Read(path, library);
  if (!ok) std::fprintf(stderr, "zanli-cli: %s: reading the library failed\n", path.c_str());
  return ok;
}

const PartEntry* FindEntry(const Library& library, const std::string& name) {
  for (const auto& entry : library.entries)
    if (entry->name == name) return entry.get();
  return nullptr;
}

}  // namespace zanli::cli
