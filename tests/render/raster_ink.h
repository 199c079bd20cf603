#pragma once

#include <set>
#include <utility>

#include "render/rgb_raster.h"

namespace zanli::test {

using Point = std::pair<int32_t, int32_t>;
using PointSet = std::set<Point>;

constexpr Rgb kWhite{255, 255, 255};

// Pixels of `colour`, in logical coordinates (pixel + origin).
inline PointSet Ink(const RgbRaster& raster, Rgb colour, int32_t originX = 0, int32_t originY = 0) {
  PointSet points;
  for (int32_t y = 0; y < raster.Height(); ++y)
    for (int32_t x = 0; x < raster.Width(); ++x)
      if (raster.At(x, y) == colour) points.insert({x + originX, y + originY});
  return points;
}

// Every pixel that is not white.
inline PointSet AnyInk(const RgbRaster& raster) {
  PointSet points;
  for (int32_t y = 0; y < raster.Height(); ++y)
    for (int32_t x = 0; x < raster.Width(); ++x)
      if (!(raster.At(x, y) == kWhite)) points.insert({x, y});
  return points;
}

}  // namespace zanli::test
