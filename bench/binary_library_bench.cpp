// Reading and writing a binary library as large as the format allows.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "fileio/binary_library_format.h"
#include "fileio/safe_file_writer.h"

namespace zanli {
namespace {

void AddPart(Library& library, int index) {
  auto body = std::make_unique<PartBody>();
  body->xSize = 4;
  body->ySize = 6;
  body->blockCount = 2;
  body->pattern = library.patterns[static_cast<size_t>(index) % library.patterns.size()].get();
  for (int p = 0; p < 8; ++p) {
    auto pin = std::make_unique<PinInfo>(2);
    pin->name = std::string(p % 2 ? "\\CS" : "D").append(std::to_string(p % 2 ? index % 50 : p));
    pin->edge = static_cast<PinEdge>(p % 4);
    pin->position = p / 4 + 1;
    pin->flags = p == 3 ? PinFlag::Clock : 0;
    pin->numbers = {std::string("D").append(std::to_string(p + 1)),
                    std::string("H").append(std::to_string(p + 9))};
    body->AddPin(std::move(pin));
  }
  PartBody* added = library.AddBody(std::move(body));
  for (const char* suffix : {"", "A", "B"})
    library.AddEntry(
        std::make_unique<PartEntry>(std::string("PART").append(std::to_string(index)) + suffix, added));
}

// Three patterns, then parts with eight pins and two aliases each for as long
// as the file stays within its 65534 bytes.
const Library& LargestLibrary() {
  static Library* library = [] {
    auto* l = new Library;
    for (int i = 0; i < 3; ++i) {
      Pattern* pattern = l->AddPattern(std::make_unique<Pattern>("PAT" + std::to_string(i), 41 + 10 * i, 61));
      for (int y = 0; y < pattern->height; ++y) pattern->SetPixel((y * 7 + i) % pattern->width, y, true);
    }
    std::string bytes;
    for (int index = 0;; ++index) {
      AddPart(*l, index);
      if (BinaryLibraryFormat::Encode(*l, bytes) == BinaryWriteResult::Ok) continue;
      for (int e = 0; e < 3; ++e) l->entries.pop_back();
      l->bodies.pop_back();
      break;
    }
    return l;
  }();
  return *library;
}

std::string LargestBytes() {
  std::string bytes;
  BinaryLibraryFormat::Encode(LargestLibrary(), bytes);
  return bytes;
}

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / ("zanli-bench-" + std::to_string(::getpid()) + name))
      .string();
}

void ReportSize(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["file_bytes"] = static_cast<double>(bytes);
  state.counters["entries"] = static_cast<double>(LargestLibrary().entries.size());
}

void BM_ReadFromMemory(benchmark::State& state) {
  const std::string bytes = LargestBytes();
  Library library;
  for (auto _ : state) benchmark::DoNotOptimize(BinaryLibraryFormat::ReadBytes(bytes, library));
  ReportSize(state, bytes.size());
}
BENCHMARK(BM_ReadFromMemory);

void BM_ReadFromFile(benchmark::State& state) {
  const std::string bytes = LargestBytes();
  const std::string path = TempPath("-read.LIB");
  SafeFileWriter writer(path);
  if (!writer.Open() || !writer.Write(bytes) || !writer.Commit())
    state.SkipWithError("cannot write the file");
  Library library;
  for (auto _ : state) benchmark::DoNotOptimize(BinaryLibraryFormat::Read(path, library));
  std::filesystem::remove(path);
  ReportSize(state, bytes.size());
}
BENCHMARK(BM_ReadFromFile);

void BM_Encode(benchmark::State& state) {
  const Library& library = LargestLibrary();
  std::string bytes;
  for (auto _ : state) benchmark::DoNotOptimize(BinaryLibraryFormat::Encode(library, bytes));
  ReportSize(state, bytes.size());
}
BENCHMARK(BM_Encode);

// Includes the sync to disk and the backup link, as a save from the editor.
void BM_Write(benchmark::State& state) {
  const std::string path = TempPath("-write.LIB");
  for (auto _ : state) {
    if (BinaryLibraryFormat::Write(path, LargestLibrary()) != BinaryWriteResult::Ok)
      state.SkipWithError("write failed");
  }
  std::filesystem::remove(path);
  std::filesystem::remove(BinaryLibraryFormat::BackupPath(path));
  ReportSize(state, LargestBytes().size());
}
BENCHMARK(BM_Write)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zanli

BENCHMARK_MAIN();
