#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zanli {

enum class PinEdge : int32_t { Left = 0, Top = 1, Right = 2, Bottom = 3 };

// Bits of PinInfo::flags. NumberNearBody draws the number 2 units from the
// body instead of 8; the other two add the clock triangle and the bubble.
enum PinFlag : int32_t { NumberNearBody = 1, Clock = 4, NegativeLogic = 8 };

class PinInfo {
 public:
  // A blank pin for a body of `blockCount` blocks: every number is empty.
  explicit PinInfo(int32_t blockCount);
  virtual ~PinInfo();

  // A backslash marks the next character as barred.
  std::string name;
  int32_t flags = 0;
  PinEdge edge = PinEdge::Left;
  int32_t position = 0;
  // One per block, block 1 first: empty (no number) or the display letter
  // 'D' (shown) or 'H' (hidden) followed by the number text.
  std::vector<std::string> numbers;
};

}  // namespace zanli
