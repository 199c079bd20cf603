// Replays the checker fuzzer's seeds, and the inputs that once cost
// gigabytes, through the fuzzer's own entry point: a broken bound aborts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../../fuzz/library_check_fuzzer.cpp"

namespace zanli {
namespace {

namespace fs = std::filesystem;

TEST(LibraryCheckFuzzReplay, SeedsAndRegressionsKeepTheirBounds) {
  const fs::path root(ZANLI_SOURCE_DIR);
  int inputs = 0;
  for (const char* dir : {"fuzz/corpus/library_check_fuzzer", "fuzz/regressions/library_check_fuzzer"}) {
    for (const auto& item : fs::directory_iterator(root / dir)) {
      std::ifstream in(item.path(), std::ios::binary);
      std::stringstream bytes;
      bytes << in.rdbuf();
      const std::string data = bytes.str();
      EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(data.data()), data.size()), 0)
          << item.path();
      ++inputs;
    }
  }
  EXPECT_GE(inputs, 6);
}

}  // namespace
}  // namespace zanli
