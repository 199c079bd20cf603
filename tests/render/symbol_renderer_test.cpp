#include "render/symbol_renderer.h"

#include <gtest/gtest.h>

#include <memory>

#include "expected_marks.h"
#include "model/pattern.h"
#include "render/symbol_text_renderer.h"
#include "support/library_builder.h"

namespace zanli {
namespace {

using test::AnyInk;
using test::ExpectedMark;
using test::Ink;
using test::kWhite;
using test::PointSet;

constexpr Rgb kBlack{0, 0, 0}, kBlue{0, 0, 255}, kRed{255, 0, 0};
const PinEdge kEdges[] = {PinEdge::Left, PinEdge::Top, PinEdge::Right, PinEdge::Bottom};

// A pin without numbers, as a new pin has.
PinInfo& AddPin(PartBody& body, PinEdge edge, int32_t position, const std::string& name = "",
                int32_t flags = 0) {
  return *testing::AddPin(body, edge, position, name, "", flags);
}

// A 4 × 4 body; anchors at position 2: Left (60, 80), Top (80, 60), Right (100, 80), Bottom (80, 100).
struct Fixture {
  PartBody body;
  Fixture() { body.xSize = body.ySize = 4; }
};

RgbRaster DrawOne(const PartBody& body, const PinInfo& pin, const ClipRect* clip = nullptr, int32_t block = 0,
                  int32_t width = 400) {
  RgbRaster raster(width, 400, kWhite);
  SymbolRenderer::DrawPin(raster, clip, body, pin, block);
  return raster;
}

TEST(SymbolRendererTest, BodyIsAClosedOutlineOrOnlyThePattern) {
  PartBody body;
  body.xSize = 2;
  body.ySize = 3;
  RgbRaster outline(200, 200, kWhite);
  SymbolRenderer::DrawBody(outline, body);
  PointSet want;
  for (int32_t x = 60; x <= 80; ++x) want.insert({x, 60}), want.insert({x, 90});
  for (int32_t y = 60; y <= 90; ++y) want.insert({60, y}), want.insert({80, y});
  EXPECT_EQ(AnyInk(outline), want);
  EXPECT_EQ(Ink(outline, kBlack), want);

  Pattern pattern("P", 21, 31);
  pattern.SetPixel(0, 0, true);
  pattern.SetPixel(20, 30, true);
  pattern.SetPixel(9, 4, true);
  pattern.bits[1 * pattern.Stride() + 3] = 0xFF;  // row padding beyond the width: not ink
  body.pattern = &pattern;
  RgbRaster patterned(200, 200, kWhite);
  SymbolRenderer::DrawBody(patterned, body);
  EXPECT_EQ(AnyInk(patterned), (PointSet{{60, 60}, {80, 90}, {69, 64}}));
}

TEST(SymbolRendererTest, PlainPinIsATenUnitLineEndingBeforeItsAnchor) {
  PartBody body;
  body.xSize = 3;
  body.ySize = 4;
  const struct {
    PinEdge edge;
    int32_t position;
    int32_t x0, y0, dx, dy;  // first pixel at the outer end, step toward the body
  } cases[] = {
      {PinEdge::Left, 0, 50, 60, 1, 0},
      {PinEdge::Left, 4, 50, 100, 1, 0},
      {PinEdge::Top, 3, 90, 50, 0, 1},
      {PinEdge::Right, 1, 100, 70, -1, 0},
      {PinEdge::Bottom, 2, 80, 110, 0, -1},
      {PinEdge::Left, 9, 50, 150, 1, 0},  // beyond the body's size: still drawn at its anchor
  };
  for (const auto& c : cases) {
    PartBody& b = body;
    b.pins.clear();
    const PinInfo& pin = AddPin(b, c.edge, c.position, "", NumberNearBody);
    PointSet want;
    for (int32_t i = 0; i < 10; ++i) want.insert({c.x0 + i * c.dx, c.y0 + i * c.dy});
    EXPECT_EQ(AnyInk(DrawOne(body, pin)), want) << static_cast<int>(c.edge) << " " << c.position;
  }
}

TEST(SymbolRendererTest, MarksReplaceTheLineAtTheirPlacePerEdge) {
  Fixture f;
  const struct {
    PinEdge edge;
    int32_t left, top;
  } placements[] = {
      {PinEdge::Left, 50, 77}, {PinEdge::Top, 77, 50}, {PinEdge::Right, 96, 77}, {PinEdge::Bottom, 77, 96}};
  const struct {
    int32_t flags;
    PinMarkKind kind;
  } kinds[] = {{Clock, PinMarkKind::Clock},
               {NegativeLogic, PinMarkKind::Negative},
               {Clock | NegativeLogic | NumberNearBody, PinMarkKind::Both}};
  for (const auto& p : placements) {
    for (const auto& k : kinds) {
      f.body.pins.clear();
      const PinInfo& pin = AddPin(f.body, p.edge, 2, "", k.flags);
      PointSet want;
      for (const auto& [x, y] : ExpectedMark(k.kind, p.edge)) want.insert({p.left + x, p.top + y});
      EXPECT_EQ(AnyInk(DrawOne(f.body, pin)), want) << static_cast<int>(p.edge) << " flags " << k.flags;
    }
  }
}

TEST(SymbolRendererTest, NameAndNumberPlacementColourAndBlock) {
  const struct {
    PinEdge edge;
    int32_t flags;
    const char* number;  // block 2's number; block 1 holds "D9"
    int32_t block;
    Rgb colour;
    int32_t nameX, nameY;
    bool nameVertical, nameAligned;
    int32_t numberX, numberY;
    bool numberAligned;
  } cases[] = {
      {PinEdge::Left, 0, "D12", 1, kBlue, 65, 84, false, true, 52, 78, false},
      {PinEdge::Left, NumberNearBody, "H12", 1, kRed, 65, 84, false, true, 58, 78, false},
      {PinEdge::Top, 0, "D12", 1, kBlue, 84, 65, true, false, 78, 52, true},
      {PinEdge::Top, NumberNearBody, "D12", 1, kBlue, 84, 65, true, false, 78, 58, true},
      {PinEdge::Right, 0, "H12", 1, kRed, 95, 84, false, false, 108, 78, true},
      {PinEdge::Bottom, 0, "D12", 1, kBlue, 84, 95, true, true, 78, 108, false},
      {PinEdge::Bottom, 0, "D12", 0, kBlue, 84, 95, true, true, 78, 108, false},  // block 1: "9"
  };
  for (const auto& c : cases) {
    PartBody body;
    body.xSize = body.ySize = 4;
    body.SetBlockCount(2);
    PinInfo& pin = AddPin(body, c.edge, 2, "\\AB", c.flags);
    pin.numbers = {"D9", c.number};
    const RgbRaster got = DrawOne(body, pin, nullptr, c.block);

    RgbRaster want(400, 400, kWhite);
    const SymbolTextRenderer& text = SymbolTextRenderer::Instance();
    const uint8_t name[] = {'A' | 0x80, 'B'};
    text.DrawText(want, c.nameX, c.nameY, name, 2, kBlue, c.nameVertical, c.nameAligned);
    const std::string number = c.block == 0 ? "9" : "12";
    text.DrawText(want, c.numberX, c.numberY, reinterpret_cast<const uint8_t*>(number.data()),
                  static_cast<int32_t>(number.size()), c.colour, c.nameVertical, c.numberAligned);
    ASSERT_FALSE(Ink(want, c.colour).empty());
    EXPECT_EQ(Ink(got, kBlue), Ink(want, kBlue)) << static_cast<int>(c.edge) << " " << c.number;
    EXPECT_EQ(Ink(got, kRed), Ink(want, kRed)) << static_cast<int>(c.edge) << " " << c.number;
  }
}

TEST(SymbolRendererTest, EmptyAndBareNumbersDrawNothing) {
  for (const char* number : {"", "D", "H"}) {
    Fixture f;
    PinInfo& pin = AddPin(f.body, PinEdge::Left, 2);
    pin.numbers = {number};
    const RgbRaster raster = DrawOne(f.body, pin);
    EXPECT_TRUE(Ink(raster, kBlue).empty() && Ink(raster, kRed).empty()) << number;
  }
}

TEST(SymbolRendererTest, BarConversion) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"CLK", "CLK"},
      {"\\R\\S\\T", "\xD2\xD3\xD4"},
      {"EN\\", "EN"},
      {"\\\\", "\xDC"},
      {"A\\\\\\B", "A\xDC\xC2"},
      {std::string(300, 'x'), std::string(255, 'x')},
      {std::string(600, '\\'), std::string(255, '\xDC')},
  };
  for (const auto& c : cases) EXPECT_EQ(SymbolRenderer::ConvertBars(c.in), c.out) << c.in.substr(0, 20);
}

