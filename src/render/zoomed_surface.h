#pragma once

#include <cstdint>

#include "render/draw_surface.h"

namespace zanli {

// Draws on another surface `zoom` times larger, each drawing unit a
// zoom × zoom square: what the part view shows when it magnifies its drawing.
// The target's origin and clipping apply in its own, magnified units.
class ZoomedSurface : public DrawSurface {
 public:
  ZoomedSurface(DrawSurface& target, int32_t zoom);

  void DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgb colour) override;
  void CompositeBits(int32_t x, int32_t y, const uint8_t* bits, int32_t width, int32_t height, int32_t stride,
                     Rgb colour) override;

 private:
  // A block of zoom × zoom squares, `columns` across and `rows` down, from
  // the unit (x, y).
  void FillUnits(int64_t x, int64_t y, int64_t columns, int64_t rows, Rgb colour);

  DrawSurface& target_;
  int32_t zoom_;
};

}  // namespace zanli
