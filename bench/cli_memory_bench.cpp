// Peak memory of the work zanli-cli does after reading, against the peak of
// dump on the same file (which holds the library and its whole JSON): check
// and check --json should stay within twice dump's peak, render within
// dump's plus the image it draws. Run on the hostile inputs of the tests and
// on the 100,000-part library, each command in a fresh process whose peak
// resident memory the kernel reports (wait4).
//
// `--save-check FILE text|binary` is a process of its own that reads FILE
// and runs the editor's save check on it, printing its peak after reading
// and after the check (kilobytes).
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_library.h"
#include "check/save_losses.h"
#include "cli/cli_runner.h"
#include "fileio/library_file.h"
#include "support/hostile_libraries.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;

struct Input {
  const char* name;
  std::string bytes;  // empty: the benchmark library, written by the text writer
};

const fs::path& Folder() {
  static const fs::path folder = [] {
    const fs::path path = fs::temp_directory_path() / ("zanli-cli-memory-" + std::to_string(::getpid()));
    fs::create_directories(path);
    const Input inputs[] = {
        {"pins72.LB3", testing::TextPartWithPinsAtOnePlace(32000, 4000)},
        {"pins432.LB3", testing::TextPartWithPinsAtOnePlace(32000, 36400)},
        {"name224.LIB", testing::BinaryPartWithPinsAtOnePlace(200000, 4095)},
        {"big.LB3", testing::TextPartOfSize(3264, 3264)},
        {"largest.LB3", testing::TextPartOfSize(255, 255)},
    };
    for (const Input& input : inputs) std::ofstream(path / input.name, std::ios::binary) << input.bytes;
    // Made in a process of its own: a process's peak includes what it held
    // when it was forked from this one, which must stay small.
    std::fflush(nullptr);
    const pid_t maker = ::fork();
    if (maker == 0) {
      Library library;
      bench::BuildBenchLibrary(library);
      ::_exit(LibraryFile::Write((path / "bench100k.LB3").string(), library).Ok() ? 0 : 1);
    }
    ::waitpid(maker, nullptr, 0);
    return path;
  }();
  return folder;
}

long PeakOf(const std::vector<std::string>& args, const char* stdoutPath = "/dev/null") {
  const testing::CliRun run = testing::RunCli(args, Folder(), stdoutPath);
  return run.exitCode < 0 || run.exitCode > 1 ? -1 : run.peakKilobytes;
}

const char* const kFiles[] = {"pins72.LB3", "pins432.LB3", "name224.LIB", "bench100k.LB3"};

// check --json (arg 1) or check (arg 0) against dump.
void BM_CheckPeakVersusDump(benchmark::State& state) {
  const std::string file = (Folder() / kFiles[state.range(0)]).string();
  const bool json = state.range(1) != 0;
  for (auto _ : state) {
    const long dump = PeakOf({"dump", file});
    const long check = json ? PeakOf({"check", "--json", file}) : PeakOf({"check", file});
    if (dump <= 0 || check <= 0) return state.SkipWithError("a command failed");
    state.counters["dump_MB"] = static_cast<double>(dump) / 1024;
    state.counters["check_MB"] = static_cast<double>(check) / 1024;
    state.counters["check_vs_dump"] = static_cast<double>(check) / static_cast<double>(dump);
  }
  state.SetLabel(std::string(kFiles[state.range(0)]) + (json ? " --json" : ""));
}
BENCHMARK(BM_CheckPeakVersusDump)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The save check alone, as the editor runs it before a save: its peak
// against the peak of reading the file in the same process, and against
// dump's peak (whose process also holds Qt).
void BM_SaveCheckPeak(benchmark::State& state) {
  const std::string file = (Folder() / kFiles[state.range(0)]).string();
  char self[4096];
  const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return state.SkipWithError("no path to this program");
  self[length] = '\0';
  const char* format = state.range(1) ? "binary" : "text";
  for (auto _ : state) {
    const long dump = PeakOf({"dump", file});
    const std::string command = std::string("'").append(self) + "' --save-check '" + file + "' " + format;
    long read = 0, checked = 0;
    FILE* child = ::popen(command.c_str(), "r");
    const bool got = child != nullptr && std::fscanf(child, "%ld %ld", &read, &checked) == 2;
    if (child != nullptr) ::pclose(child);
    if (!got || dump <= 0) return state.SkipWithError("no figures");
    state.counters["read_MB"] = static_cast<double>(read) / 1024;
    state.counters["save_check_MB"] = static_cast<double>(checked) / 1024;
    state.counters["vs_read"] = static_cast<double>(checked) / static_cast<double>(read);
    state.counters["vs_dump"] = static_cast<double>(checked) / static_cast<double>(dump);
  }
  state.SetLabel(std::string(kFiles[state.range(0)]) + " as " + format);
}
BENCHMARK(BM_SaveCheckPeak)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// A drawing refused for its size costs nothing; the largest the binary
// format holds costs its image: 2671 × 2671 pixels of 3 bytes.
void BM_RenderPeakVersusDump(benchmark::State& state) {
  const bool refused = state.range(0) == 0;
  const std::string file = (Folder() / (refused ? "big.LB3" : "largest.LB3")).string();
  const std::string png = (Folder() / "out.png").string();
  const double image = refused ? 0 : 3.0 * 2671 * 2671 / 1024;
  for (auto _ : state) {
    const long dump = PeakOf({"dump", file});
    const long render = PeakOf({"render", file, "BIG", png});
    if (dump <= 0 || render <= 0) return state.SkipWithError("a command failed");
    state.counters["dump_MB"] = static_cast<double>(dump) / 1024;
    state.counters["image_MB"] = image / 1024;
    state.counters["render_MB"] = static_cast<double>(render) / 1024;
    state.counters["render_vs_dump_plus_image"] =
        static_cast<double>(render) / (static_cast<double>(dump) + image);
  }
  state.SetLabel(refused ? "3264 x 3264 steps, refused" : "255 x 255 steps");
}
BENCHMARK(BM_RenderPeakVersusDump)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

long PeakKilobytes() {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

int MeasureSaveCheck(const char* path, const char* format) {
  const ReadResult read = LibraryFile::Read(path);
  if (!read.Ok()) return 1;
  const long afterRead = PeakKilobytes();
  const CheckReport report = SaveLosses::Find(
      *read.library, std::string(format) == "binary" ? LibraryFormat::Binary : LibraryFormat::Text);
  benchmark::DoNotOptimize(report.Count());
  std::printf("%ld %ld\n", afterRead, PeakKilobytes());
  return 0;
}

}  // namespace
}  // namespace zanli

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--save-check") return zanli::MeasureSaveCheck(argv[2], argv[3]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(zanli::Folder());
  return 0;
}
