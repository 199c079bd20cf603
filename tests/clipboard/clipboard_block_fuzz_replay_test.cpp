// Replays the committed fuzz inputs through the fuzzer's own entry point: an
// input that breaks the round trip aborts, a crash input crashes again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "../../fuzz/clipboard_block_fuzzer.cpp"

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

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int Replay(const std::string& bytes) {
  return LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

TEST(ClipboardBlockFuzzReplay, SeedsAndCrashInputsPassTheRoundTrip) {
  // The seeds must be blocks the reader accepts, or the fuzzer would start
  // from nothing but refusals.
  const fs::path root(ZANLI_SOURCE_DIR);
  const auto seeds = InputsIn(root / "fuzz/corpus/clipboard_block_fuzzer");
  ASSERT_FALSE(seeds.empty());
  for (const fs::path& file : seeds) {
    PartClipboardBlock::Part part;
    EXPECT_TRUE(PartClipboardBlock::Read(Slurp(file), part)) << file;
  }
  auto inputs = InputsIn(root / "fuzz/regressions/clipboard_block_fuzzer");
  inputs.insert(inputs.end(), seeds.begin(), seeds.end());
  for (const fs::path& file : inputs) EXPECT_EQ(Replay(Slurp(file)), 0) << file;
}

}  // namespace
}  // namespace zanli
