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

namespace zanli::testing_support {

inline PinInfo* AddPin(PartBody& body, std::string name, int32_t flags, PinEdge edge, int32_t position,
                       std::vector<std::string> numbers) {
  auto pin = std::make_unique<PinInfo>(body.blockCount);
  pin->name = std::move(name);
  pin->flags = flags;
  pin->edge = edge;
  pin->position = position;
  pin->numbers = std::move(numbers);
  return body.AddPin(std::move(pin));
}

inline PartBody* AddBody(Library& library, std::string prefix, int32_t x, int32_t y, int32_t blocks) {
  auto body = std::make_unique<PartBody>();
  body->numberPrefix = std::move(prefix);
  body->xSize = x;
  body->ySize = y;
  body->blockCount = blocks;
  return library.AddBody(std::move(body));
}

inline void AddEntry(Library& library, std::string name, PartBody* body) {
  library.AddEntry(std::make_unique<PartEntry>(std::move(name), body));
}

// One 9 × 2 pattern, a two-block body with a part and an alias, and a second
// body that shares the first one's prefix and a pin name.
inline void BuildSample(Library& library) {
  Pattern* pattern = library.AddPattern(std::make_unique<Pattern>("P1", 9, 2));
  pattern->bits = {0xFF, 0xFF, 0x01, 0x00};  // row 0 with padding set
  PartBody* first = AddBody(library, "IC", 3, 4, 2);
  first->pattern = pattern;
  AddPin(*first, "\\R\\S", PinFlag::Clock | PinFlag::NegativeLogic, PinEdge::Right, 1, {"D600", "Ha7"});
  AddPin(*first, "CLK", PinFlag::NumberNearBody, PinEdge::Top, 2, {"", "H"});
  PartBody* second = AddBody(library, "IC", 1, 1, 1);
  AddPin(*second, "CLK", 0, PinEdge::Left, 0, {"D1"});
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

}  // namespace zanli::testing_support
