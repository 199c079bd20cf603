// zanli-cli pins and add-part: a part's pins as tab-separated text, and a
// new part made from such a list as the editor's paste makes it.
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "cli/cli_commands.h"
#include "document/library_document.h"
#include "fileio/library_file.h"
#include "fileio/library_file_messages.h"
#include "model/limits.h"
#include "model/names.h"
#include "model/storable_text.h"
#include "pinlist/pin_column_roles.h"
#include "pinlist/pin_list_cells.h"
#include "pinlist/pin_list_edits.h"
#include "pinlist/pin_list_plan.h"
#include "pinlist/pin_list_problem_text.h"
#include "pinlist/pin_table_text.h"
#include "qtshared/pin_list_text.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/cli_texts.h"

namespace zanli::cli {

namespace {

// A pin list longer than this is no pin list: 256 positions on 4 sides.
constexpr size_t kMaxPinListFile = 16 * 1024 * 1024;

int AddPartUsage() {
  std::fprintf(stderr, "usage: zanli-cli add-part LIBRARY NAME PINS.tsv [--prefix P] [--blocks N]\n");
  return kExitUsage;
}

std::string Utf8(const std::string& shiftJis) { return ShiftJisCodec::Decode(shiftJis).toStdString(); }

}  // namespace

int RunPins(const std::vector<std::string>& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: zanli-cli pins LIBRARY NAME\n");
    return kExitUsage;
  }
  const std::unique_ptr<Library> library = ReadLibrary(args[0]);
  if (!library) return kExitFailed;
  const PartEntry* entry = FindPartOrSay(*library, args[0], args[1]);
  if (entry == nullptr) return kExitFailed;
  const PartBody& body = *entry->body;
  return WriteOutput(Utf8(PinTableText(body, PinsInCursorOrder(body)))) && FinishOutput() ? kExitOk
                                                                                          : kExitFailed;
}

int RunAddPart(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  std::string prefix = "U";
  int64_t blocks = 1;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--prefix" || args[i] == "--blocks") {
      if (i + 1 >= args.size()) return AddPartUsage();
      if (args[i] == "--prefix") {
        prefix = args[++i];
      } else {
        char* end = nullptr;
        blocks = std::strtoll(args[++i].c_str(), &end, 10);
        if (end == nullptr || *end != '\0' || blocks < 1 || blocks > limits::kMaxBlocks)
          return AddPartUsage();
      }
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 3) return AddPartUsage();
  const std::string& libraryPath = positional[0];
  const std::string& listPath = positional[2];
  // Names and the prefix come as the shell gives them, in UTF-8.
  const std::string name = ShiftJisCodec::Encode(QString::fromStdString(positional[1]));
  const std::string prefixBytes = ShiftJisCodec::Encode(QString::fromStdString(prefix));

  std::unique_ptr<Library> library = ReadLibrary(libraryPath);
  if (!library) return kExitFailed;
  if (!IsValidPartName(name)) {
    PrintMessage(texts::cli::kBadPartName, {libraryPath, ShownName(positional[1])});
    return kExitFailed;
  }
  if (FindEntry(*library, name) != nullptr) {
    PrintMessage(texts::cli::kPartNameTaken, {libraryPath, ShownName(positional[1])});
    return kExitFailed;
  }
  if (!ShiftJisCodec::FirstUnstorable(QString::fromStdString(prefix)).isEmpty() ||
      !IsStorableText(prefixBytes)) {
    PrintMessage(texts::cli::kBadPrefix, {libraryPath, ShownName(prefix)});
    return kExitFailed;
  }

  SetCurrentFile(listPath);
  std::string list;
  const ReadResult read = LibraryFile::LoadBytes(listPath, kMaxPinListFile, list);
  if (read.failure != ReadFailure::None) {
    PrintMessage(LibraryFileMessages::ReadFailure(read, listPath));
    return kExitFailed;
  }
  const QString text = QString::fromUtf8(list);
  const QString bad = FirstUnstorableInPinList(text);
  if (!bad.isEmpty()) {
    PrintMessage(texts::cli::kUnstorableInPinList, {listPath, bad.toStdString()});
    return kExitFailed;
  }
  const PinListCells parsed = PinListCells::Parse(ShiftJisCodec::Encode(text));
  PartBody base;
  base.blockCount = static_cast<int32_t>(blocks);
  PinListPlan plan = PinListPlan::Make(parsed, PinColumnRoles::Detect(parsed), base, PinListDestination{});
  if (plan.problem != PinListProblem::None) {
    PrintMessage(texts::cli::kPinListRefused, {listPath, PinListProblemText(plan)});
    return kExitFailed;
  }
  plan.attributes.numberPrefix = prefixBytes;

  SetCurrentFile(libraryPath);
  LibraryDocument document;
  document.ReplaceLibrary(std::move(library));
  if (AddPartFromPinList(document, document.EntryCount(), name, -1, plan).status != EditStatus::Done) {
    PrintMessage(texts::cli::kPinListRefused, {listPath, ShownName(positional[1])});
    return kExitFailed;
  }
  return WriteLibrary(libraryPath, document.library()) ? kExitOk : kExitFailed;
}

}  // namespace zanli::cli
