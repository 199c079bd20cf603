// Replays the KiCad fuzzer's seeds, and any input that once broke it, through
// the fuzzer's own entry point: a broken round trip aborts, a crash crashes.
#define LLVMFuzzerTestOneInput KicadFuzzerTestOneInput
#include "../../fuzz/kicad_symbol_fuzzer.cpp"
#undef LLVMFuzzerTestOneInput

#include "../support/fuzz_inputs.h"

namespace zanli {
namespace {

TEST(KicadFuzzReplay, SeedsAndCrashInputsPassTheRoundTrips) {
  EXPECT_GE(testing::ReplayFuzzInputs("kicad_symbol_fuzzer", KicadFuzzerTestOneInput), 1u);
}

}  // namespace
}  // namespace zanli
