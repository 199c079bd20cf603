// Reading and writing a 100,000-part text library, measured against one plain
// pass over the same bytes, plus the memory the read library holds.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_library.h"
#include "check/checked_save.h"
#include "check/library_check.h"
#include "check/save_losses.h"
#include "fileio/text_library_format.h"
#include "fileio/text_line_reader.h"

namespace zanli {
namespace {

using bench::BuildBenchLibrary;

// The file and its bytes, made once per process.
struct TestFile {
  TestFile() {
    Library library;
    BuildBenchLibrary(library);
    bytes = TextLibraryFormat::WriteBytes(library);
    path =
        (std::filesystem::temp_directory_path() / ("zanli-text-bench-" + std::to_string(::getpid()) + ".LB3"))
            .string();
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  ~TestFile() { std::filesystem::remove(path); }
  std::string path;
  std::string bytes;
};

const TestFile& File() {
  static const TestFile file;
  return file;
}

size_t CountSeparators(std::string_view bytes) {
  size_t count = 0;
  for (char c : bytes) count += (c == ',') | (c == '\r') | (c == '\n');
  return count;
}

// Thread CPU time: the ratio to the raw pass should not depend on what else
// the machine is doing.
double CpuSeconds() {
  timespec now;
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The fastest of several plain passes, the yardstick for the reader.
double RawPassSeconds(std::string_view bytes) {
  double best = 1e9;
  for (int i = 0; i < 20; ++i) {
    const double start = CpuSeconds();
    size_t count = CountSeparators(bytes);
    benchmark::DoNotOptimize(count);
    best = std::min(best, CpuSeconds() - start);
  }
  return best;
}

void BM_RawSeparatorPass(benchmark::State& state) {
  const std::string& bytes = File().bytes;
  for (auto _ : state) {
    size_t count = CountSeparators(bytes);
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_RawSeparatorPass)->Unit(benchmark::kMillisecond);

// The reader's field splitting alone, escapes decoded, nothing built.
void BM_TextFieldPass(benchmark::State& state) {
  const std::string& bytes = File().bytes;
  for (auto _ : state) {
    TextLineReader reader(bytes);
    std::string_view field;
    size_t fields = 0;
    while (reader.ReadField(field)) ++fields;
    benchmark::DoNotOptimize(fields);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_TextFieldPass)->Unit(benchmark::kMillisecond);

void BM_TextReadBytes(benchmark::State& state) {
  const std::string& bytes = File().bytes;
  double best = 1e9;
  for (auto _ : state) {
    Library library;
    const double start = CpuSeconds();
    if (!TextLibraryFormat::ReadBytes(bytes, library)) state.SkipWithError("read failed");
    best = std::min(best, CpuSeconds() - start);
    state.PauseTiming();
    library.Clear();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
  state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
  state.counters["x_raw_pass"] = best / RawPassSeconds(bytes);
}
BENCHMARK(BM_TextReadBytes)->Unit(benchmark::kMillisecond);

// Dropping what a read made: what closing or replacing the library costs.
void BM_TextLibraryClear(benchmark::State& state) {
  for (auto _ : state) {
    Library library;
    if (!TextLibraryFormat::ReadBytes(File().bytes, library)) state.SkipWithError("read failed");
    const double start = CpuSeconds();
    library.Clear();
    state.SetIterationTime(CpuSeconds() - start);
  }
}
BENCHMARK(BM_TextLibraryClear)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_TextReadFile(benchmark::State& state) {
  for (auto _ : state) {
    Library library;
    if (!TextLibraryFormat::Read(File().path, library)) state.SkipWithError("read failed");
    state.PauseTiming();
    library.Clear();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * File().bytes.size()));
}
BENCHMARK(BM_TextReadFile)->Unit(benchmark::kMillisecond);

void BM_TextWriteBytes(benchmark::State& state) {
  Library library;
  TextLibraryFormat::ReadBytes(File().bytes, library);
  for (auto _ : state) {
    std::string out = TextLibraryFormat::WriteBytes(library);
    benchmark::DoNotOptimize(out.data());
    if (out.size() != File().bytes.size()) state.SkipWithError("written bytes differ");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * File().bytes.size()));
}
BENCHMARK(BM_TextWriteBytes)->Unit(benchmark::kMillisecond);

void BM_TextWriteFile(benchmark::State& state) {
  Library library;
  TextLibraryFormat::ReadBytes(File().bytes, library);
  const std::string path = File().path + ".out.LB3";
  for (auto _ : state)
    if (!TextLibraryFormat::Write(path, library)) state.SkipWithError("write failed");
  std::filesystem::remove(path);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * File().bytes.size()));
}
BENCHMARK(BM_TextWriteFile)->Unit(benchmark::kMillisecond);

// What a save in the text format would change, found by writing into memory,
// reading back and comparing: the check alone, as zanli-cli check runs it.
void BM_TextSaveLosses(benchmark::State& state) {
  Library library;
  TextLibraryFormat::ReadBytes(File().bytes, library);
  for (auto _ : state) {
    const CheckReport losses = SaveLosses::Find(library, LibraryFormat::Text);
    if (!losses.Empty()) state.SkipWithError("the library should save as text unchanged");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * File().bytes.size()));
}
BENCHMARK(BM_TextSaveLosses)->Unit(benchmark::kMillisecond);

// What the editor's save costs now: the file written once while a second
// thread reads the same bytes back for the save check, then put in place.
// Wall time, since the work is spread over two threads (the CPU time is
// both threads'); it should cost at most 1.3 times BM_TextWriteFile.
void BM_TextSaveChecked(benchmark::State& state) {
  Library library;
  TextLibraryFormat::ReadBytes(File().bytes, library);
  const std::string path = File().path + ".checked.LB3";
  for (auto _ : state) {
    CheckedSave save(path, library, LibraryFormat::Text);
    if (!save.Losses().Empty()) state.SkipWithError("the library should save as text unchanged");
    if (!save.Written().Ok() || !save.Commit().Ok()) state.SkipWithError("write failed");
  }
  std::filesystem::remove(path);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * File().bytes.size()));
}
BENCHMARK(BM_TextSaveChecked)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// The checker's own design checks, without the save losses.
void BM_LibraryCheckDesign(benchmark::State& state) {
  Library library;
  TextLibraryFormat::ReadBytes(File().bytes, library);
  size_t problems = 0;
  for (auto _ : state) problems = LibraryCheck::DesignProblems(library).Count();
  state.counters["problems"] = static_cast<double>(problems);
}
BENCHMARK(BM_LibraryCheckDesign)->Unit(benchmark::kMillisecond);

