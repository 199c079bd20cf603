#include <cstdio>

#include "cli/cli_commands.h"
#include "cli/json_writer.h"
#include "clipboard/part_clipboard_block.h"
#include "fileio/library_file.h"
#include "fileio/library_file_messages.h"
#include "resources/cli_texts.h"

namespace zanli::cli {

namespace {

// A block holds one part: its largest pattern is 32767 pixels square (128
// MiB of bits), so a larger file is no block.
constexpr size_t kMaxBlockFile = size_t{256} << 20;

std::string PartJson(const PartClipboardBlock::Part& part) {
  const PartBody& body = *part.body;
  std::string out = "{\"name\":";
  AppendJsonString(out, part.name);
  out += ",\"prefix\":";
  AppendJsonString(out, body.numberPrefix);
  out += ",\"x\":" + std::to_string(body.xSize) + ",\"y\":" + std::to_string(body.ySize) +
         ",\"blocks\":" + std::to_string(body.blockCount) + ",\"pins\":[";
  for (size_t i = 0; i < body.pins.size(); ++i) {
    if (i) out += ',';
    AppendPinJson(out, *body.pins[i]);
  }
  out += "],\"pattern\":";
  if (part.pattern)
    AppendPatternJson(out, *part.pattern);
  else
    out += "null";
  out += "}\n";
  return out;
}

}  // namespace

int RunClipEncode(const std::vector<std::string>& args) {
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: zanli-cli clip-encode LIBRARY NAME OUT.bin\n");
    return kExitUsage;
  }
  const std::unique_ptr<Library> library = ReadLibrary(args[0]);
  if (!library) return kExitFailed;
  const PartEntry* entry = FindPartOrSay(*library, args[0], args[1]);
  if (entry == nullptr) return kExitFailed;
  const std::string block = PartClipboardBlock::Build(entry->name, *entry->body);
  if (block.empty()) {
    PrintMessage(texts::cli::kTooLargeForBlock, {args[0], ShownName(args[1])});
    return kExitFailed;
  }
  const WriteResult written = LibraryFile::SaveBytes(args[2], block);
  if (!written.Ok()) {
    PrintMessage(LibraryFileMessages::WriteFailure(written, args[2], ShownName));
    return kExitFailed;
  }
  return kExitOk;
}

int RunClipDecode(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: zanli-cli clip-decode IN.bin\n");
    return kExitUsage;
  }
  SetCurrentFile(args[0]);
  std::string block;
  const ReadResult read = LibraryFile::LoadBytes(args[0], kMaxBlockFile, block);
  if (read.failure != ReadFailure::None) {
    PrintMessage(LibraryFileMessages::ReadFailure(read, args[0]));
    return kExitFailed;
  }
  PartClipboardBlock::Part part;
  PartClipboardBlock::Refusal refusal = PartClipboardBlock::Refusal::None;
  if (!PartClipboardBlock::Read(block, part, refusal)) {
    PrintMessage(texts::cli::kNotAClipboardBlock, {args[0], PartClipboardBlock::Why(refusal, block.size())});
    return kExitFailed;
  }
  return WriteOutput(PartJson(part)) && FinishOutput() ? kExitOk : kExitFailed;
}

}  // namespace zanli::cli
