#include <cerrno>
#include <cstdio>

#include "cli/cli_commands.h"
#include "cli/json_writer.h"
#include "fileio/library_file.h"
#include "fileio/library_file_messages.h"
#include "resources/cli_texts.h"
#include "resources/message_texts.h"

namespace zanli::cli {

namespace {

std::string gCurrentFile;
bool gOutputFailed = false;

// Reports the failure of standard output once.
bool OutputFailed() {
  if (!gOutputFailed) {
    WriteResult failed;
    failed.failure = WriteFailure::WriteFailed;
    failed.error = errno;
    PrintMessage(LibraryFileMessages::WriteFailure(failed, texts::cli::kStandardOutput, ShownName));
    gOutputFailed = true;
  }
  return false;
}

}  // namespace

void PrintMessage(std::string_view message) {
  std::fprintf(stderr, "zanli-cli: %.*s\n", static_cast<int>(message.size()), message.data());
}

void PrintMessage(const char* text, std::initializer_list<std::string_view> args) {
  PrintMessage(LibraryFileMessages::Format(text, args));
}

std::string ShownName(std::string_view bytes) {
  const std::string_view part = LibraryFileMessages::ShownPart(bytes);
  std::string out;
  AppendJsonString(out, part);
  return part.size() < bytes.size() ? LibraryFileMessages::Format(texts::kShortenedName, {out}) : out;
}

void SetCurrentFile(const std::string& path) { gCurrentFile = path; }

const std::string& CurrentFile() { return gCurrentFile; }

bool WriteOutput(std::string_view bytes) {
  if (gOutputFailed) return false;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) return OutputFailed();
  return true;
}

bool FinishOutput() {
  if (gOutputFailed) return false;
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) return OutputFailed();
  return true;
}

std::unique_ptr<Library> ReadLibrary(const std::string& path) {
  SetCurrentFile(path);
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

const PartEntry* FindPartOrSay(const Library& library, const std::string& path, const std::string& name) {
  const PartEntry* entry = FindEntry(library, name);
  if (entry != nullptr && entry->body != nullptr) return entry;
  PrintMessage(texts::cli::kNoPartOrAliasNamed, {path, ShownName(name)});
  return nullptr;
}

}  // namespace zanli::cli
