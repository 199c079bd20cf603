#include "render/symbol_text_renderer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "raster_ink.h"

namespace zanli {
namespace {

using test::Ink;
using test::kWhite;
using test::PointSet;

constexpr Rgb kInk{0, 0, 255};
constexpr uint8_t kA[8] = {0x00, 0x38, 0x44, 0x82, 0x82, 0xFE, 0x82, 0x82};
constexpr uint8_t kZero[8] = {0x00, 0x7C, 0x86, 0x8A, 0x92, 0xA2, 0xC2, 0x7C};

// Ink of an upright glyph whose rows start at (left, top).
void AddUpright(PointSet& points, const uint8_t* rows, int32_t left, int32_t top) {
  for (int32_t k = 0; k < 8; ++k)
    for (int32_t c = 0; c < 8; ++c)
      if (rows[k] & (0x80 >> c)) points.insert({left + c, top + k});
}

// Ink of a glyph turned counter-clockwise: its top row becomes the left column
// and its right column the top row of the 8 × 8 cell at (left, top).
void AddRotated(PointSet& points, const uint8_t* rows, int32_t left, int32_t top) {
  for (int32_t k = 0; k < 8; ++k)
    for (int32_t c = 0; c < 8; ++c)
      if (rows[k] & (0x80 >> c)) points.insert({left + k, top + 7 - c});
}

PointSet Draw(const std::string& text, int32_t x, int32_t y, bool vertical, bool aligned,
              int32_t length = -2) {
  RgbRaster raster(400, 400, kWhite);
  SymbolTextRenderer::Instance().DrawText(raster, x, y, reinterpret_cast<const uint8_t*>(text.data()),
                                          length == -2 ? static_cast<int32_t>(text.size()) : length, kInk,
                                          vertical, aligned);
  return Ink(raster, kInk);
}

TEST(SymbolTextRendererTest, FontKeepsItsLayoutAndTellingGlyphs) {
  const struct {
    char code;
    uint8_t rows[8];
  } telling[] = {{' ', {}},
                 {'A', {0x00, 0x38, 0x44, 0x82, 0x82, 0xFE, 0x82, 0x82}},
                 {'0', {0x00, 0x7C, 0x86, 0x8A, 0x92, 0xA2, 0xC2, 0x7C}},
                 {'g', {0x00, 0x00, 0x00, 0x7A, 0x86, 0x7A, 0x02, 0xFC}},
                 {'_', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFE}}};
  for (const auto& t : telling)
    EXPECT_EQ(std::memcmp(SymbolTextRenderer::Glyph(static_cast<uint8_t>(t.code)), t.rows, 8), 0) << t.code;
  for (int code = 0x21; code < 0x7F; ++code) {
    const uint8_t* glyph = SymbolTextRenderer::Glyph(static_cast<uint8_t>(code));
    uint8_t any = 0;
    for (int r = 0; r < 8; ++r) {
      EXPECT_EQ(glyph[r] & 0x01, 0) << "column 7 is spacing: " << char(code);
      any |= glyph[r];
    }
    EXPECT_NE(any, 0) << char(code);
    if (code != ';') {
      EXPECT_EQ(glyph[0], 0) << "row 0 is spacing: " << char(code);
    }
  }
  EXPECT_NE(SymbolTextRenderer::Glyph(';')[0], 0);
}

TEST(SymbolTextRendererTest, HorizontalTextSitsOnYAndStartsOrEndsAtX) {
  PointSet want;
  AddUpright(want, kA, 100, 43);
  AddUpright(want, kZero, 108, 43);
  EXPECT_EQ(Draw("A0", 100, 50, false, true), want);
  // Unaligned: the text's last column is at x.
  EXPECT_EQ(Draw("A0", 115, 50, false, false), want);
  // An odd count pads each image row; the padding stays invisible.
  want.clear();
  AddUpright(want, kA, 93, 43);
  EXPECT_EQ(Draw("A", 100, 50, false, false), want);
}

TEST(SymbolTextRendererTest, VerticalTextReadsUpwardFromTheBottom) {
  PointSet want;
  AddRotated(want, kA, 93, 108);  // first character at the bottom
  AddRotated(want, kZero, 93, 100);
  EXPECT_EQ(Draw("A0", 100, 100, true, false), want);
  // Aligned: the bottom row is at y.
  EXPECT_EQ(Draw("A0", 100, 115, true, true), want);
}

TEST(SymbolTextRendererTest, BarsAndBytesWithoutGlyph) {
  // Bit 7 draws an 8-pixel bar in the row above a horizontal glyph, and a
  // 1-pixel-wide bar left of a vertical one. 0x01 and 0x7F are blank cells.
  const std::string text = {'\xC1', '\x01', '\x81', '\x7F'};
  PointSet want;
  AddUpright(want, kA, 10, 43);
  for (int32_t x = 10; x < 18; ++x) want.insert({x, 42});
  for (int32_t x = 26; x < 34; ++x) want.insert({x, 42});
  EXPECT_EQ(Draw(text, 10, 50, false, true), want);

  want.clear();
  AddRotated(want, kA, 93, 124);
  for (int32_t y = 124; y < 132; ++y) want.insert({92, y});
  for (int32_t y = 108; y < 116; ++y) want.insert({92, y});
  EXPECT_EQ(Draw(text, 100, 100, true, false), want);
}

TEST(SymbolTextRendererTest, LengthRules) {
  EXPECT_TRUE(Draw("A0", 100, 50, false, true, 0).empty());
  EXPECT_EQ(Draw("A0", 100, 50, false, true, -1), Draw("A0", 100, 50, false, true));
  EXPECT_EQ(Draw("A0", 100, 50, false, true, 1), Draw("A", 100, 50, false, true));
  // 300 underscores are cut to 255: one unbroken run of 255 × 7 pixels + gaps.
  RgbRaster raster(2100, 60, kWhite);
  const std::string underscores(300, '_');
  SymbolTextRenderer::Instance().DrawText(raster, 0, 50, reinterpret_cast<const uint8_t*>(underscores.data()),
                                          300, kInk, false, true);
  const PointSet ink = Ink(raster, kInk);
  EXPECT_EQ(ink.size(), 255u * 7u);
  EXPECT_EQ(ink.rbegin()->first, 254 * 8 + 6);
}

}  // namespace
}  // namespace zanli
