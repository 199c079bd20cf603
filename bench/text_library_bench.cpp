// Reading and writing a 100,000-part text library, measured against one plain
// pass over the same bytes, plus the memory the read library holds.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "fileio/text_library_format.h"

namespace zanli {
namespace {

constexpr int kParts = 100000;

// A fixed pseudo-random sequence, so every run measures the same library.
class Sequence {
 public:
  uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  uint32_t Below(uint32_t n) { return Next() % n; }

 private:
  uint32_t state_ = 12345;
};

const char* const kPrefixes[] = {"74HC", "74LS", "CD", "OPA", "REG", "MCU", "DRV", "ADC", "DAC", "IF"};
const char* const kPinNames[] = {
    "A",   "B",     "Y",      "\\C\\L\\R", "CLK",    "D0",    "D1",     "D2",   "D3",   "Q0",  "Q1",   "Q2",
    "Q3",  "\\Q",   "\\O\\E", "\\W\\R",    "\\R\\D", "EN",    "VCC",    "GND",  "IN+",  "IN-", "OUT",  "SDA",
    "SCL", "ADDR0", "ADDR1",  "TXD",       "RXD",    "RESET", "\\C\\S", "MOSI", "MISO", "SCK", "VREF", "NC"};

void BuildLibrary(Library& library) {
  Sequence random;
  std::vector<Pattern*> patterns;
  for (int i = 0; i < 40; ++i) {
    const int32_t x = 2 + static_cast<int32_t>(random.Below(5));
    const int32_t y = 2 + static_cast<int32_t>(random.Below(5));
    char name[16];
    std::snprintf(name, sizeof name, "PT%02d", i);
    auto pattern = std::make_unique<Pattern>(name, 10 * x + 1, 10 * y + 1);
    for (auto& byte : pattern->bits) byte = static_cast<uint8_t>(random.Next());
    patterns.push_back(library.AddPattern(std::move(pattern)));
  }
  for (int i = 0; i < kParts; ++i) {
    auto body = std::make_unique<PartBody>();
    body->xSize = 4 + static_cast<int32_t>(random.Below(4));
    body->ySize = 4 + static_cast<int32_t>(random.Below(8));
    body->blockCount = i % 5 == 0 ? 2 + static_cast<int32_t>(random.Below(3)) : 1;
    if (i % 7 == 0) body->pattern = patterns[random.Below(static_cast<uint32_t>(patterns.size()))];
    const int pins = 8 + static_cast<int>(random.Below(5));
    for (int p = 0; p < pins; ++p) {
      auto pin = std::make_unique<PinInfo>(body->blockCount);
      pin->name = kPinNames[random.Below(sizeof kPinNames / sizeof kPinNames[0])];
      pin->edge = static_cast<PinEdge>(p % 4);
      pin->position = 1 + p / 4;
      const uint32_t kind = random.Below(10);
      pin->flags = kind == 0   ? PinFlag::Clock
                   : kind == 1 ? PinFlag::NegativeLogic
                   : kind == 2 ? PinFlag::NumberNearBody
                               : 0;
      const bool power = pin->name == "VCC" || pin->name == "GND";
      for (int32_t b = 0; b < body->blockCount; ++b)
        pin->numbers[static_cast<size_t>(b)] =
            std::string(power ? "H" : "D").append(std::to_string(1 + p + b * pins));
      body->AddPin(std::move(pin));
    }
    PartBody* added = library.AddBody(std::move(body));
    const std::string name = kPrefixes[i % 10] + std::to_string(i);
    library.AddEntry(std::make_unique<PartEntry>(name, added));
    if (i % 10 == 0) library.AddEntry(std::make_unique<PartEntry>(name + "A", added));
  }
}

// The file and its bytes, made once per process.
struct TestFile {
  TestFile() {
    Library library;
    BuildLibrary(library);
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

// Memory of a fresh process that reads the file and holds the library, so
// nothing this benchmark allocated before skews it. It prints, in bytes above
// its own start: resident now (the library held, the file's bytes freed),
// the resident peak during the read (file bytes and library together), and
// what the heap has handed out.
long StatusKilobytes(const char* key) {
  std::ifstream in("/proc/self/status");
  const std::string wanted = std::string(key) + ":";
  for (std::string line; std::getline(in, line);)
    if (line.rfind(wanted, 0) == 0) return std::stol(line.substr(wanted.size()));
  return -1;
}

int MeasureReadMemory(const char* path) {
  const long rssBefore = StatusKilobytes("VmRSS");
  const size_t heapBefore = ::mallinfo2().uordblks;
  Library library;
  if (!TextLibraryFormat::Read(path, library)) return 1;
  const long held = (StatusKilobytes("VmRSS") - rssBefore) * 1024;
  const long peak = (StatusKilobytes("VmHWM") - rssBefore) * 1024;
  const size_t heap = ::mallinfo2().uordblks - heapBefore;
  std::printf("%ld %ld %zu %zu\n", held, peak, heap, library.entries.size());
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
    FILE* child = ::popen(command.c_str(), "r");
    const bool read =
        child != nullptr && std::fscanf(child, "%ld %ld %zu %zu", &held, &peak, &heap, &entries) == 4;
    if (child != nullptr && ::pclose(child) != 0) return state.SkipWithError("the reading process failed");
    if (!read) return state.SkipWithError("no figures from the reading process");
    const double file = static_cast<double>(File().bytes.size());
    state.counters["held_MB"] = static_cast<double>(held) / 1e6;
    state.counters["held_vs_file"] = static_cast<double>(held) / file;
    state.counters["peak_vs_file"] = static_cast<double>(peak) / file;
    state.counters["heap_vs_file"] = static_cast<double>(heap) / file;
    state.counters["entries"] = static_cast<double>(entries);
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
