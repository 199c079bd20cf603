// Replays the text fuzzer's seeds, and any input that once broke it, through
// the fuzzer's own entry point: a broken round trip aborts, a crash crashes.
#define LLVMFuzzerTestOneInput TextLibraryFuzzerTestOneInput
#include "../../fuzz/text_library_fuzzer.cpp"
#undef LLVMFuzzerTestOneInput

#include "../support/fuzz_inputs.h"

namespace zanli {
namespace {

TEST(TextLibraryFuzzReplay, SeedsAndCrashInputsPassTheRoundTrip) {
  EXPECT_GE(testing::ReplayFuzzInputs("text_library_fuzzer", TextLibraryFuzzerTestOneInput), 1u);
}

}  // namespace
}  // namespace zanli
