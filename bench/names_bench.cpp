// The unique part name on a 100,000-entry part list: the generator asks the
// list's name set, so the cost is a thousand hash lookups at most.
#include <benchmark/benchmark.h>

#include "model/name_set.h"
#include "model/names.h"

namespace {

zanli::NameSet MakeList(int defaultNamesTaken) {
  zanli::NameSet names;
  for (int i = 0; i < 100000 - defaultNamesTaken; ++i) names.Add("PART" + std::to_string(i));
  for (int i = 0; i < defaultNamesTaken; ++i) names.Add("NEWNAME" + std::to_string(i));
  return names;
}

void BM_UniquePartName(benchmark::State& state) {
  const zanli::NameSet names = MakeList(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::string name = zanli::UniquePartName(names);
    benchmark::DoNotOptimize(name);
  }
}
// 0: the first candidate is free; 999: only NEWNAME999 is; 1000: none is.
BENCHMARK(BM_UniquePartName)->Arg(0)->Arg(999)->Arg(1000);

void BM_NameListUpkeep(benchmark::State& state) {
  // Filling the set as the part list does after a file is read.
  for (auto _ : state) {
    zanli::NameSet names = MakeList(0);
    benchmark::DoNotOptimize(names);
  }
}
BENCHMARK(BM_NameListUpkeep)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
