#include <cstdio>
#include <unordered_map>

#include "cli/cli_commands.h"
#include "cli/json_writer.h"

namespace zanli::cli {

namespace {

std::string LibraryJson(const Library& library) {
  std::unordered_map<const Pattern*, size_t> patternIndex;
  std::unordered_map<const PartBody*, size_t> bodyIndex;
  std::string out = "{\n\"patterns\":[";
  for (size_t i = 0; i < library.patterns.size(); ++i) {
    patternIndex.emplace(library.patterns[i].get(), i);
    out += i ? ",\n" : "\n";
    AppendPatternJson(out, *library.patterns[i]);
  }
  out += "],\n\"bodies\":[";
  for (size_t i = 0; i < library.bodies.size(); ++i) {
    const PartBody& body = *library.bodies[i];
    bodyIndex.emplace(&body, i);
    out += i ? ",\n" : "\n";
    out += "{\"prefix\":";
    AppendJsonString(out, body.numberPrefix);
    out += ",\"x\":" + std::to_string(body.xSize) + ",\"y\":" + std::to_string(body.ySize) +
           ",\"blocks\":" + std::to_string(body.blockCount) + ",\"pattern\":";
    auto found = body.pattern ? patternIndex.find(body.pattern) : patternIndex.end();
    out += found == patternIndex.end() ? std::string("null") : std::to_string(found->second);
    out += ",\"pins\":[";
    for (size_t p = 0; p < body.pins.size(); ++p) {
      if (p) out += ',';
      AppendPinJson(out, *body.pins[p]);
    }
    out += "]}";
  }
  out += "],\n\"entries\":[";
  for (size_t i = 0; i < library.entries.size(); ++i) {
    const PartEntry& entry = *library.entries[i];
    out += i ? ",\n" : "\n";
    out += "{\"name\":";
    AppendJsonString(out, entry.name);
    auto found = bodyIndex.find(entry.body);
    out += ",\"body\":";
    out += found == bodyIndex.end() ? std::string("null") : std::to_string(found->second);
    out += '}';
  }
  out += "]\n}\n";
  return out;
}

}  // namespace

int RunDump(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: zanli-cli dump LIBRARY\n");
    return kExitUsage;
  }
  const std::unique_ptr<Library> library = ReadLibrary(args[0]);
  if (!library) return kExitFailed;
  return WriteOutput(LibraryJson(*library)) && FinishOutput() ? kExitOk : kExitFailed;
}

}  // namespace zanli::cli
