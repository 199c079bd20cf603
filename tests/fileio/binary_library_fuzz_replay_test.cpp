// Replays the committed fuzz inputs through the fuzzer's own entry point,
// renamed so other fuzzers can be replayed in this executable too: an input
// that breaks the round trip aborts, a crash input crashes again.
#define LLVMFuzzerTestOneInput BinaryLibraryFuzzerTestOneInput
#include "../../fuzz/binary_library_fuzzer.cpp"
#undef LLVMFuzzerTestOneInput

#include <gtest/gtest.h>

#include <filesystem>

#include "binary_test_support.h"

namespace zanli {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsIn(const fs::path& dir) {
  std::vector<fs::path> files;
  if (fs::is_directory(dir))
    for (const auto& item : fs::directory_iterator(dir))
      if (item.is_regular_file()) files.push_back(item.path());
  return files;
}

TEST(BinaryLibraryFuzzReplay, SeedsAndCrashInputsPassTheRoundTrip) {
  // Seeds the reader refused would leave the fuzzer starting from nothing.
  const fs::path root(ZANLI_SOURCE_DIR);
  const auto seeds = InputsIn(root / "fuzz/corpus/binary_library_fuzzer");
  ASSERT_FALSE(seeds.empty());
  for (const fs::path& file : seeds) {
    Library library;
    EXPECT_TRUE(BinaryLibraryFormat::ReadBytes(testing::Slurp(file), library)) << file;
    EXPECT_FALSE(library.entries.empty()) << file;
  }
  auto inputs = InputsIn(root / "fuzz/regressions/binary_library_fuzzer");
  EXPECT_FALSE(inputs.empty());
  inputs.insert(inputs.end(), seeds.begin(), seeds.end());
  for (const fs::path& file : inputs) {
    const std::string bytes = testing::Slurp(file);
    EXPECT_EQ(BinaryLibraryFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
              0)
        << file;
  }
}

}  // namespace
}  // namespace zanli
