#include "render/rgb_raster.h"

#include <gtest/gtest.h>

#include "raster_ink.h"

namespace zanli {
namespace {

using test::Ink;
using test::kWhite;
using test::PointSet;

constexpr Rgb kInk{10, 20, 30};

TEST(RgbRasterTest, LinesStopBeforeTheirEndPoint) {
  struct Case {
    int32_t x0, y0, x1, y1;
    PointSet want;
  };
  const Case cases[] = {
      {2, 3, 5, 3, {{2, 3}, {3, 3}, {4, 3}}},
      {5, 3, 2, 3, {{5, 3}, {4, 3}, {3, 3}}},
      {1, 1, 1, 4, {{1, 1}, {1, 2}, {1, 3}}},
      {1, 4, 1, 1, {{1, 4}, {1, 3}, {1, 2}}},
      {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
      {4, 4, 4, 4, {}},
      // Clipped on both sides; the far end lies outside the raster.
      {-5, 2, 100, 2, {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}}},
  };
  for (const Case& c : cases) {
    RgbRaster raster(8, 6, kWhite);
    raster.DrawLine(c.x0, c.y0, c.x1, c.y1, kInk);
    EXPECT_EQ(Ink(raster, kInk), c.want) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
  }
}

TEST(RgbRasterTest, SteepLineVisitsOnePixelPerRow) {
  RgbRaster raster(20, 20, kWhite);
  raster.DrawLine(2, 1, 7, 16, kInk);
  PointSet ink = Ink(raster, kInk);
  ASSERT_EQ(ink.size(), 15u);
  std::set<int32_t> rows;
  for (const auto& [x, y] : ink) rows.insert(y);
  EXPECT_EQ(rows.size(), 15u);
  EXPECT_TRUE(ink.count({2, 1}));
  EXPECT_FALSE(ink.count({7, 16}));
}

TEST(RgbRasterTest, OriginShiftsLogicalCoordinates) {
  RgbRaster raster(10, 10, kWhite);
  raster.SetOrigin(100, 200);
  raster.DrawLine(100, 205, 103, 205, kInk);
  const uint8_t bits[] = {0xA0, 0x00};  // pixels 0 and 2 of row 0; pixel 2 falls off the right
  raster.CompositeBits(108, 200, bits, 8, 2, 1, kInk);
  EXPECT_EQ(Ink(raster, kInk), (PointSet{{0, 5}, {1, 5}, {2, 5}, {8, 0}}));
}

TEST(RgbRasterTest, CompositeLeavesClearBitsAndPaddingAndClips) {
  RgbRaster raster(12, 3, kWhite);
  raster.DrawLine(0, 0, 12, 0, Rgb{1, 1, 1});
  // A 10 × 3 image (2-byte stride) placed one pixel left of and above the
  // raster; the set bit in column 11 of row 1 is row padding.
  const uint8_t bits[] = {0xFF, 0xC0, 0x81, 0x10, 0x55, 0x40};
  raster.CompositeBits(-1, -1, bits, 10, 3, 2, kInk);
  EXPECT_EQ(Ink(raster, kInk), (PointSet{{6, 0}, {0, 1}, {2, 1}, {4, 1}, {6, 1}, {8, 1}}));
  EXPECT_EQ(raster.At(0, 0), (Rgb{1, 1, 1}));  // clear bit: the surface shows through
  EXPECT_EQ(raster.Pixels().size(), 12u * 3u * 3u);
}

}  // namespace
}  // namespace zanli
