#pragma once

#include <cstdint>
#include <cstdlib>

namespace zanli {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A rectangle with both edges included on each axis.
struct ClipRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// The two primitives symbol drawing needs. Coordinates are the caller's
// logical units (one unit = one pixel); implementations apply their own origin.
class DrawSurface {
 public:
  virtual ~DrawSurface() = default;
  // A 1-pixel solid line from (x0, y0) up to, but not including, (x1, y1).
  virtual void DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgb colour) = 0;
  // Composites a 1-bit image (rows of `stride` bytes, leftmost pixel in bit 7)
  // with its top-left pixel at (x, y): set bits take `colour`, clear bits
  // leave the surface unchanged.
  virtual void CompositeBits(int32_t x, int32_t y, const uint8_t* bits, int32_t width, int32_t height,
                             int32_t stride, Rgb colour) = 0;
};

// Visits the pixels of a 1-pixel line from (x0, y0) up to, but not including,
// (x1, y1), in order. Every surface walks slanted lines with this one routine,
// so they agree on every pixel.
template <typename Plot>
void ForEachLinePixel(int64_t x0, int64_t y0, int64_t x1, int64_t y1, Plot plot) {
  const int64_t dx = std::llabs(x1 - x0), dy = -std::llabs(y1 - y0);
  const int64_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int64_t err = dx + dy;
  int64_t x = x0, y = y0;
  while (x != x1 || y != y1) {
    plot(x, y);
    const int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

}  // namespace zanli
