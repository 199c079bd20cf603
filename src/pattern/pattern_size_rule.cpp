#include "pattern/pattern_size_rule.h"

namespace zanli {

int32_t PatternSizeRule::ParseField(std::string_view text) {
  // Nine digits cannot overflow; no field of a size dialog needs more.
  if (text.empty() || text.size() > 9) return -1;
  int32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

PatternSizeRule::Result PatternSizeRule::Check(std::string_view xText, std::string_view yText, int32_t shownX,
                                               int32_t shownY) {
  const int32_t x = ParseField(xText);
  const int32_t y = ParseField(yText);
  Result result;
  if (x < 0 || y < 0) return result;  // Verdict::Zero
  if (x != shownX || y != shownY) {
    if (x == 0 || y == 0) return result;
    if (x > kMaxSteps) {
      result.verdict = Verdict::TooWide;
      return result;
    }
    // Bytes of one row-packed (8-bit aligned) bitmap; y is at most nine digits.
    if (int64_t{(10 * x + 8) / 8} * (10 * int64_t{y} + 1) >= kMaxBitmapBytes) {
      result.verdict = Verdict::TooLarge;
      return result;
    }
  }
  result.verdict = Verdict::Accepted;
  result.width = 10 * x + 1;
  result.height = 10 * y + 1;
  return result;
}

}  // namespace zanli
