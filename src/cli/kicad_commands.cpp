// import-kicad and export-kicad: KiCad symbol libraries into a library, and
// a library's parts out to one.
#include <cstdio>

#include "cli/cli_commands.h"
#include "cli/json_writer.h"
#include "fileio/library_file.h"
#include "fileio/library_file_messages.h"
#include "kicad/kicad_exporter.h"
#include "kicad/kicad_importer.h"
#include "kicad/kicad_messages.h"
#include "kicad/kicad_symbol_writer.h"
#include "model/name_set.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/cli_texts.h"

namespace zanli::cli {

namespace {

int ImportUsage() {
  std::fprintf(stderr,
               "usage: zanli-cli import-kicad IN.kicad_sym... OUT.LB3|OUT.LIB [--report FILE.json]\n");
  return kExitUsage;
}

void AppendNoteJson(std::string& out, const KicadNote& note) {
  out += "{\"kind\":\"";
  out += KicadMessages::NoteId(note.kind);
  out += "\",\"text\":";
  AppendJsonText(out, KicadMessages::Describe(note));
  if (!note.text.empty()) {
    out += ",\"subject\":";
    AppendJsonText(out, note.text);
  }
  if (!note.detail.empty()) {
    out += ",\"detail\":";
    AppendJsonText(out, note.detail);
  }
  if (note.kind == KicadNote::Kind::PinsMoved) {
    out += ",\"largestMoveMm\":" + KicadMessages::Millimetres(note.value);
    out += ",\"pins\":" + std::to_string(note.count);
  }
  out += '}';
}

void AppendSymbolJson(std::string& out, const KicadSymbolImport& symbol) {
  out += "{\"name\":";
  AppendJsonText(out, symbol.name);
  if (!symbol.extends.empty()) {
    out += ",\"extends\":";
    AppendJsonText(out, symbol.extends);
  }
  out += ",\"line\":" + std::to_string(symbol.line);
  out += ",\"outcome\":\"";
  out += KicadMessages::OutcomeId(symbol.outcome);
  out += "\",\"entries\":[";
  for (size_t i = 0; i < symbol.entries.size(); ++i) {
    if (i) out += ',';
    AppendJsonString(out, symbol.entries[i]->name);
  }
  out += "],\"notes\":[";
  for (size_t i = 0; i < symbol.notes.size(); ++i) {
    if (i) out += ',';
    AppendNoteJson(out, symbol.notes[i]);
  }
  out += "]}";
}

}  // namespace

int RunImportKicad(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  std::string reportPath;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--report") {
      if (i + 1 >= args.size()) return ImportUsage();
      reportPath = args[++i];
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() < 2) return ImportUsage();
  const std::string outPath = positional.back();
  positional.pop_back();

  // Every file into one library; names stay clear of what earlier files gave.
  Library library;
  NameSet partNames, patternNames;
  KicadImporter::Options options;
  options.partNames = &partNames;
  options.patternNames = &patternNames;
  size_t counts[3] = {0, 0, 0};
  std::string report = "{\"files\":[";
  for (size_t f = 0; f < positional.size(); ++f) {
    KicadSymbolReader::Status status;
    KicadImport import = KicadImporter::ImportFile(positional[f], options, status);
    if (!status.Ok()) {
      PrintMessage(KicadMessages::ReadFailure(status, positional[f]));
      return kExitFailed;
    }
    report += f ? ",\n" : "\n";
    report += "{\"path\":";
    AppendJsonText(report, positional[f]);
    report += ",\"symbols\":[";
    for (size_t i = 0; i < import.symbols.size(); ++i) {
      report += i ? ",\n" : "\n";
      AppendSymbolJson(report, import.symbols[i]);
      ++counts[static_cast<int>(import.symbols[i].outcome)];
    }
    report += "]}";
    for (const auto& entry : import.library->entries) partNames.Add(entry->name);
    for (const auto& pattern : import.library->patterns) patternNames.Add(pattern->name);
    import.MoveInto(library);
  }
  report += "],\n\"exact\":" + std::to_string(counts[0]) + ",\"changed\":" + std::to_string(counts[1]) +
            ",\"refused\":" + std::to_string(counts[2]) + "}\n";

  if (!WriteLibrary(outPath, library)) return kExitFailed;
  if (!reportPath.empty()) {
    const WriteResult written = LibraryFile::SaveBytes(reportPath, report);
    if (!written.Ok()) {
      PrintMessage(LibraryFileMessages::WriteFailure(written, reportPath, ShownName));
      return kExitFailed;
    }
  }
  // A summary nobody can read is still a failure to report (a full disk, a
  // closed pipe).
  WriteOutput(std::to_string(counts[0] + counts[1] + counts[2]) + " symbols: " + std::to_string(counts[0]) +
              " exact, " + std::to_string(counts[1]) + " with changes, " + std::to_string(counts[2]) +
              " refused; " + std::to_string(library.entries.size()) + " parts and aliases written to " +
              outPath + "\n");
  return FinishOutput() ? kExitOk : kExitFailed;
}

int RunExportKicad(const std::vector<std::string>& args) {
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: zanli-cli export-kicad LIBRARY OUT.kicad_sym [PART...]\n");
    return kExitUsage;
  }
  const std::unique_ptr<Library> library = ReadLibrary(args[0]);
  if (!library) return kExitFailed;
  std::vector<const PartEntry*> chosen;
  for (size_t i = 2; i < args.size(); ++i) {
    const PartEntry* entry = FindEntry(*library, args[i]);
    if (entry == nullptr) {
      PrintMessage(texts::cli::kNoPartNamed, {args[0], ShownName(args[i])});
      return kExitFailed;
    }
    chosen.push_back(entry);
  }
  KicadExporter::Options options;
  options.decoder = [](std::string_view bytes, std::string& utf8) {
    utf8 = ShiftJisCodec::Decode(std::string(bytes)).toUtf8().toStdString();
    return true;
  };
  const KicadExport exported = KicadExporter::Export(*library, chosen, options);
  for (const KicadExportNote& note : exported.notes) PrintMessage(KicadMessages::Describe(note));
  const WriteResult written = LibraryFile::SaveBytes(args[1], KicadSymbolWriter::Write(exported.library));
  if (!written.Ok()) {
    PrintMessage(LibraryFileMessages::WriteFailure(written, args[1], ShownName));
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace zanli::cli
