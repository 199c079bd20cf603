// Replays the checker fuzzer's seeds, and the inputs that once cost
// gigabytes, through the fuzzer's own entry point: a broken bound aborts.
#include "../../fuzz/library_check_fuzzer.cpp"
#include "../support/fuzz_inputs.h"

namespace zanli {
namespace {

TEST(LibraryCheckFuzzReplay, SeedsAndRegressionsKeepTheirBounds) {
  const size_t seeds = testing::ReplayFuzzInputs("library_check_fuzzer", LLVMFuzzerTestOneInput);
  EXPECT_GE(seeds + testing::FuzzInputs("regressions", "library_check_fuzzer").size(), 6u);
}

}  // namespace
}  // namespace zanli
