#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zanli {

// A named monochrome bitmap drawn in place of a body's plain outline.
// Rows run top to bottom; each row is padded to whole 16-bit words and the
// leftmost pixel is bit 7 of the row's first byte. A set bit is ink.
class Pattern final {
 public:
  Pattern(std::string name, int32_t width, int32_t height);

  // Bytes per row for a pattern `width` pixels wide.
  static int32_t StrideFor(int32_t width) { return ((width + 15) / 16) * 2; }
  int32_t Stride() const { return StrideFor(width); }

  std::unique_ptr<Pattern> Clone() const { return std::make_unique<Pattern>(*this); }

  bool Pixel(int32_t x, int32_t y) const;
  void SetPixel(int32_t x, int32_t y, bool ink);

  std::string name;
  int32_t width;
  int32_t height;
  std::vector<uint8_t> bits;
};

// Same size and the same ink within the width of every row; the row padding
// and the names are not compared.
bool PatternsEqual(const Pattern& a, const Pattern& b);

}  // namespace zanli
