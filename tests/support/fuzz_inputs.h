#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The inputs committed for one fuzz target, for the tests that replay them
// through the fuzzer's own entry point (renamed where one test executable
// replays several targets).
namespace zanli::testing {

struct FuzzInput {
  std::filesystem::path path;
  std::string bytes;
};

// The files of fuzz/<folder>/<target> ("corpus" holds the seeds,
// "regressions" the inputs that once broke it); none when it is missing.
inline std::vector<FuzzInput> FuzzInputs(const char* folder, const char* target) {
  const std::filesystem::path dir = std::filesystem::path(ZANLI_SOURCE_DIR) / "fuzz" / folder / target;
  std::vector<FuzzInput> inputs;
  if (!std::filesystem::is_directory(dir)) return inputs;
  for (const auto& item : std::filesystem::directory_iterator(dir)) {
    if (!item.is_regular_file()) continue;
    std::ifstream in(item.path(), std::ios::binary);
    inputs.push_back({item.path(), std::string(std::istreambuf_iterator<char>(in), {})});
  }
  return inputs;
}

using FuzzEntry = int (*)(const uint8_t*, size_t);

// Runs every input of both folders through `entry`, which aborts on a broken
// invariant; answers how many seeds there were.
inline size_t ReplayFuzzInputs(const char* target, FuzzEntry entry) {
  const std::vector<FuzzInput> seeds = FuzzInputs("corpus", target);
  for (const char* folder : {"corpus", "regressions"})
    for (const FuzzInput& input : FuzzInputs(folder, target))
      EXPECT_EQ(entry(reinterpret_cast<const uint8_t*>(input.bytes.data()), input.bytes.size()), 0)
          << input.path;
  return seeds.size();
}

}  // namespace zanli::testing
