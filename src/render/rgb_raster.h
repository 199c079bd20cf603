#pragma once

#include <cstdint>
#include <vector>

#include "render/draw_surface.h"

namespace zanli {

// An in-memory RGB888 image that symbols can be drawn on: the command-line
// renderer writes it to a file, and tests read its pixels back. Everything
// drawn is clipped to the raster.
class RgbRaster : public DrawSurface {
 public:
  // A width × height raster filled with `fill`; negative sizes count as 0.
  RgbRaster(int32_t width, int32_t height, Rgb fill);

  // The logical point (x, y) lands on pixel (0, 0): the view's scroll shift.
  void SetOrigin(int32_t x, int32_t y);

  // The pixel at pixel coordinates (not logical ones); black outside.
  Rgb At(int32_t x, int32_t y) const;
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Rows top to bottom, 3 bytes (r, g, b) per pixel, no row padding.
  const std::vector<uint8_t>& Pixels() const { return pixels_; }

  void DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgb colour) override;
  void CompositeBits(int32_t x, int32_t y, const uint8_t* bits, int32_t width, int32_t height, int32_t stride,
                     Rgb colour) override;

 private:
  // Pixel coordinates; points outside the raster are ignored.
  void Plot(int64_t px, int64_t py, Rgb colour);

  int32_t width_;
  int32_t height_;
  int32_t originX_ = 0;
  int32_t originY_ = 0;
  std::vector<uint8_t> pixels_;
};

}  // namespace zanli
