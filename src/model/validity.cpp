#include "model/validity.h"

#include <algorithm>

namespace zanli {

namespace {

constexpr int32_t kKnownFlags = PinFlag::NumberNearBody | PinFlag::Clock | PinFlag::NegativeLogic;

bool InRange(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

bool IsValidPinFields(int32_t flags, const PinNumbers& numbers, int32_t blocks) {
  if ((flags & ~kKnownFlags) != 0 || numbers.size() != static_cast<size_t>(std::max(blocks, 0))) return false;
  return std::all_of(numbers.begin(), numbers.end(), IsValidPinNumber);
}

}  // namespace

bool IsValidSize(int32_t size) { return InRange(size, 1, limits::kMaxSize); }

bool IsValidBlockCount(int32_t count) { return InRange(count, 1, limits::kMaxBlocks); }

bool IsValidPinNumber(std::string_view number) {
  return number.empty() || number[0] == 'D' || number[0] == 'H';
}

bool IsValidPin(const PinData& pin, int32_t blocks) {
  return IsValidPinFields(pin.flags, pin.numbers, blocks);
}

bool IsValidAttributes(const PartAttributes& attributes) {
  return IsValidSize(attributes.xSize) && IsValidSize(attributes.ySize) &&
         IsValidBlockCount(attributes.blockCount);
}

bool IsValidBody(const PartBody& body) {
  if (!IsValidSize(body.xSize) || !IsValidSize(body.ySize) || !IsValidBlockCount(body.blockCount))
    return false;
  return std::all_of(body.pins.begin(), body.pins.end(), [&body](const auto& pin) {
    return pin && IsValidPinPlace(pin->edge, pin->position) &&
           IsValidPinFields(pin->flags, pin->numbers, body.blockCount);
  });
}

bool IsValidPatternShape(int32_t width, int32_t height, size_t bitsSize) {
  return IsValidSize(width) && IsValidSize(height) &&
         bitsSize == static_cast<size_t>(Pattern::StrideFor(width)) * static_cast<size_t>(height);
}

bool IsValidPattern(std::string_view name, int32_t width, int32_t height, size_t bitsSize) {
  return !name.empty() && IsValidPatternShape(width, height, bitsSize);
}

bool IsValidPattern(const Pattern& pattern) {
  return IsValidPattern(pattern.name, pattern.width, pattern.height, pattern.bits.size());
}

}  // namespace zanli
