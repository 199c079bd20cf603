#pragma once

#include <initializer_list>
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
// A text of texts::cli with its arguments, printed as a message.
void PrintMessage(const char* text, std::initializer_list<std::string_view> args);
// A model name (Shift-JIS bytes) as zanli-cli shows it: quoted, with every
// byte outside printable ASCII escaped as in the JSON output, and cut as
// every message cuts names (LibraryFileMessages::ShownPart).
std::string ShownName(std::string_view bytes);

// The file the command works on, which a message about running out of
// memory names. ReadLibrary sets it.
void SetCurrentFile(const std::string& path);
const std::string& CurrentFile();

// The command's result on standard output, written as it comes. The first
// failure (a full disk, a closed pipe) is reported on stderr with the
// system's reason; later writes are dropped and return false too.
bool WriteOutput(std::string_view bytes);
// Flushes standard output; false (reported) when any write failed.
bool FinishOutput();

// Reads with the format the name selects; prints why it failed, or that a
// text library lacks its closing line, on stderr. Null on failure.
std::unique_ptr<Library> ReadLibrary(const std::string& path);
// Writes with the format the name selects; prints why it failed on stderr.
bool WriteLibrary(const std::string& path, const Library& library);
// The entry named `name` (first match), or null.
const PartEntry* FindEntry(const Library& library, const std::string& name);
// The same when it has a body; otherwise null, after saying on stderr that
// the library at `path` has no part or alias of that name.
const PartEntry* FindPartOrSay(const Library& library, const std::string& path, const std::string& name);

// Each takes the arguments after its command name.
int RunDump(const std::vector<std::string>& args);
int RunConvert(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunClipEncode(const std::vector<std::string>& args);
int RunClipDecode(const std::vector<std::string>& args);
int RunCheck(const std::vector<std::string>& args);
int RunCatalog(const std::vector<std::string>& args);
int RunImportKicad(const std::vector<std::string>& args);
int RunExportKicad(const std::vector<std::string>& args);
int RunPins(const std::vector<std::string>& args);
int RunAddPart(const std::vector<std::string>& args);

}  // namespace zanli::cli
