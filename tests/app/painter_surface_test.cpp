// The widget surface must put every pixel where the core raster puts it.
#include "app/painter_surface.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <vector>

#include "render/rgb_raster.h"

namespace zanli {
namespace {

constexpr int kSize = 64;

// Draws the same figures on both surfaces, the second through `draw`.
template <typename Draw>
void ExpectSamePixels(int32_t originX, int32_t originY, const QRect& bounds, Draw draw) {
  RgbRaster raster(kSize, kSize, Rgb{255, 255, 255});
  raster.SetOrigin(originX, originY);
  draw(raster);

  QImage image(kSize, kSize, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    PainterSurface surface(painter, bounds);
    surface.SetOrigin(originX, originY);
    draw(surface);
  }
  int differences = 0, inked = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const Rgb want = bounds.contains(x, y) ? raster.At(x, y) : Rgb{255, 255, 255};
      if (!(want == Rgb{255, 255, 255})) ++inked;
      if (image.pixel(x, y) != qRgb(want.r, want.g, want.b) && ++differences < 8)
        ADD_FAILURE() << "pixel " << x << "," << y << " differs";
    }
  }
  EXPECT_EQ(differences, 0);
  EXPECT_GT(inked, 0);
}

void Lines(DrawSurface& s) {
  const Rgb red{255, 0, 0}, blue{0, 0, 255};
  // Axis-aligned in both directions (end point excluded), and empty.
  s.DrawLine(12, 12, 30, 12, red);
  s.DrawLine(30, 14, 12, 14, blue);
  s.DrawLine(12, 16, 12, 40, red);
  s.DrawLine(14, 40, 14, 16, blue);
  s.DrawLine(20, 20, 20, 20, red);
  // Every octant of a slanted line from one centre.
  const int32_t cx = 40, cy = 40;
  const int32_t ends[][2] = {{60, 45}, {45, 60}, {35, 60}, {20, 45}, {20, 35},
                             {35, 20}, {45, 20}, {60, 35}, {55, 55}};
  for (const auto& e : ends) s.DrawLine(cx, cy, e[0], e[1], (e[0] + e[1]) % 2 ? red : blue);
  // Partly and wholly outside the surface.
  s.DrawLine(-20, 50, 80, 52, red);
  s.DrawLine(-100, -100, -50, -50, blue);
}

void Bits(DrawSurface& s) {
  // 19 pixels wide, so the last byte of each row is partly padding that must
  // not show; stride 4 as in stored patterns.
  std::vector<uint8_t> bits;
  for (int row = 0; row < 9; ++row) {
    bits.push_back(static_cast<uint8_t>(0xA5 ^ row));
    bits.push_back(static_cast<uint8_t>(0x3C + row));
    bits.push_back(0xFF);  // bits beyond column 18 are padding
    bits.push_back(0xFF);
  }
  s.CompositeBits(5, 7, bits.data(), 19, 9, 4, Rgb{0, 0, 0});
  s.CompositeBits(50, 58, bits.data(), 19, 9, 4, Rgb{0, 0, 255});  // runs off the bottom right
  s.CompositeBits(-6, 30, bits.data(), 19, 9, 4, Rgb{255, 0, 0});  // runs off the left
}

TEST(PainterSurfaceTest, LinesAndBitsMatchTheCoreRaster) {
  ExpectSamePixels(0, 0, QRect(0, 0, kSize, kSize), Lines);
  ExpectSamePixels(0, 0, QRect(0, 0, kSize, kSize), Bits);
}

TEST(PainterSurfaceTest, OriginShiftAndBoundsAreHonoured) {
  ExpectSamePixels(7, -5, QRect(0, 0, kSize, kSize), Lines);
  ExpectSamePixels(-3, 4, QRect(0, 0, kSize, kSize), Bits);
  // Nothing may be painted outside the bounds, however the figure runs.
  ExpectSamePixels(2, 3, QRect(13, 9, 30, 25), Lines);
  ExpectSamePixels(2, 3, QRect(8, 10, 9, 5), Bits);
}

}  // namespace
}  // namespace zanli
