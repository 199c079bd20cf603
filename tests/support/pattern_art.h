#pragma once

// Patterns written as pictures: one string per row, '#' for ink and any other
// character for a clear pixel, so a test shows the picture it expects.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/pattern.h"

namespace zanli::test {

using Art = std::vector<std::string>;

// A pattern as wide as the longest row; `padding` fills the row padding
// beyond the width, which must never turn into ink.
inline std::unique_ptr<Pattern> PatternFromArt(const Art& rows, bool padding = false) {
  size_t width = 0;
  for (const std::string& row : rows) width = std::max(width, row.size());
  auto pattern =
      std::make_unique<Pattern>("ART", static_cast<int32_t>(width), static_cast<int32_t>(rows.size()));
  if (padding) std::fill(pattern->bits.begin(), pattern->bits.end(), uint8_t{0xFF});
  for (int32_t y = 0; y < pattern->height; ++y)
    for (int32_t x = 0; x < pattern->width; ++x) {
      const std::string& row = rows[static_cast<size_t>(y)];
      pattern->SetPixel(x, y, static_cast<size_t>(x) < row.size() && row[static_cast<size_t>(x)] == '#');
    }
  return pattern;
}

// Anything with Pixel(x, y) and the given size, as rows of '#' and '.'.
template <typename Bitmap>
Art ArtOf(const Bitmap& bitmap, int32_t width, int32_t height) {
  Art rows;
  for (int32_t y = 0; y < height; ++y) {
    std::string row;
    for (int32_t x = 0; x < width; ++x) row += bitmap.Pixel(x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

inline Art ArtOf(const Pattern& pattern) { return ArtOf(pattern, pattern.width, pattern.height); }

// A width × height picture of one character.
inline Art Blank(int32_t width, int32_t height, char c = '.') {
  return Art(static_cast<size_t>(height), std::string(static_cast<size_t>(width), c));
}

}  // namespace zanli::test
