#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "render/draw_surface.h"

namespace zanli {

// The symbol renderer's surface as an SVG picture: every primitive becomes
// filled pixel squares, so the picture shows exactly the pixels an RgbRaster
// of the same size gets, at any zoom and in any viewer. Consecutive
// primitives of one colour share a path; the order of drawing is kept, so
// later ink covers earlier ink as on a raster.
class SvgSurface : public DrawSurface {
 public:
  // A width × height picture of drawing units on `background`, shown `zoom`
  // times larger (each unit a zoom × zoom square). Everything drawn is clipped
  // to it.
  SvgSurface(int32_t width, int32_t height, int32_t zoom, Rgb background);

  // The logical point (x, y) lands on the picture's top-left corner.
  void SetOrigin(int32_t x, int32_t y);

  void DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgb colour) override;
  void CompositeBits(int32_t x, int32_t y, const uint8_t* bits, int32_t width, int32_t height, int32_t stride,
                     Rgb colour) override;

  // The whole document; `title` (UTF-8) names the picture for viewers.
  std::string Document(std::string_view title) const;

 private:
  // Units [x, x + length) of row y and the rectangle form, in picture units,
  // cut to the picture.
  void FillRun(int64_t x, int64_t y, int64_t length, Rgb colour);
  void FillRect(int64_t x, int64_t y, int64_t width, int64_t height, Rgb colour);

  int32_t width_;
  int32_t height_;
  int32_t zoom_;
  Rgb background_;
  int32_t originX_ = 0;
  int32_t originY_ = 0;
  std::string paths_;  // finished <path> elements
  std::string data_;   // the open path's data, in colour_
  Rgb colour_;
};

}  // namespace zanli
