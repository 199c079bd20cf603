#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/library.h"

namespace zanli::cli {

// Exit codes of every command.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // a read, write or validation failed, or memory ran out
constexpr int kExitUsage = 2;

// Prints a message of the core's (UTF-8, maybe several lines) on stderr.
void PrintMessage(std::string_view message);
// A model name (Shift-JIS bytes) as zanli-cli shows it: quoted, with every
// byte outside printable ASCII escaped as in the JSON output.
std::string ShownName(std::string_view bytes);
// Reads with the format the name selects; prints why it failed, or that a
// text library lacks its closing line, on stderr. Null on failure.
std::unique_ptr<Library> ReadLibrary(const std::string& path);
// Writes with the format the name selects; prints why it failed on stderr.
bool WriteLibrary(const std::string& path, const Library& library);
// The entry named `name` (first match), or null.
const PartEntry* FindEntry(const Library& library, const std::string& name);

// Each takes the arguments after its command name.
int RunDump(const std::vector<std::string>& args);
int RunConvert(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunClipEncode(const std::vector<std::string>& args);
int RunClipDecode(const std::vector<std::string>& args);
int RunCheck(const std::vector<std::string>& args);
int RunImportKicad(const std::vector<std::string>& args);
int RunExportKicad(const std::vector<std::string>& args);

}  // namespace zanli::cli