TEST(SymbolRendererTest, CullingCountsTouchingEdgesAsOverlap) {
  // Pin areas at position 2 of the 4 × 4 body for the name "AB" (w = 21).
  const struct {
    PinEdge edge;
    ClipRect area;
  } cases[] = {{PinEdge::Left, {10, 70, 81, 85}},
               {PinEdge::Top, {70, 10, 85, 81}},
               {PinEdge::Right, {79, 70, 150, 85}},
               {PinEdge::Bottom, {70, 79, 85, 150}}};
  for (const auto& c : cases) {
    Fixture f;
    const PinInfo& pin = AddPin(f.body, c.edge, 2, "AB");
    const ClipRect& a = c.area;
    const struct {
      ClipRect clip;
      bool drawn;
    } clips[] = {
        {{a.right, -999, a.right + 9, 999}, true},   {{a.right + 1, -999, a.right + 9, 999}, false},
        {{a.left - 9, -999, a.left, 999}, true},     {{a.left - 9, -999, a.left - 1, 999}, false},
        {{-999, a.bottom, 999, a.bottom + 9}, true}, {{-999, a.bottom + 1, 999, a.bottom + 9}, false},
        {{-999, a.top - 9, 999, a.top}, true},       {{-999, a.top - 9, 999, a.top - 1}, false},
    };
    for (const auto& k : clips)
      EXPECT_EQ(AnyInk(DrawOne(f.body, pin, &k.clip)).empty(), !k.drawn)
          << static_cast<int>(c.edge) << " clip " << k.clip.left << "," << k.clip.top << "," << k.clip.right
          << "," << k.clip.bottom;
  }
}

