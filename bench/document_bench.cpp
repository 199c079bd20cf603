// The library document on the 100,000-part library: the cost of a pin edit
// as an undoable step (time to apply and to undo, memory the history keeps),
// a group of 1,000 pin edits as one step, and opening a library through the document against reading it
// alone.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "bench_library.h"
#include "document/library_document.h"
#include "fileio/text_library_format.h"

namespace zanli {
namespace {

constexpr int kEdits = 10000;

struct BenchFile {
  BenchFile() {
    Library library;
    bench::BuildBenchLibrary(library);
    path = (std::filesystem::temp_directory_path() /
            (std::string("zanli-doc-bench-").append(std::to_string(::getpid())) + ".LB3"))
               .string();
    const std::string bytes = TextLibraryFormat::WriteBytes(library);
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  ~BenchFile() { std::filesystem::remove(path); }
  std::string path;
};

const BenchFile& File() {
  static const BenchFile file;
  return file;
}

// 10,000 edits spread over the library, each renaming and renumbering the
// first pin of a part, as the pin panel's Enter does.
void BM_PinEditStepsApplyAndUndo(benchmark::State& state) {
  LibraryDocument document;
  auto library = std::make_unique<Library>();
  bench::BuildBenchLibrary(*library);
  document.ReplaceLibrary(std::move(library));
  const int rows = document.EntryCount();
  double applySeconds = 0;
  double undoSeconds = 0;
  size_t historyBytes = 0;
  int64_t steps = 0;
  for (auto _ : state) {
    std::vector<std::unique_ptr<DocumentChange>> history;
    history.reserve(kEdits);
    const size_t heapBefore = ::mallinfo2().uordblks;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kEdits; ++i) {
      const int row = static_cast<int>((static_cast<int64_t>(i) * 7919) % rows);
      const PartBody* body = document.BodyOf(row);
      const PinInfo& pin = *body->pins[0];
      PinData data{pin.name + "X", pin.flags, pin.numbers};
      data.numbers.Set(0, std::string("D").append(std::to_string(i)));
      EditResult result = document.EditPin(row, pin.edge, pin.position, data);
      if (result.status != EditStatus::Done) return state.SkipWithError("an edit was not done");
      history.push_back(std::move(result.change));
    }
    const auto applied = std::chrono::steady_clock::now();
    historyBytes = ::mallinfo2().uordblks - heapBefore;
    for (auto it = history.rbegin(); it != history.rend(); ++it) (*it)->Undo(document);
    const auto undone = std::chrono::steady_clock::now();
    applySeconds += std::chrono::duration<double>(applied - start).count();
    undoSeconds += std::chrono::duration<double>(undone - applied).count();
    steps += kEdits;
  }
  state.counters["apply_us_per_step"] = applySeconds / static_cast<double>(steps) * 1e6;
  state.counters["undo_us_per_step"] = undoSeconds / static_cast<double>(steps) * 1e6;
  // The history vector itself included.
  state.counters["history_bytes_per_edit"] = static_cast<double>(historyBytes) / kEdits;
}
BENCHMARK(BM_PinEditStepsApplyAndUndo)->Unit(benchmark::kMillisecond);

// One composite step of 1,000 pin edits spread over the library, as a pasted
// pin list or an import makes: the time to apply the group, to undo it and
// to redo it, each per group.
void BM_PinEditGroupApplyUndoRedo(benchmark::State& state) {
  constexpr int kGroupEdits = 1000;
  LibraryDocument document;
  auto library = std::make_unique<Library>();
  bench::BuildBenchLibrary(*library);
  document.ReplaceLibrary(std::move(library));
  const int rows = document.EntryCount();
  double applySeconds = 0, undoSeconds = 0, redoSeconds = 0;
  int64_t groups = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    document.BeginGroup(StepKind::EditPin);
    for (int i = 0; i < kGroupEdits; ++i) {
      const int row = static_cast<int>((static_cast<int64_t>(i + groups) * 7919) % rows);
      const PinInfo& pin = *document.BodyOf(row)->pins[0];
      PinData data{pin.name + "X", pin.flags, pin.numbers};
      data.numbers.Set(0, std::string("D").append(std::to_string(i)));
      if (document.EditPin(row, pin.edge, pin.position, data).status != EditStatus::Done)
        return state.SkipWithError("an edit was not done");
    }
    EditResult result = document.CommitGroup();
    const auto applied = std::chrono::steady_clock::now();
    if (result.status != EditStatus::Done) return state.SkipWithError("the group was not done");
    result.change->Undo(document);
    const auto undone = std::chrono::steady_clock::now();
    result.change->Redo(document);
    const auto redone = std::chrono::steady_clock::now();
    applySeconds += std::chrono::duration<double>(applied - start).count();
    undoSeconds += std::chrono::duration<double>(undone - applied).count();
    redoSeconds += std::chrono::duration<double>(redone - undone).count();
    ++groups;
    state.PauseTiming();
    result.change->Undo(document);  // the next group starts from the same library
    state.ResumeTiming();
  }
  const double perGroup = 1e3 / static_cast<double>(groups);
  state.counters["apply_ms_per_group"] = applySeconds * perGroup;
  state.counters["undo_ms_per_group"] = undoSeconds * perGroup;
  state.counters["redo_ms_per_group"] = redoSeconds * perGroup;
}
BENCHMARK(BM_PinEditGroupApplyUndoRedo)->Unit(benchmark::kMillisecond);

void BM_ReadAlone(benchmark::State& state) {
  for (auto _ : state) {
    Library library;
    if (!TextLibraryFormat::Read(File().path, library)) state.SkipWithError("read failed");
    state.PauseTiming();
    library.Clear();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ReadAlone)->Unit(benchmark::kMillisecond);

// What Open does: read into a fresh library, then hand it to the document,
// which builds its name index.
void BM_OpenThroughDocument(benchmark::State& state) {
  LibraryDocument document;
  for (auto _ : state) {
    auto library = std::make_unique<Library>();
    if (!TextLibraryFormat::Read(File().path, *library)) state.SkipWithError("read failed");
    document.ReplaceLibrary(std::move(library));
    state.PauseTiming();
    document.ReplaceLibrary(std::make_unique<Library>());
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenThroughDocument)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zanli

BENCHMARK_MAIN();
