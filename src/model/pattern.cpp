#include "model/pattern.h"

#include <cstring>
#include <utility>

namespace zanli {

Pattern::Pattern(std::string name_, int32_t width_, int32_t height_)
    : name(std::move(name_)),
      width(width_),
      height(height_),
      bits(width_ > 0 && height_ > 0 ? static_cast<size_t>(StrideFor(width_)) * static_cast<size_t>(height_)
                                     : 0,
           0) {}

bool Pattern::Pixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return false;
  size_t index = static_cast<size_t>(y) * static_cast<size_t>(Stride()) + static_cast<size_t>(x / 8);
  return (bits[index] & (0x80 >> (x % 8))) != 0;
}

void Pattern::SetPixel(int32_t x, int32_t y, bool ink) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  size_t index = static_cast<size_t>(y) * static_cast<size_t>(Stride()) + static_cast<size_t>(x / 8);
  uint8_t mask = static_cast<uint8_t>(0x80 >> (x % 8));
  if (ink)
    bits[index] = static_cast<uint8_t>(bits[index] | mask);
  else
    bits[index] = static_cast<uint8_t>(bits[index] & ~mask);
}

bool PatternsEqual(const Pattern& a, const Pattern& b) {
  if (a.width != b.width || a.height != b.height) return false;
  if (a.width <= 0 || a.height <= 0) return true;
  const int32_t w = a.width;
  const size_t full = static_cast<size_t>((w + 7) / 8);
  const size_t stride = static_cast<size_t>(a.Stride());
  const uint8_t mask = (w % 8 == 0) ? 0xFF : static_cast<uint8_t>((0xFF00 >> (w % 8)) & 0xFF);
  for (size_t r = 0; r < static_cast<size_t>(a.height); ++r) {
    const uint8_t* ra = a.bits.data() + r * stride;
    const uint8_t* rb = b.bits.data() + r * stride;
    if (full > 1 && std::memcmp(ra, rb, full - 1) != 0) return false;
    if (((ra[full - 1] ^ rb[full - 1]) & mask) != 0) return false;
  }
  return true;
}

}  // namespace zanli