TEST(SymbolRendererTest, LongNameIsCutTo255ForDrawingAndCulling) {
  Fixture f;
  const PinInfo& pin = AddPin(f.body, PinEdge::Left, 2, std::string(300, '_'));
  const ClipRect touching{60 + 8 * 255 + 5, 0, 3000, 400}, beyond{60 + 8 * 255 + 6, 0, 3000, 400};
  const PointSet ink = Ink(DrawOne(f.body, pin, &touching, 0, 2500), kBlue);
  ASSERT_FALSE(ink.empty());
  EXPECT_EQ(ink.rbegin()->first, 65 + 254 * 8 + 6);
  EXPECT_TRUE(AnyInk(DrawOne(f.body, pin, &beyond, 0, 2500)).empty());
}

TEST(SymbolRendererTest, PinAreaIsTheViewsRepaintRectAndHoldsEverythingDrawn) {
  PartBody body;
  body.xSize = 30;
  body.ySize = 30;
  for (PinEdge edge : kEdges) {
    body.pins.clear();
    PinInfo& pin = AddPin(body, edge, 7, std::string(32, 'W'), Clock | NegativeLogic);
    pin.numbers = {"H88888"};  // five characters fit outside the edge
    RgbRaster raster(500, 500, kWhite);
    SymbolRenderer::DrawPart(raster, nullptr, body, 0);
    body.pins.clear();
    RgbRaster bare(500, 500, kWhite);
    SymbolRenderer::DrawPart(bare, nullptr, body, 0);
    const PointSet bodyInk = AnyInk(bare);

    const ClipRect area = SymbolRenderer::PinArea(body, edge, 7);
    for (const auto& [x, y] : AnyInk(raster)) {
      if (bodyInk.count({x, y})) continue;
      ASSERT_TRUE(x >= area.left && x <= area.right && y >= area.top && y <= area.bottom)
          << static_cast<int>(edge) << " pixel " << x << "," << y;
    }

    // Exactly what the part view repaints, x0 <= x < x1, y0 <= y < y1.
    const int32_t p = 70, X = 300, Y = 300;
    ClipRect view;
    switch (edge) {
      case PinEdge::Left:
        view = {10, p + 50, 321, p + 65};
        break;
      case PinEdge::Top:
        view = {p + 50, 10, p + 65, 321};
        break;
      case PinEdge::Right:
        view = {X - 201, p + 50, X + 110, p + 65};
        break;
      case PinEdge::Bottom:
        view = {p + 50, Y - 201, p + 65, Y + 110};
        break;
    }
    EXPECT_TRUE(area.left == view.left && area.top == view.top && area.right == view.right - 1 &&
                area.bottom == view.bottom - 1)
        << static_cast<int>(edge);
  }
}

}  // namespace
}  // namespace zanli
