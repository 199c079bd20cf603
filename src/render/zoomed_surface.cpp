#include "render/zoomed_surface.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

namespace zanli {

namespace {

// Far-off units are dropped rather than wrapped into the target's range.
bool InRange(int64_t value) {
  return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

}  // namespace

ZoomedSurface::ZoomedSurface(DrawSurface& target, int32_t zoom) : target_(target), zoom_(std::max(zoom, 1)) {}

void ZoomedSurface::FillUnits(int64_t x, int64_t y, int64_t columns, int64_t rows, Rgb colour) {
  const int64_t left = x * zoom_, top = y * zoom_;
  const int64_t right = left + columns * zoom_, bottom = top + rows * zoom_;
  if (!InRange(left) || !InRange(top) || !InRange(right) || !InRange(bottom)) return;
  // The block as target lines, across or down, whichever takes fewer.
  const auto i32 = [](int64_t v) { return static_cast<int32_t>(v); };
  if (columns >= rows) {
    for (int64_t row = top; row < bottom; ++row)
      target_.DrawLine(i32(left), i32(row), i32(right), i32(row), colour);
  } else {
    for (int64_t col = left; col < right; ++col)
      target_.DrawLine(i32(col), i32(top), i32(col), i32(bottom), colour);
  }
}

void ZoomedSurface::DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgb colour) {
  if (y0 == y1) {
    if (x0 != x1) FillUnits(x0 < x1 ? x0 : int64_t{x1} + 1, y0, std::llabs(int64_t{x1} - x0), 1, colour);
  } else if (x0 == x1) {
    FillUnits(x0, y0 < y1 ? y0 : int64_t{y1} + 1, 1, std::llabs(int64_t{y1} - y0), colour);
  } else {
    ForEachLinePixel(x0, y0, x1, y1, [&](int64_t x, int64_t y) { FillUnits(x, y, 1, 1, colour); });
  }
}

void ZoomedSurface::CompositeBits(int32_t x, int32_t y, const uint8_t* bits, int32_t width, int32_t height,
                                  int32_t stride, Rgb colour) {
  if (bits == nullptr || width <= 0 || height <= 0 || stride <= 0) return;
  const int64_t left = int64_t{x} * zoom_, top = int64_t{y} * zoom_;
  const int64_t zoomedWidth = int64_t{width} * zoom_, zoomedHeight = int64_t{height} * zoom_;
  if (!InRange(left) || !InRange(top) || !InRange(zoomedWidth) || !InRange(zoomedHeight)) return;
  // One zoomed row at a time: each source bit becomes `zoom` bits, and the
  // row is composited `zoom` times, one target row each.
  const int64_t zoomedStride = (zoomedWidth + 7) / 8;
  std::vector<uint8_t> row(static_cast<size_t>(zoomedStride));
  for (int32_t r = 0; r < height; ++r) {
    std::fill(row.begin(), row.end(), 0);
    const uint8_t* source = bits + int64_t{r} * stride;
    for (int64_t c = 0; c < width; ++c) {
      if (!(source[c / 8] & (0x80 >> (c % 8)))) continue;
      for (int64_t k = c * zoom_; k < (c + 1) * zoom_; ++k)
        row[k / 8] |= static_cast<uint8_t>(0x80 >> (k % 8));
    }
    for (int32_t copy = 0; copy < zoom_; ++copy)
      target_.CompositeBits(static_cast<int32_t>(left), static_cast<int32_t>(top + int64_t{r} * zoom_ + copy),
                            row.data(), static_cast<int32_t>(zoomedWidth), 1,
                            static_cast<int32_t>(zoomedStride), colour);
  }
}

}  // namespace zanli
