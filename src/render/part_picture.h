#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/part_body.h"
#include "render/rgb_raster.h"

namespace zanli {

// A part's picture for use outside the editor (a PNG or SVG file): the symbol
// as the part view draws it at a zoom, the body and every pin with the pin
// numbers of one block on white, each drawing unit a zoom × zoom square;
// without the view's grid ticks and pin cursor. Both forms come from the same
// drawing calls, so they show the same pixels.
//   if (PartPicture::Width(body, zoom) > limit ...) refuse;
//   RgbRaster png = PartPicture::Raster(body, block, zoom);
//   std::string svg = PartPicture::Svg(body, block, zoom, utf8Name);
class PartPicture {
 public:
  static constexpr int32_t kMinZoom = 1;
  static constexpr int32_t kMaxZoom = 4;

  // The picture's size in pixels: the drawing's extent times the zoom.
  static int64_t Width(const PartBody& body, int32_t zoom);
  static int64_t Height(const PartBody& body, int32_t zoom);

  // `block` is 0-based and below the body's block count, `zoom` within
  // kMinZoom..kMaxZoom, and the size must fit a raster (the caller's limit).
  static RgbRaster Raster(const PartBody& body, int32_t block, int32_t zoom);
  // The SVG document; `title` (UTF-8) names it for viewers.
  static std::string Svg(const PartBody& body, int32_t block, int32_t zoom, std::string_view title);
};

}  // namespace zanli
