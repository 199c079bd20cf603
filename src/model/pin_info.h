#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/pin_numbers.h"

namespace zanli {

enum class PinEdge : int32_t { Left = 0, Top = 1, Right = 2, Bottom = 3 };

// Bits of PinInfo::flags. NumberNearBody draws the number 2 units from the
// body instead of 8; the other two add the clock triangle and the bubble.
enum PinFlag : int32_t { NumberNearBody = 1, Clock = 4, NegativeLogic = 8 };

// A library holds about ten pins per part, so a pin is kept small: no
// virtual table, and numbers that need no allocation of their own.
class PinInfo final {
 public:
  // A blank pin for a body of `blockCount` blocks: every number is empty.
  explicit PinInfo(int32_t blockCount) : numbers(blockCount > 0 ? static_cast<size_t>(blockCount) : 0) {}

  // From the pool of objects of this size (model/object_pool.h).
  static void* operator new(std::size_t size);
  static void operator delete(void* memory) noexcept;

  // A backslash marks the next character as barred.
  std::string name;
  int32_t flags = 0;
  PinEdge edge = PinEdge::Left;
  int32_t position = 0;
  PinNumbers numbers;  // one per block
};

static_assert(sizeof(PinInfo) <= 72, "a pin should fit an 80-byte heap chunk");

// What a pin holds apart from its place: what the pin panel edits and a pin
// edit swaps.
struct PinData {
  std::string name;
  int32_t flags = 0;
  PinNumbers numbers;  // one per block
};

}  // namespace zanli
