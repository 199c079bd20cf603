#include "render/pin_mark_bitmaps.h"

#include <gtest/gtest.h>

#include "expected_marks.h"

namespace zanli {
namespace {

using test::ExpectedMark;
using test::PointSet;

TEST(PinMarkBitmapsTest, EveryEdgeIsTheLeftImageTransposedOrMirrored) {
  const PinEdge edges[] = {PinEdge::Left, PinEdge::Top, PinEdge::Right, PinEdge::Bottom};
  for (PinMarkKind kind : {PinMarkKind::Clock, PinMarkKind::Negative, PinMarkKind::Both}) {
    for (PinEdge edge : edges) {
      const PinMarkBitmaps::Image image = PinMarkBitmaps::Instance().Get(kind, edge);
      const bool across = edge == PinEdge::Top || edge == PinEdge::Bottom;
      ASSERT_EQ(image.width, 16);
      ASSERT_EQ(image.stride, 2);
      ASSERT_EQ(image.height, across ? 15 : 7);
      PointSet got;  // over the full stored width, so stray padding bits show up too
      for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < 16; ++x)
          if (image.bits[y * 2 + x / 8] & (0x80 >> (x % 8))) got.insert({x, y});
      EXPECT_EQ(got, ExpectedMark(kind, edge)) << static_cast<int>(kind) << "/" << static_cast<int>(edge);
    }
  }
}

TEST(PinMarkBitmapsTest, FlagsChooseTheKind) {
  const struct {
    int32_t flags;
    bool marked;
    PinMarkKind kind;
  } cases[] = {{0, false, PinMarkKind::Clock},
               {NumberNearBody, false, PinMarkKind::Clock},
               {Clock, true, PinMarkKind::Clock},
               {NegativeLogic | NumberNearBody, true, PinMarkKind::Negative},
               {Clock | NegativeLogic, true, PinMarkKind::Both}};
  for (const auto& c : cases) {
    PinMarkKind kind = PinMarkKind::Clock;
    EXPECT_EQ(PinMarkBitmaps::KindForFlags(c.flags, kind), c.marked) << c.flags;
    if (c.marked) {
      EXPECT_EQ(kind, c.kind) << c.flags;
    }
  }
}

}  // namespace
}  // namespace zanli
