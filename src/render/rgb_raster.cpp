#include "render/rgb_raster.h"

#include <algorithm>
#include <cstdlib>

namespace zanli {

RgbRaster::RgbRaster(int32_t width, int32_t height, Rgb fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {
  pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 3);
  for (size_t i = 0; i < pixels_.size(); i += 3) {
    pixels_[i] = fill.r;
    pixels_[i + 1] = fill.g;
    pixels_[i + 2] = fill.b;
  }
}

void RgbRaster::SetOrigin(int32_t x, int32_t y) {
  originX_ = x;
  originY_ = y;
}

Rgb RgbRaster::At(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return Rgb{};
  size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3;
  return Rgb{pixels_[i], pixels_[i + 1], pixels_[i + 2]};
}

void RgbRaster::Plot(int64_t px, int64_t py, Rgb colour) {
  if (px < 0 || py < 0 || px >= width_ || py >= height_) return;
  size_t i = (static_cast<size_t>(py) * static_cast<size_t>(width_) + static_cast<size_t>(px)) * 3;
  pixels_[i] = colour.r;
  pixels_[i + 1] = colour.g;
  pixels_[i + 2] = colour.b;
}

void RgbRaster::DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgb colour) {
  // 64-bit pixel coordinates: the origin shift must not overflow.
  int64_t px0 = int64_t{x0} - originX_, py0 = int64_t{y0} - originY_;
  int64_t px1 = int64_t{x1} - originX_, py1 = int64_t{y1} - originY_;
  if (py0 == py1) {
    // Horizontal: clip the span instead of walking it, so far-off lines cost nothing.
    if (px0 == px1 || py0 < 0 || py0 >= height_) return;
    int64_t first = px0 < px1 ? px0 : px1 + 1;
    int64_t last = px0 < px1 ? px1 - 1 : px0;
    for (int64_t x = std::max<int64_t>(first, 0); x <= std::min<int64_t>(last, width_ - 1); ++x)
      Plot(x, py0, colour);
    return;
  }
  if (px0 == px1) {
    if (px0 < 0 || px0 >= width_) return;
    int64_t first = py0 < py1 ? py0 : py1 + 1;
    int64_t last = py0 < py1 ? py1 - 1 : py0;
    for (int64_t y = std::max<int64_t>(first, 0); y <= std::min<int64_t>(last, height_ - 1); ++y)
      Plot(px0, y, colour);
    return;
  }
  ForEachLinePixel(px0, py0, px1, py1, [&](int64_t x, int64_t y) { Plot(x, y, colour); });
}

void RgbRaster::CompositeBits(int32_t x, int32_t y, const uint8_t* bits, int32_t width, int32_t height,
                              int32_t stride, Rgb colour) {
  if (bits == nullptr || width <= 0 || height <= 0 || stride <= 0) return;
  const int64_t left = int64_t{x} - originX_, top = int64_t{y} - originY_;
  const int64_t rowFirst = std::max<int64_t>(0, -top), rowEnd = std::min<int64_t>(height, height_ - top);
  const int64_t colFirst = std::max<int64_t>(0, -left), colEnd = std::min<int64_t>(width, width_ - left);
  for (int64_t r = rowFirst; r < rowEnd; ++r) {
    const uint8_t* row = bits + r * stride;
    for (int64_t c = colFirst; c < colEnd; ++c)
      if (row[c / 8] & (0x80 >> (c % 8))) Plot(left + c, top + r, colour);
  }
}

}  // namespace zanli
