#include "app/painter_surface.h"

#include <QColor>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace zanli {

PainterSurface::PainterSurface(QPainter& painter, const QRect& bounds) : painter_(painter), bounds_(bounds) {}

void PainterSurface::SetOrigin(int32_t x, int32_t y) {
  originX_ = x;
  originY_ = y;
}

void PainterSurface::FillRun(int64_t x, int64_t y, int64_t length, Rgb colour) {
  if (y < bounds_.top() || y > bounds_.bottom()) return;
  const int64_t first = std::max<int64_t>(x, bounds_.left());
  const int64_t last = std::min<int64_t>(x + length - 1, bounds_.right());
  if (first > last) return;
  painter_.fillRect(
      QRect(static_cast<int>(first), static_cast<int>(y), static_cast<int>(last - first + 1), 1),
      QColor(colour.r, colour.g, colour.b));
}

void PainterSurface::DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgb colour) {
  // 64-bit device coordinates: the origin shift must not overflow.
  const int64_t px0 = int64_t{x0} - originX_, py0 = int64_t{y0} - originY_;
  const int64_t px1 = int64_t{x1} - originX_, py1 = int64_t{y1} - originY_;
  const QColor fill(colour.r, colour.g, colour.b);
  if (py0 == py1) {
    if (px0 == px1) return;
    const int64_t first = px0 < px1 ? px0 : px1 + 1;
    FillRun(first, py0, std::llabs(px1 - px0), colour);
    return;
  }
  if (px0 == px1) {
    if (px0 < bounds_.left() || px0 > bounds_.right()) return;
    const int64_t first = std::max<int64_t>(py0 < py1 ? py0 : py1 + 1, bounds_.top());
    const int64_t last = std::min<int64_t>(py0 < py1 ? py1 - 1 : py0, bounds_.bottom());
    if (first > last) return;
    painter_.fillRect(
        QRect(static_cast<int>(px0), static_cast<int>(first), 1, static_cast<int>(last - first + 1)), fill);
    return;
  }
  ForEachLinePixel(px0, py0, px1, py1, [&](int64_t x, int64_t y) { FillRun(x, y, 1, colour); });
}

void PainterSurface::CompositeBits(int32_t x, int32_t y, const uint8_t* bits, int32_t width, int32_t height,
                                   int32_t stride, Rgb colour) {
  if (bits == nullptr || width <= 0 || height <= 0 || stride <= 0 || bounds_.isEmpty()) return;
  const int64_t left = int64_t{x} - originX_, top = int64_t{y} - originY_;
  // Only the rows and columns that fall inside the bounds are read.
  const int64_t rowFirst = std::max<int64_t>(0, bounds_.top() - top);
  const int64_t rowEnd = std::min<int64_t>(height, int64_t{bounds_.bottom()} + 1 - top);
  const int64_t colFirst = std::max<int64_t>(0, bounds_.left() - left);
  const int64_t colEnd = std::min<int64_t>(width, int64_t{bounds_.right()} + 1 - left);
  for (int64_t r = rowFirst; r < rowEnd; ++r) {
    const uint8_t* row = bits + r * stride;
    int64_t c = colFirst;
    while (c < colEnd) {
      if (!(row[c / 8] & (0x80 >> (c % 8)))) {
        ++c;
        continue;
      }
      const int64_t runStart = c;
      while (c < colEnd && (row[c / 8] & (0x80 >> (c % 8)))) ++c;
      FillRun(left + runStart, top + r, c - runStart, colour);
    }
  }
}

}  // namespace zanli
