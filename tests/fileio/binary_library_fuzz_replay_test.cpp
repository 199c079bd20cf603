// Replays the committed fuzz inputs through the fuzzer's own entry point,
// renamed so other fuzzers can be replayed in this executable too: an input
// that breaks the round trip aborts, a crash input crashes again.
#define LLVMFuzzerTestOneInput BinaryLibraryFuzzerTestOneInput
#include "../../fuzz/binary_library_fuzzer.cpp"
#undef LLVMFuzzerTestOneInput

#include "../support/fuzz_inputs.h"

namespace zanli {
namespace {

TEST(BinaryLibraryFuzzReplay, SeedsAndCrashInputsPassTheRoundTrip) {
  // Seeds the reader refused would leave the fuzzer starting from nothing.
  for (const testing::FuzzInput& seed : testing::FuzzInputs("corpus", "binary_library_fuzzer")) {
    Library library;
    EXPECT_TRUE(BinaryLibraryFormat::ReadBytes(seed.bytes, library)) << seed.path;
    EXPECT_FALSE(library.entries.empty()) << seed.path;
  }
  EXPECT_FALSE(testing::FuzzInputs("regressions", "binary_library_fuzzer").empty());
  EXPECT_GE(testing::ReplayFuzzInputs("binary_library_fuzzer", BinaryLibraryFuzzerTestOneInput), 1u);
}

}  // namespace
}  // namespace zanli