// Memory of a fresh process that reads the file and holds the library, so
// nothing this benchmark allocated before skews it. It prints, in bytes above
// its own start: resident now (the library held, the file's bytes freed),
// the resident peak during the read (file bytes and library together), and
// what the heap has handed out (the pools of pins, bodies and entries map
// their own memory, outside it); then the wall time of that first read of the
// process and its page faults, which a warm loop never sees.
long StatusKilobytes(const char* key) {
  std::ifstream in("/proc/self/status");
  const std::string wanted = std::string(key) + ":";
  for (std::string line; std::getline(in, line);)
    if (line.rfind(wanted, 0) == 0) return std::stol(line.substr(wanted.size()));
  return -1;
}

int MeasureReadMemory(const char* path) {
  const long rssBefore = StatusKilobytes("VmRSS");
  const size_t heapBefore = ::mallinfo2().uordblks + ::mallinfo2().hblkhd;
  rusage usage;
  ::getrusage(RUSAGE_SELF, &usage);
  const long faultsBefore = usage.ru_minflt + usage.ru_majflt;
  const auto start = std::chrono::steady_clock::now();
  Library library;
  if (!TextLibraryFormat::Read(path, library)) return 1;
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ::getrusage(RUSAGE_SELF, &usage);
  const long faults = usage.ru_minflt + usage.ru_majflt - faultsBefore;
  const long held = (StatusKilobytes("VmRSS") - rssBefore) * 1024;
  const long peak = (StatusKilobytes("VmHWM") - rssBefore) * 1024;
  const size_t heap = ::mallinfo2().uordblks + ::mallinfo2().hblkhd - heapBefore;
  std::printf("%ld %ld %zu %zu %f %ld\n", held, peak, heap, library.entries.size(), seconds, faults);
  return 0;
}

void BM_TextReadMemory(benchmark::State& state) {
  char self[4096];
  const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return state.SkipWithError("no path to this program");
  self[length] = '\0';
  const std::string command = std::string("'").append(self) + "' --read-memory '" + File().path + "'";
  for (auto _ : state) {
    long held = 0;
    long peak = 0;
    size_t heap = 0;
    size_t entries = 0;
    double seconds = 0;
    long faults = 0;
    FILE* child = ::popen(command.c_str(), "r");
    const bool read = child != nullptr && std::fscanf(child, "%ld %ld %zu %zu %lf %ld", &held, &peak, &heap,
                                                      &entries, &seconds, &faults) == 6;
    if (child != nullptr && ::pclose(child) != 0) return state.SkipWithError("the reading process failed");
    if (!read) return state.SkipWithError("no figures from the reading process");
    const double file = static_cast<double>(File().bytes.size());
    state.counters["held_MB"] = static_cast<double>(held) / 1e6;
    state.counters["held_vs_file"] = static_cast<double>(held) / file;
    state.counters["peak_vs_file"] = static_cast<double>(peak) / file;
    state.counters["heap_vs_file"] = static_cast<double>(heap) / file;
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["fresh_read_ms"] = seconds * 1e3;
    state.counters["fresh_faults"] = static_cast<double>(faults);
  }
}
BENCHMARK(BM_TextReadMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zanli

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--read-memory") return zanli::MeasureReadMemory(argv[2]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
