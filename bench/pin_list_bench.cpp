// Pin lists at the sizes the editor promises: a 1,000-row paste (parse,
// detect the columns, arrange, apply as one step) and its undo, and the
// table's rows of a 4,095-pin part.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "document/library_document.h"
#include "pinlist/pin_column_roles.h"
#include "pinlist/pin_list_cells.h"
#include "pinlist/pin_list_edits.h"
#include "pinlist/pin_list_plan.h"
#include "pinlist/pin_table_text.h"

namespace {

using namespace zanli;

// Number, name and side, as a spreadsheet copies them: 250 pins a side.
std::string SpreadsheetList(int rows) {
  std::string text = "Pin\tName\tSide\r\n";
  const char* sides[] = {"L", "R", "T", "B"};
  for (int i = 1; i <= rows; ++i)
    text += std::to_string(i) + "\tSIG" + std::to_string(i) + "\t" + sides[(i - 1) * 4 / rows] + "\r\n";
  return text;
}

std::unique_ptr<Library> OnePart() {
  auto library = std::make_unique<Library>();
  auto body = std::make_unique<PartBody>();
  library->entries.push_back(std::make_unique<PartEntry>("IC", body.get()));
  library->bodies.push_back(std::move(body));
  return library;
}

void BM_PasteThousandRows(benchmark::State& state) {
  const std::string text = SpreadsheetList(1000);
  for (auto _ : state) {
    state.PauseTiming();
    LibraryDocument document;
    document.ReplaceLibrary(OnePart());
    state.ResumeTiming();
    const PinListCells cells = PinListCells::Parse(text);
    const PinListPlan plan =
        PinListPlan::Make(cells, PinColumnRoles::Detect(cells), *document.BodyOf(0), PinListDestination{});
    EditResult result = PastePinList(document, 0, plan, PinListDestination{});
    if (result.status != EditStatus::Done || document.BodyOf(0)->pins.size() != 1000)
      state.SkipWithError("the paste failed");
    state.PauseTiming();
    result.change.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_PasteThousandRows)->Unit(benchmark::kMillisecond);

void BM_UndoThousandRowPaste(benchmark::State& state) {
  const std::string text = SpreadsheetList(1000);
  LibraryDocument document;
  document.ReplaceLibrary(OnePart());
  const PinListCells cells = PinListCells::Parse(text);
  const PinListPlan plan =
      PinListPlan::Make(cells, PinColumnRoles::Detect(cells), *document.BodyOf(0), PinListDestination{});
  EditResult result = PastePinList(document, 0, plan, PinListDestination{});
  if (result.status != EditStatus::Done) state.SkipWithError("the paste failed");
  for (auto _ : state) {
    result.change->Undo(document);
    state.PauseTiming();
    result.change->Redo(document);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoThousandRowPaste)->Unit(benchmark::kMillisecond);

// What the table reads when it shows a part: its rows in the cursor's order.
void BM_TableRowsOf4095Pins(benchmark::State& state) {
  PartBody body;
  body.xSize = body.ySize = 255;
  for (int i = 0; i < 4095; ++i) {
    auto pin = std::make_unique<PinInfo>(1);
    pin->edge = static_cast<PinEdge>(i % 4);
    pin->position = (i / 4) % 256;
    pin->name = "P" + std::to_string(i);
    body.AddPin(std::move(pin));
  }
  for (auto _ : state) benchmark::DoNotOptimize(PinsInCursorOrder(body));
}
BENCHMARK(BM_TableRowsOf4095Pins)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
