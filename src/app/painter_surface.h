#pragma once

#include <QRect>
#include <cstdint>

#include "render/draw_surface.h"

class QPainter;

namespace zanli {

// The symbol renderer's surface on a widget: every primitive becomes 1-pixel
// fillRect runs, so the result matches RgbRaster pixel for pixel (no pen
// widths, caps or antialiasing can creep in).
class PainterSurface : public DrawSurface {
 public:
  // Draws within `bounds` (device pixels) only; pass the update rectangle so
  // far-off lines and large patterns cost nothing outside it.
  PainterSurface(QPainter& painter, const QRect& bounds);

  // The logical point (x, y) lands on device pixel (0, 0): the scroll shift.
  void SetOrigin(int32_t x, int32_t y);

  void DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgb colour) override;
  void CompositeBits(int32_t x, int32_t y, const uint8_t* bits, int32_t width, int32_t height, int32_t stride,
                     Rgb colour) override;

 private:
  // Device pixels [x, x + length) of row y, cut to the bounds.
  void FillRun(int64_t x, int64_t y, int64_t length, Rgb colour);

  QPainter& painter_;
  QRect bounds_;
  int32_t originX_ = 0;
  int32_t originY_ = 0;
};

}  // namespace zanli
