// Replays the text fuzzer's seeds, and any input that once broke it, through
// the fuzzer's own entry point: a broken round trip aborts, a crash crashes.
#define LLVMFuzzerTestOneInput TextLibraryFuzzerTestOneInput
#include "../../fuzz/text_library_fuzzer.cpp"
#undef LLVMFuzzerTestOneInput

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace zanli {
namespace {

namespace fs = std::filesystem;

TEST(TextLibraryFuzzReplay, SeedsAndCrashInputsPassTheRoundTrip) {
  const fs::path root(ZANLI_SOURCE_DIR);
  int seeds = 0;
  for (const char* dir : {"fuzz/corpus/text_library_fuzzer", "fuzz/regressions/text_library_fuzzer"}) {
    if (!fs::is_directory(root / dir)) continue;
    for (const auto& item : fs::directory_iterator(root / dir)) {
      if (!item.is_regular_file()) continue;
      std::ifstream in(item.path(), std::ios::binary);
      std::stringstream bytes;
      bytes << in.rdbuf();
      const std::string data = bytes.str();
      EXPECT_EQ(TextLibraryFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(data.data()), data.size()), 0)
          << item.path();
      seeds += std::string(dir).find("corpus") != std::string::npos;
    }
  }
  EXPECT_GE(seeds, 1);
}

}  // namespace
}  // namespace zanli
