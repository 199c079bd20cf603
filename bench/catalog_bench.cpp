// The PDF catalogue of the benchmark library's first N parts, written to a
// file as zanli-cli catalog does: time, file size and the process's peak
// memory. Pages are streamed, so the peak must not grow with N.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "bench_library.h"
#include "catalog/catalog_writer.h"

namespace zanli {
namespace {

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

void BM_Catalog(benchmark::State& state) {
  Library library;
  bench::BuildBenchLibrary(library, static_cast<int>(state.range(0)));
  const std::string path = (std::filesystem::temp_directory_path() /
                            (std::string("zanli-catalog-bench-").append(std::to_string(::getpid())) + ".pdf"))
                               .string();
  CatalogResult result;
  for (auto _ : state) {
    result = CatalogWriter::WriteFile(path, library, {CatalogWriter::kDefaultPerPage, "bench.LB3"}, nullptr);
    if (result.status != CatalogStatus::Done) state.SkipWithError("the catalogue was not written");
  }
  state.counters["pages"] = static_cast<double>(result.pages);
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
  state.counters["peak_MB"] = PeakMegabytes();
  std::remove(path.c_str());
}
// 1,000 first: the process's peak so far is then the small catalogue's own.
BENCHMARK(BM_Catalog)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace zanli

BENCHMARK_MAIN();
