#pragma once

#include <cstdint>
#include <string_view>

namespace zanli {

// The arithmetic of the pattern size dialog, which edits sizes in grid steps
// of 10 pixels. A pattern made or resized through it is 10X + 1 by 10Y + 1
// pixels, so its outline falls on the grid, and one row-packed bitmap of it
// stays below kMaxBitmapBytes.
class PatternSizeRule {
 public:
  static constexpr int32_t kMaxSteps = 20;  // X only: the width in grid steps
  static constexpr int32_t kMaxBitmapBytes = 4000;

  enum class Verdict {
    Accepted,
    Zero,      // string 116: 0 (or a negative or non-numeric entry) is no size
    TooWide,   // string 117: the X size must be 20 or less
    TooLarge,  // string 118: the pattern is too large
  };

  struct Result {
    Verdict verdict = Verdict::Zero;
    // The new size in pixels when accepted.
    int32_t width = 0;
    int32_t height = 0;
  };

  // What the fields show for a pattern of that many pixels.
  static int32_t StepsFor(int32_t pixels) { return pixels / 10; }

  // Judges the two fields' texts against the values shown at opening
  // (StepsFor of the old size). Values left as shown are accepted without the
  // bounds, which brings an old size of another form to 10k + 1. A field that
  // is not a plain decimal number (empty, a sign, letters) counts as a changed
  // 0 whatever was shown: sizes never drop below 1 × 1.
  static Result Check(std::string_view xText, std::string_view yText, int32_t shownX, int32_t shownY);

  // The value of a field: its decimal digits, or -1 when it is not made of
  // digits only (or is too long to be a size).
  static int32_t ParseField(std::string_view text);
};

}  // namespace zanli
