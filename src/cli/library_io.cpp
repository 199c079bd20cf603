#include <cstdio>

#include "cli/cli_commands.h"
#include "cli/json_writer.h"
#include "fileio/library_file.h"
#include "fileio/library_file_messages.h"

namespace zanli::cli {

void PrintMessage(std::string_view message) {
  std::fprintf(stderr, "zanli-cli: %.*s\n", static_cast<int>(message.size()), message.data());
}

std::string ShownName(std::string_view bytes) {
  std::string out;
  AppendJsonString(out, bytes);
  return out;
}

std::unique_ptr<Library> ReadLibrary(const std::string& path) {
  ReadResult result = LibraryFile::Read(path);
  if (!result.Ok()) {
    PrintMessage(LibraryFileMessages::ReadFailure(result, path));
    return nullptr;
  }
  if (result.missingTrailer) PrintMessage(path + ": " + LibraryFileMessages::MissingTrailer());
  return std::move(result.library);
}

bool WriteLibrary(const std::string& path, const Library& library) {
  const WriteResult result = LibraryFile::Write(path, library);
  if (!result.Ok()) PrintMessage(LibraryFileMessages::WriteFailure(result, path, ShownName));
  return result.Ok();
}

const PartEntry* FindEntry(const Library& library, const std::string& name) {
  for (const auto& entry : library.entries)
    if (entry->name == name) return entry.get();
  return nullptr;
}

}  // namespace zanli::cli
