// Replays the KiCad fuzzer's seeds, and any input that once broke it, through
// the fuzzer's own entry point: a broken round trip aborts, a crash crashes.
#define LLVMFuzzerTestOneInput KicadFuzzerTestOneInput
#include "../../fuzz/kicad_symbol_fuzzer.cpp"
#undef LLVMFuzzerTestOneInput

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace zanli {
namespace {

namespace fs = std::filesystem;

TEST(KicadFuzzReplay, SeedsAndCrashInputsPassTheRoundTrips) {
  const fs::path root(ZANLI_SOURCE_DIR);
  int seeds = 0;
  for (const char* dir : {"fuzz/corpus/kicad_symbol_fuzzer", "fuzz/regressions/kicad_symbol_fuzzer"}) {
    if (!fs::is_directory(root / dir)) continue;
    for (const auto& item : fs::directory_iterator(root / dir)) {
      if (!item.is_regular_file()) continue;
      std::ifstream in(item.path(), std::ios::binary);
      std::stringstream bytes;
      bytes << in.rdbuf();
      const std::string data = bytes.str();
      EXPECT_EQ(KicadFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(data.data()), data.size()), 0)
          << item.path();
      seeds += std::string(dir).find("corpus") != std::string::npos;
    }
  }
  EXPECT_GE(seeds, 1);
}

}  // namespace
}  // namespace zanli
