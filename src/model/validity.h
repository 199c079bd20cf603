#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/limits.h"
#include "model/part_body.h"
#include "model/pattern.h"
#include "model/pin_info.h"

// The model's rules for bodies, pins and patterns, in one place: the
// document keeps them for every change, the readers and the clipboard check
// what they bring in against them. Names have rules of their own (names.h).
namespace zanli {

// A body side or a pattern side: 1 to limits::kMaxSize.
bool IsValidSize(int32_t size);
// 1 to limits::kMaxBlocks.
bool IsValidBlockCount(int32_t count);
// One of the four edges, at 0 to limits::kMaxPosition. Inline: a reader
// asks it of every pin.
inline bool IsValidPinPlace(PinEdge edge, int32_t position) {
  return static_cast<uint32_t>(edge) <= 3 && position >= 0 && position <= limits::kMaxPosition;
}
// Empty (no number), or the display letter 'D' (shown) or 'H' (hidden)
// followed by the number's text.
bool IsValidPinNumber(std::string_view number);
// Only the known flags, and one valid number for each of `blocks` blocks.
bool IsValidPin(const PinData& pin, int32_t blocks);
// Sizes and block count (the pattern is the library's to judge).
bool IsValidAttributes(const PartAttributes& attributes);
// The attributes, and every pin valid at a valid place.
bool IsValidBody(const PartBody& body);
// Valid sizes, and exactly the bytes the sizes take.
bool IsValidPatternShape(int32_t width, int32_t height, size_t bitsSize);
// A name and a valid shape.
bool IsValidPattern(std::string_view name, int32_t width, int32_t height, size_t bitsSize);
bool IsValidPattern(const Pattern& pattern);

}  // namespace zanli
