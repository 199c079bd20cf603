// Replays the committed fuzz inputs through the fuzzer's own entry point: an
// input that breaks the round trip aborts, a crash input crashes again.
#include "../../fuzz/clipboard_block_fuzzer.cpp"
#include "../support/fuzz_inputs.h"

namespace zanli {
namespace {

TEST(ClipboardBlockFuzzReplay, SeedsAndCrashInputsPassTheRoundTrip) {
  // The seeds must be blocks the reader accepts, or the fuzzer would start
  // from nothing but refusals.
  for (const testing::FuzzInput& seed : testing::FuzzInputs("corpus", "clipboard_block_fuzzer")) {
    PartClipboardBlock::Part part;
    EXPECT_TRUE(PartClipboardBlock::Read(seed.bytes, part)) << seed.path;
  }
  EXPECT_GE(testing::ReplayFuzzInputs("clipboard_block_fuzzer", LLVMFuzzerTestOneInput), 1u);
}

}  // namespace
}  // namespace zanli
