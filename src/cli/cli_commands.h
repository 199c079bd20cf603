#pragma once

#include <string>
#include <vector>

#include "model/library.h"

namespace zanli::cli {

// Exit codes of every command.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // a read, write or validation failed
constexpr int kExitUsage = 2;

// ".LB3" in any case is the text format; every other name is binary.
bool IsTextLibraryPath(const std::string& path);
// Reads with the format the name selects; prints the failure on stderr.
bool ReadLibrary(const std::string& path, Library& library);
// The entry named `name` (first match), or null.
const PartEntry* FindEntry(const Library& library, const std::string& name);

// Each takes the arguments after its command name.
int RunDump(const std::vector<std::string>& args);
int RunConvert(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunClipEncode(const std::vector<std::string>& args);
int RunClipDecode(const std::vector<std::string>& args);
int RunCheck(const std::vector<std::string>& args);

}  // namespace zanli::cli
