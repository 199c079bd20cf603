// Importing the KiCad symbol libraries installed on this machine (Debian's
// kicad-symbols, /usr/share/kicad/symbols) into one library, as
// `zanli-cli import-kicad` does: the time, the peak memory against the
// corpus's size, and how many symbols import exactly, with changes, or are
// refused (by reason). Skipped when the corpus is not installed.
//
// And the 100,000-part benchmark library exported to one KiCad file and that
// file imported again.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench_library.h"
#include "kicad/kicad_exporter.h"
#include "kicad/kicad_importer.h"
#include "kicad/kicad_symbol_writer.h"
#include "model/name_set.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;

const char* const kCorpus = "/usr/share/kicad/symbols";

std::vector<std::string> CorpusFiles(uintmax_t& bytes) {
  std::vector<std::string> files;
  bytes = 0;
  std::error_code error;
  if (!fs::is_directory(kCorpus, error)) return files;
  for (const auto& item : fs::directory_iterator(kCorpus, error))
    if (item.path().extension() == ".kicad_sym") {
      files.push_back(item.path().string());
      bytes += item.file_size(error);
    }
  std::sort(files.begin(), files.end());
  return files;
}

struct Totals {
  size_t symbols = 0, derived = 0, exact = 0, changed = 0, refused = 0, unreadableFiles = 0;
  std::map<std::string, size_t> reasons;
};

const char* ReasonId(KicadNote::Kind kind) {
  switch (kind) {
    case KicadNote::Kind::Unreadable:
      return "unreadable";
    case KicadNote::Kind::NoPins:
      return "no pins";
    case KicadNote::Kind::PinDirection:
      return "pin direction";
    case KicadNote::Kind::TooManyPlaces:
      return "too many places on a side";
    case KicadNote::Kind::TooManyUnits:
      return "too many units";
    case KicadNote::Kind::MissingBase:
      return "missing base";
    case KicadNote::Kind::BaseRefused:
      return "base refused";
    default:
      return "other";
  }
}

// The whole corpus into one library; the totals of the last run.
Totals ImportCorpus(const std::vector<std::string>& files, Library& target) {
  Totals totals;
  NameSet partNames, patternNames;
  KicadImporter::Options options;
  options.partNames = &partNames;
  options.patternNames = &patternNames;
  for (const std::string& path : files) {
    KicadSymbolReader::Status status;
    KicadImport import = KicadImporter::ImportFile(path, options, status);
    if (!status.Ok()) {
      ++totals.unreadableFiles;
      continue;
    }
    for (const KicadSymbolImport& symbol : import.symbols) {
      ++totals.symbols;
      totals.derived += !symbol.extends.empty();
      if (symbol.outcome == KicadOutcome::Exact) ++totals.exact;
      if (symbol.outcome == KicadOutcome::Changed) ++totals.changed;
      if (symbol.outcome == KicadOutcome::Refused) {
        ++totals.refused;
        ++totals.reasons[symbol.notes.empty() ? "none given" : ReasonId(symbol.notes.front().kind)];
      }
    }
    for (const auto& entry : import.library->entries) partNames.Add(entry->name);
    for (const auto& pattern : import.library->patterns) patternNames.Add(pattern->name);
    import.MoveInto(target);
  }
  return totals;
}

void BM_ImportCorpus(benchmark::State& state) {
  uintmax_t bytes = 0;
  const std::vector<std::string> files = CorpusFiles(bytes);
  if (files.empty()) {
    state.SkipWithError("the kicad-symbols corpus is not installed (/usr/share/kicad/symbols)");
    return;
  }
  Totals totals;
  size_t parts = 0;
  for (auto _ : state) {
    Library library;
    totals = ImportCorpus(files, library);
    parts = library.entries.size();
    benchmark::DoNotOptimize(library.bodies.data());
  }
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const double peak = static_cast<double>(usage.ru_maxrss) * 1024.0;
  state.counters["files"] = static_cast<double>(files.size());
  state.counters["corpus_MB"] = static_cast<double>(bytes) / 1e6;
  state.counters["peak_MB"] = peak / 1e6;
  state.counters["peak_per_corpus"] = peak / static_cast<double>(bytes);
  state.counters["symbols"] = static_cast<double>(totals.symbols);
  state.counters["derived"] = static_cast<double>(totals.derived);
  state.counters["exact"] = static_cast<double>(totals.exact);
  state.counters["changed"] = static_cast<double>(totals.changed);
  state.counters["refused"] = static_cast<double>(totals.refused);
  state.counters["entries"] = static_cast<double>(parts);
  std::fprintf(stderr, "refusals by reason:");
  for (const auto& [reason, count] : totals.reasons) std::fprintf(stderr, " %s %zu;", reason.c_str(), count);
  std::fprintf(stderr, " unreadable files %zu\n", totals.unreadableFiles);
}
BENCHMARK(BM_ImportCorpus)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

const std::string& ExportedBenchLibrary() {
  static const std::string text = [] {
    Library library;
    bench::BuildBenchLibrary(library);
    return KicadSymbolWriter::Write(KicadExporter::Export(library).library);
  }();
  return text;
}

void BM_ExportBenchLibrary(benchmark::State& state) {
  Library library;
  bench::BuildBenchLibrary(library);
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = KicadSymbolWriter::Write(KicadExporter::Export(library).library);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_ExportBenchLibrary)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

void BM_ReimportBenchLibrary(benchmark::State& state) {
  const std::string& text = ExportedBenchLibrary();
  size_t exact = 0, symbols = 0, entries = 0;
  for (auto _ : state) {
    KicadSymbolReader::Status status;
    const KicadImport import = KicadImporter::ImportText(text, KicadImporter::Options(), status);
    if (!status.Ok()) state.SkipWithError("the export did not read back");
    exact = import.Count(KicadOutcome::Exact);
    symbols = import.symbols.size();
    entries = import.library->entries.size();
  }
  state.counters["symbols"] = static_cast<double>(symbols);
  state.counters["exact"] = static_cast<double>(exact);
  state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_ReimportBenchLibrary)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace
}  // namespace zanli

BENCHMARK_MAIN();
