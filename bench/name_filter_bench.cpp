// One keystroke in the part list's filter on the 100,000-part library: the
// matching and the rows the list would show.
#include <benchmark/benchmark.h>

#include "bench_library.h"
#include "model/name_filter.h"

namespace zanli {
namespace {

const Library& BenchLibrary() {
  static Library* library = [] {
    auto* built = new Library;
    bench::BuildBenchLibrary(*built);
    return built;
  }();
  return *library;
}

// The texts a user types on the way to "74*00", a rare and a missing name,
// and a one-letter text that matches most of the list.
const char* const kTexts[] = {"7", "74", "74*", "74*0", "74*00", "hc1234", "DAC9999?", "nothing", "c"};

void BM_FilterKeystroke(benchmark::State& state) {
  const Library& library = BenchLibrary();
  const char* text = kTexts[state.range(0)];
  size_t rows = 0;
  for (auto _ : state) {
    const std::vector<int> shown = NameFilter(text).Rows(library);
    rows = shown.size();
    benchmark::DoNotOptimize(shown.data());
  }
  state.SetLabel(std::string(text) + ": " + std::to_string(rows) + " rows of " +
                 std::to_string(library.entries.size()));
}
BENCHMARK(BM_FilterKeystroke)->DenseRange(0, 8)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zanli

BENCHMARK_MAIN();
