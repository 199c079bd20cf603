#pragma once

#include <array>
#include <cstdint>

#include "render/draw_surface.h"

namespace zanli {

// Pin names and numbers in the built-in 8 × 8 bitmap font. Each glyph inks
// columns 0-6 and rows 1-7; column 7 and row 0 are the spacing, so a bar drawn
// over a character (bit 7 of its byte) sits in the row above the glyph.
class SymbolTextRenderer {
 public:
  static constexpr int32_t kGlyphCount = 95;  // codes 0x20 to 0x7E
  static constexpr int32_t kMaxLength = 255;  // keeps every text image within the work buffer
  static constexpr int32_t kWorkBufferSize = 4096;

  // Builds the rotated font.
  SymbolTextRenderer();

  // The one renderer shared by every drawing call (single UI thread).
  static const SymbolTextRenderer& Instance();

  // True when `code` & 0x7F has a glyph of its own (0x20 to 0x7E).
  static bool HasGlyph(uint8_t code);
  // The 8 rows (top first, bit 7 leftmost) of the glyph for `code` & 0x7F;
  // codes without a glyph (below 0x20, and 0x7F) give a blank cell.
  static const uint8_t* Glyph(uint8_t code);
  // The same glyph turned 90 degrees counter-clockwise: byte j is column 7 - j
  // of the upright glyph read from top (bit 7) to bottom.
  const uint8_t* RotatedGlyph(uint8_t code) const;

  // Draws `length` bytes (negative: up to the terminating zero; cut to 255) in
  // `colour`. Horizontal text has the glyph's bottom row at y and starts at x
  // when `aligned`, else ends at x. Vertical text reads upward with the glyph
  // columns x - 7 .. x; it runs down from y, or when `aligned` ends at y.
  void DrawText(DrawSurface& surface, int32_t x, int32_t y, const uint8_t* bytes, int32_t length, Rgb colour,
                bool vertical, bool aligned) const;

 private:
  std::array<uint8_t, kGlyphCount * 8> rotated_{};
};

}  // namespace zanli
