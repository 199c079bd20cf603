#include "pattern/pattern_bitmap.h"

#include <gtest/gtest.h>

#include "model/pattern.h"
#include "support/pattern_art.h"

namespace zanli {
namespace {

using test::Art;
using test::ArtOf;

// Every byte of the old pattern set, padding included: afterwards exactly the
// overlap may be ink, and the new rows' padding must be clear.
TEST(PatternBitmapTest, ResizeKeepsTheTopLeftOverlapAndNoPadding) {
  const struct {
    int32_t oldW, oldH, newW, newH;
  } cases[] = {
      {21, 21, 11, 21},  // 3 bytes to 2: pixels 0 … 10 stay
      {11, 21, 21, 21},  // 2 to 3 bytes: the old padding 11 … 15 stays clear
      {35, 35, 31, 31},  // columns 31 … 34 are lost
      {17, 5, 21, 5},    // same byte count: old padding 17 … 20 stays clear
      {21, 5, 17, 9},    // same byte count, narrower and taller
      {8, 3, 16, 3},     // whole last byte
      {201, 151, 1, 1},  // down to one pixel
      {1, 1, 201, 19},
  };
  for (const auto& c : cases) {
    Pattern pattern("P", c.oldW, c.oldH);
    std::fill(pattern.bits.begin(), pattern.bits.end(), uint8_t{0xFF});
    ASSERT_TRUE(PatternBitmap::ResizePattern(pattern, c.newW, c.newH));
    ASSERT_EQ(pattern.bits.size(), size_t(Pattern::StrideFor(c.newW)) * size_t(c.newH));
    PatternBitmap all(c.newW, c.newH);
    for (int32_t y = 0; y < std::min(c.oldH, c.newH); ++y)
      for (int32_t x = 0; x < std::min(c.oldW, c.newW); ++x) all.SetPixel(x, y, true);
    EXPECT_EQ(PatternBitmap::Of(pattern), all)
        << c.oldW << "x" << c.oldH << " -> " << c.newW << "x" << c.newH;
    // Bits beyond the width: nothing but zeros, so no later size shows them.
    for (int32_t y = 0; y < c.newH; ++y)
      for (int32_t x = c.newW; x < Pattern::StrideFor(c.newW) * 8; ++x) {
        const uint8_t byte = pattern.bits[size_t(y) * size_t(pattern.Stride()) + size_t(x / 8)];
        EXPECT_EQ(byte & (0x80 >> (x % 8)), 0) << "padding bit " << x << " of row " << y;
      }
  }

  // Shrinking throws pixels away for good: growing back brings nothing back.
  auto pattern = test::PatternFromArt({"#.#.#.#.#.#.#.#.#.#.#", "..........#.........#"});
  ASSERT_TRUE(PatternBitmap::ResizePattern(*pattern, 11, 2));
  ASSERT_TRUE(PatternBitmap::ResizePattern(*pattern, 21, 3));
  EXPECT_EQ(ArtOf(*pattern),
            (Art{"#.#.#.#.#.#..........", "..........#..........", "....................."}));

  const Pattern before = *pattern;
  EXPECT_FALSE(PatternBitmap::ResizePattern(*pattern, 0, 5));
  EXPECT_FALSE(PatternBitmap::ResizePattern(*pattern, 5, -1));
  EXPECT_TRUE(PatternsEqual(*pattern, before));
}

TEST(PatternBitmapTest, RegionsAndMergesClipToTheBitmaps) {
  auto source = test::PatternFromArt({"##..", "#..#", "..##"}, true);
  const PatternBitmap bitmap = PatternBitmap::Of(*source);
  // Set padding is no difference.
  EXPECT_EQ(PatternBitmap::Of(*test::PatternFromArt({"#.."}, true)),
            PatternBitmap::Of(*test::PatternFromArt({"#.."}, false)));

  const struct {
    int32_t x, y, w, h;
    Art want;
  } regions[] = {
      {0, 0, 2, 2, {"##", "#."}},
      {2, 1, 3, 3, {".#.", "##.", "..."}},  // sticks out right and bottom
      {-1, -1, 2, 2, {"..", ".#"}},         // sticks out left and top
      {0, 0, 4, 3, {"##..", "#..#", "..##"}},
  };
  for (const auto& r : regions)
    EXPECT_EQ(ArtOf(bitmap.Region(r.x, r.y, r.w, r.h), r.w, r.h), r.want) << r.x << "," << r.y;

  // OR keeps the target's ink under clear pixels and drops what falls outside.
  const struct {
    int32_t x, y;
    Art want;
  } merges[] = {
      {0, 0, {"##.#.", "#..##", "..##.", "....."}},
      {3, 2, {"...#.", "....#", "...##", "...#."}},
      {-2, -1, {".#.#.", "##..#", "...#.", "....."}},
  };
  for (const auto& m : merges) {
    auto target = test::PatternFromArt({"...#.", "....#", "...#.", "....."}, true);
    bitmap.OrInto(*target, m.x, m.y);
    EXPECT_EQ(ArtOf(*target), m.want) << m.x << "," << m.y;
  }

  // Out of range pixels are ignored both ways.
  PatternBitmap small(3, 2);
  small.SetPixel(3, 0, true);
  small.SetPixel(-1, 1, true);
  EXPECT_EQ(small, PatternBitmap(3, 2));
  EXPECT_FALSE(small.Pixel(0, 2));
  // Copying back refuses a pattern of another size.
  Pattern other("O", 4, 4);
  EXPECT_FALSE(bitmap.CopyTo(other));
}

}  // namespace
}  // namespace zanli
