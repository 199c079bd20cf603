#include "pattern/pattern_bitmap.h"

#include <algorithm>
#include <cstring>

#include "model/pattern.h"

namespace zanli {

namespace {

size_t ByteCount(int32_t width, int32_t height) {
  return static_cast<size_t>(Pattern::StrideFor(width)) * static_cast<size_t>(height);
}

// The leading `bits` bits of a byte; all eight for 0.
uint8_t LeadingMask(int32_t bits) {
  return bits % 8 == 0 ? uint8_t{0xFF} : static_cast<uint8_t>(0xFF00 >> (bits % 8));
}

bool PatternUsable(const Pattern& pattern) {
  return pattern.width > 0 && pattern.height > 0 &&
         pattern.bits.size() >= ByteCount(pattern.width, pattern.height);
}

}  // namespace

PatternBitmap::PatternBitmap(int32_t width, int32_t height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      stride_(Pattern::StrideFor(width_)),
      bits_(ByteCount(width_, height_), 0) {}

PatternBitmap PatternBitmap::Of(const Pattern& pattern) {
  if (!PatternUsable(pattern)) return {};
  PatternBitmap copy(pattern.width, pattern.height);
  std::copy_n(pattern.bits.begin(), copy.bits_.size(), copy.bits_.begin());
  return copy;
}

bool PatternBitmap::Pixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  return (bits_[static_cast<size_t>(y) * static_cast<size_t>(stride_) + static_cast<size_t>(x / 8)] &
          (0x80 >> (x % 8))) != 0;
}

void PatternBitmap::SetPixel(int32_t x, int32_t y, bool ink) {
  ShapeRasterizer::SetCell(RasterTarget(), {x, y}, ink);
}

void PatternBitmap::Clear() { std::fill(bits_.begin(), bits_.end(), 0); }

PatternBitmap PatternBitmap::Region(int32_t x, int32_t y, int32_t w, int32_t h) const {
  PatternBitmap part(w, h);
  // Only the overlap with this bitmap can hold ink.
  const int32_t fromX = std::max(0, -x), toX = std::min(part.width_, width_ - x);
  const int32_t fromY = std::max(0, -y), toY = std::min(part.height_, height_ - y);
  for (int32_t py = fromY; py < toY; ++py)
    for (int32_t px = fromX; px < toX; ++px)
      if (Pixel(x + px, y + py)) part.SetPixel(px, py, true);
  return part;
}

void PatternBitmap::OrInto(Pattern& target, int32_t x, int32_t y) const {
  if (!PatternUsable(target)) return;
  const int32_t fromX = std::max(0, -x), toX = std::min(width_, target.width - x);
  const int32_t fromY = std::max(0, -y), toY = std::min(height_, target.height - y);
  for (int32_t py = fromY; py < toY; ++py)
    for (int32_t px = fromX; px < toX; ++px)
      if (Pixel(px, py)) target.SetPixel(x + px, y + py, true);
}

bool PatternBitmap::CopyTo(Pattern& target) const {
  if (target.width != width_ || target.height != height_ || !PatternUsable(target)) return false;
  std::copy(bits_.begin(), bits_.end(), target.bits.begin());
  return true;
}

ShapeRasterizer::Bitmap PatternBitmap::RasterTarget() {
  if (Empty()) return {nullptr, 0, 0, 0};
  return {bits_.data(), width_, height_, stride_};
}

bool PatternBitmap::ResizePattern(Pattern& pattern, int32_t width, int32_t height) {
  if (width < 1 || height < 1) return false;
  PatternBitmap resized(width, height);
  if (PatternUsable(pattern)) {
    // Whole bytes of the overlap; the last one loses whatever lies beyond the
    // narrower width, which in the old row may be padding.
    const int32_t overlap = std::min(pattern.width, width);
    const size_t bytes = static_cast<size_t>((overlap + 7) / 8);
    const uint8_t lastMask = LeadingMask(overlap);
    const size_t oldStride = static_cast<size_t>(pattern.Stride());
    for (int32_t y = 0; y < std::min(pattern.height, height); ++y) {
      const uint8_t* from = pattern.bits.data() + static_cast<size_t>(y) * oldStride;
      uint8_t* to = resized.bits_.data() + static_cast<size_t>(y) * static_cast<size_t>(resized.stride_);
      std::memcpy(to, from, bytes);
      to[bytes - 1] &= lastMask;
    }
  }
  pattern.width = width;
  pattern.height = height;
  pattern.bits = std::move(resized.bits_);
  return true;
}

bool operator==(const PatternBitmap& a, const PatternBitmap& b) {
  if (a.width_ != b.width_ || a.height_ != b.height_) return false;
  for (int32_t y = 0; y < a.height_; ++y)
    for (int32_t x = 0; x < a.width_; ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

}  // namespace zanli
