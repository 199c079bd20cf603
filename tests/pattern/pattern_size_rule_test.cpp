#include "pattern/pattern_size_rule.h"

#include <gtest/gtest.h>

namespace zanli {
namespace {

using Verdict = PatternSizeRule::Verdict;

TEST(PatternSizeRuleTest, FieldsAreJudgedAgainstWhatWasShown) {
  const struct {
    const char* x;
    const char* y;
    int32_t oldW, oldH;
    Verdict verdict;
    int32_t width, height;
  } cases[] = {
      {"2", "2", 21, 21, Verdict::Accepted, 21, 21},
      {"2", "2", 25, 25, Verdict::Accepted, 21, 21},  // unchanged still goes to 10k + 1
      {"3", "2", 35, 21, Verdict::Accepted, 31, 21},
      {"1", "1", 21, 21, Verdict::Accepted, 11, 11},
      {"20", "15", 21, 21, Verdict::Accepted, 201, 151},  // 26 × 151 = 3926 bytes
      {"20", "16", 21, 21, Verdict::TooLarge, 0, 0},      // 26 × 161 = 4186 bytes
      {"15", "20", 21, 21, Verdict::Accepted, 151, 201},  // 19 × 201 = 3819 bytes
      {"10", "99", 21, 21, Verdict::TooLarge, 0, 0},
      {"21", "1", 21, 21, Verdict::TooWide, 0, 0},
      {"25", "2", 251, 21, Verdict::Accepted, 251, 21},  // shown as it was: no bound
      {"0", "3", 21, 21, Verdict::Zero, 0, 0},
      {"3", "0", 21, 21, Verdict::Zero, 0, 0},
      {"0", "0", 5, 5, Verdict::Accepted, 1, 1},  // 0 shown and kept: still 1 × 1
      {"-1", "2", 21, 21, Verdict::Zero, 0, 0},
      {"-0", "2", 5, 21, Verdict::Zero, 0, 0},  // not a number, even with 0 shown
      {"", "2", 21, 21, Verdict::Zero, 0, 0},
      {"2", "a", 21, 21, Verdict::Zero, 0, 0},
      {" 2", "2", 21, 21, Verdict::Zero, 0, 0},
      {"+2", "2", 21, 21, Verdict::Zero, 0, 0},
  };
  for (const auto& c : cases) {
    const auto result = PatternSizeRule::Check(c.x, c.y, PatternSizeRule::StepsFor(c.oldW),
                                               PatternSizeRule::StepsFor(c.oldH));
    EXPECT_EQ(result.verdict, c.verdict) << c.x << " x " << c.y;
    if (c.verdict == Verdict::Accepted) {
      EXPECT_EQ(result.width, c.width) << c.x << " x " << c.y;
      EXPECT_EQ(result.height, c.height) << c.x << " x " << c.y;
    }
  }
}

}  // namespace
}  // namespace zanli
