#pragma once

// Runs the built zanli-cli as a user's shell would, and measures it: exit
// code, what it printed, and its peak resident memory.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace zanli::testing {

struct CliRun {
  int exitCode = -1;  // -1: killed by a signal
  std::string out;    // empty when standard output went to a file given
  std::string err;
  long peakKilobytes = 0;
};

// `args` after the program name; standard output goes to `stdoutPath` when
// given (a file, /dev/full, /dev/null), else it is captured; a nonzero
// `addressSpace` limits the process's memory (RLIMIT_AS) in bytes.
inline CliRun RunCli(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                     const std::string& stdoutPath = {}, long addressSpace = 0) {
  const std::filesystem::path outFile =
      stdoutPath.empty() ? scratch / "cli-out" : std::filesystem::path(stdoutPath);
  const std::filesystem::path errFile = scratch / "cli-err";
  std::vector<char*> argv;
  std::string program = ZANLI_CLI;
  argv.push_back(program.data());
  std::vector<std::string> copies = args;
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(127);
    if (addressSpace > 0) {
      const rlimit limit{static_cast<rlim_t>(addressSpace), static_cast<rlim_t>(addressSpace)};
      ::setrlimit(RLIMIT_AS, &limit);
    }
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  CliRun run;
  int status = 0;
  rusage usage{};
  if (child < 0 || ::wait4(child, &status, 0, &usage) != child) return run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.peakKilobytes = usage.ru_maxrss;
  const auto slurp = [](const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  };
  if (stdoutPath.empty()) run.out = slurp(outFile);
  run.err = slurp(errFile);
  return run;
}

}  // namespace zanli::testing
