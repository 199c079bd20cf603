// Where pins go, and what the drawing becomes: the placer and the pattern
// drawer on their own, with positions worked out by hand.
#include <gtest/gtest.h>

#include "kicad/kicad_limits.h"
#include "kicad/kicad_outline_drawer.h"
#include "kicad/kicad_pin_placer.h"
#include "model/pattern.h"

namespace zanli {
namespace {

constexpr int64_t G = KicadLimits::kGrid;
constexpr int64_t H = G / 2;

using Pins = std::vector<KicadPinPlacer::Pin>;

// "XxY at left,top: positions | farthest move x pins", lengths in units.
std::string Placed(const Pins& pins, KicadPinPlacer::Box drawing = {}, KicadPinPlacer::Body stated = {}) {
  const KicadPinPlacer::Result r = KicadPinPlacer::Place(pins, drawing, stated);
  if (r.refused) return "refused " + std::to_string(r.places);
  std::string out = std::to_string(r.xSize) + "x" + std::to_string(r.ySize) + " at " +
                    std::to_string(r.left) + "," + std::to_string(r.top) + ":";
  for (const auto& p : r.pins) out.append(" ").append(std::to_string(p.position));
  return out + " | " + std::to_string(r.largestMove) + "x" + std::to_string(r.movedPins);
}

TEST(KicadPinPlacer, PlacesPinsByHand) {
  using E = PinEdge;
  const KicadPinPlacer::Box resistor{true, {-10160, -G}, {10160, G}};
  // Connection points on a grid offset by half a step still import exactly.
  EXPECT_EQ(Placed({{E::Top, {0, 3 * H}}, {E::Bottom, {0, -3 * H}}}, resistor),
            "2x1 at -25400,12700: 1 1 | 0x0");
  // Lines that cross: the right side gives way, and its pin moves out.
  EXPECT_EQ(Placed({{E::Left, {2 * G, 0}}, {E::Right, {-2 * G, 0}}}), "1x1 at 76200,0: 0 0 | 177800x1");
  // A stated body that agrees with the pins wins over the drawing; one that
  // does not is passed over.
  const Pins one{{E::Left, {-G, 0}}};
  EXPECT_EQ(Placed(one, resistor, {true, 0, G, 3, 2}), "3x2 at 0,25400: 1 | 0x0");
  EXPECT_EQ(Placed(one, resistor, {true, G, G, 3, 2}), "1x2 at 0,25400: 1 | 0x0");
  // A pin of another unit keeps only its place along the side.
  const KicadPinPlacer::Box gate{true, {-G, -G}, {G, G}};
  EXPECT_EQ(Placed({{E::Left, {-2 * G, 0}}, {E::Top, {0, 20 * G}, true}}, gate),
            "2x2 at -25400,25400: 1 1 | 0x0");
  // Two pins wanting one place: the later one in the side's order moves on.
  EXPECT_EQ(Placed({{E::Left, {-G, -G / 5}}, {E::Left, {-G, 0}}}, gate), "1x2 at 0,25400: 2 1 | 20320x1");
  // A lone pin and nothing drawn: the smallest body.
  EXPECT_EQ(Placed(one), "1x1 at 0,0: 0 | 0x0");
  // 257 places fit no side of at most 255 steps.
  Pins many;
  for (int i = 0; i < 257; ++i) many.push_back({E::Right, {0, -i * G}});
  EXPECT_EQ(Placed(many), "refused 257");
  many.pop_back();
  EXPECT_EQ(Placed(many).substr(0, 6), "1x255 ");
}

TEST(KicadOutlineDrawer, SolidRectanglesAroundPixelCentresGiveExactlyThosePixels) {
  const int64_t px = G / KicadLimits::kPixelsPerGrid;
  // Pixels (2..4, 1..3) and (5, 3), touching: no pixel more, no pixel less.
  const auto rect = [&](int x0, int y0, int x1, int y1) {
    KicadGraphic g;
    g.kind = KicadGraphic::Kind::Rectangle;
    g.fill = KicadGraphic::Fill::Outline;
    g.points = {{x0 * px - px / 2, -y0 * px + px / 2}, {x1 * px + px / 2, -y1 * px - px / 2}};
    return g;
  };
  const KicadGraphic a = rect(2, 1, 4, 3), b = rect(5, 3, 5, 3);
  Pattern pattern("P", 8, 6);
  EXPECT_FALSE(KicadOutlineDrawer::Draw({&a, &b}, {}, 0, 0, pattern));
  std::string rows;
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 8; ++x) rows += pattern.Pixel(x, y) ? '#' : '.';
    rows += '/';
  }
  EXPECT_EQ(rows, "......../..###.../..###.../..####../......../......../");
}

TEST(KicadOutlineDrawer, ArcsRunThroughTheirMiddle) {
  for (const int64_t side : {G, -G}) {
    KicadGraphic arc;
    arc.kind = KicadGraphic::Kind::Arc;
    arc.points = {{0, -G}, {side, 0}, {0, G}};  // a half circle to the right, then to the left
    Pattern pattern("A", 21, 21);
    KicadOutlineDrawer::Draw({&arc}, {}, -G, G, pattern);
    EXPECT_EQ(pattern.Pixel(10 + 10 * (side > 0 ? 1 : -1), 10), true) << side;
    EXPECT_EQ(pattern.Pixel(10 - 10 * (side > 0 ? 1 : -1), 10), false) << side;
  }
}

TEST(KicadOutlineDrawer, TellsAPlainRectangleFromOtherDrawings) {
  const auto shape = [](KicadGraphic::Kind kind, std::vector<KicadPoint> points, bool solid = false) {
    KicadGraphic g;
    g.kind = kind;
    g.points = std::move(points);
    g.fill = solid ? KicadGraphic::Fill::Outline : KicadGraphic::Fill::Background;
    return g;
  };
  using K = KicadGraphic::Kind;
  const KicadGraphic rect = shape(K::Rectangle, {{0, 0}, {G, G}});
  const KicadGraphic closed = shape(K::Polyline, {{0, 0}, {G, 0}, {G, G}, {0, G}, {0, 0}});
  const KicadGraphic open4 = shape(K::Polyline, {{0, 0}, {G, 0}, {G, G}, {0, G}});
  const KicadGraphic slanted = shape(K::Polyline, {{0, 0}, {G, 1}, {G, G}, {0, G}});
  const KicadGraphic solid = shape(K::Rectangle, {{0, 0}, {G, G}}, true);
  const KicadGraphic text = shape(K::Text, {{0, 0}});
  EXPECT_TRUE(KicadOutlineDrawer::IsPlainRectangle({&rect, &text}));
  EXPECT_TRUE(KicadOutlineDrawer::IsPlainRectangle({&closed}));
  EXPECT_TRUE(KicadOutlineDrawer::IsPlainRectangle({&open4}));
  EXPECT_FALSE(KicadOutlineDrawer::IsPlainRectangle({&slanted}));
  EXPECT_FALSE(KicadOutlineDrawer::IsPlainRectangle({&solid}));
  EXPECT_FALSE(KicadOutlineDrawer::IsPlainRectangle({&rect, &closed}));
  EXPECT_FALSE(KicadOutlineDrawer::IsPlainRectangle({&text}));
}

}  // namespace
}  // namespace zanli
