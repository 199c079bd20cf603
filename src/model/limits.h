#pragma once

#include <cstddef>
#include <cstdint>

// The limits of what a library holds, whichever file or clipboard it came
// from: the document keeps every library within them, the readers refuse or
// drop what lies beyond, and a format that holds less says so itself.
namespace zanli::limits {

// Pin positions along an edge, from 0; the cursor reaches only those within
// the body's side.
inline constexpr int32_t kMaxPosition = 255;
// Blocks (units) of a part, from 1.
inline constexpr int32_t kMaxBlocks = 256;
// Body sides in grid steps and pattern sides in pixels, from 1.
inline constexpr int32_t kMaxSize = 32767;
// Names in bytes, from 1.
inline constexpr size_t kMaxPartNameLength = 15;
inline constexpr size_t kMaxPatternNameLength = 8;

}  // namespace zanli::limits
