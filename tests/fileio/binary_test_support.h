#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "fileio/safe_file_writer.h"
#include "model/library.h"
#include "support/library_builder.h"

namespace zanli::testing {

// One 9 × 2 pattern, a two-block body with a part and an alias, and a second
// body that shares the first one's prefix and a pin name.
inline void BuildSample(Library& library) {
  Pattern* pattern = library.AddPattern(std::make_unique<Pattern>("P1", 9, 2));
  pattern->bits = {0xFF, 0xFF, 0x01, 0x00};  // row 0 with padding set
  PartBody* first = AddBody(library, 3, 4, 2, "IC");
  first->pattern = pattern;
  AddPin(*first, "\\R\\S", PinEdge::Right, 1, {"D600", "Ha7"}, PinFlag::Clock | PinFlag::NegativeLogic);
  AddPin(*first, "CLK", PinEdge::Top, 2, {"", "H"}, PinFlag::NumberNearBody);
  PartBody* second = AddBody(library, 1, 1, 1, "IC");
  AddPin(*second, "CLK", PinEdge::Left, 0, {"D1"}, 0);
  AddEntry(library, "PART", first);
  AddEntry(library, "ALIAS", first);
  AddEntry(library, "CLK", second);
}

inline std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

inline std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void Spit(const std::filesystem::path& path, const std::string& bytes) {
  SafeFileWriter writer(path.string());
  if (!writer.Open() || !writer.Write(bytes) || !writer.Commit()) throw std::runtime_error("cannot write");
}

// Runs `body` in a child process and returns its exit code: -1 when it died
// of a signal, -2 when it was still running after `seconds` (it would have
// hung the suite) and was killed.
inline int RunInChild(const std::function<int()>& body, int seconds = 20) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) ::_exit(body());
  for (int tick = 0; tick < seconds * 100; ++tick) {
    int status = 0;
    if (::waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ::usleep(10000);
  }
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  return -2;
}

// A fresh directory per test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("zanli-binary-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace zanli::testing
