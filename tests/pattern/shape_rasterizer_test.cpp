#include "pattern/shape_rasterizer.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "model/pattern.h"

namespace zanli {

void PrintTo(const ShapeRasterizer::Cell& cell, std::ostream* os) {
  *os << "(" << cell.x << ", " << cell.y << ")";
}

namespace {

using Cell = ShapeRasterizer::Cell;

std::vector<Cell> LineCells(Cell a, Cell b) {
  std::vector<Cell> cells;
  ShapeRasterizer::PlotLine(a, b, [&](Cell c) { cells.push_back(c); });
  return cells;
}

std::set<std::pair<int32_t, int32_t>> EllipseCells(Cell a, Cell b) {
  std::set<std::pair<int32_t, int32_t>> cells;
  ShapeRasterizer::PlotEllipse(a, b, [&](Cell c) { cells.insert({c.x, c.y}); });
  return cells;
}

TEST(ShapeRasterizerTest, LineCellsRoundHalvesAwayFromTheStart) {
  const struct {
    Cell a, b;
    std::vector<Cell> want;
  } cases[] = {
      {{0, 0}, {4, 2}, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
      {{5, 0}, {0, 2}, {{5, 0}, {4, 0}, {3, 1}, {2, 1}, {1, 2}, {0, 2}}},
      {{4, 2}, {0, 0}, {{4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}},
      {{1, 0}, {3, 4}, {{1, 0}, {2, 1}, {2, 2}, {3, 3}, {3, 4}}},  // y drives
      {{3, 3}, {3, 3}, {{3, 3}}},
      {{2, 5}, {2, 2}, {{2, 5}, {2, 4}, {2, 3}, {2, 2}}},
      {{0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LineCells(c.a, c.b), c.want) << c.a.x << "," << c.a.y << " -> " << c.b.x << "," << c.b.y;
}

TEST(ShapeRasterizerTest, EllipseIsInscribedInItsBox) {
  using Cells = std::set<std::pair<int32_t, int32_t>>;
  const struct {
    Cell a, b;
    Cells want;
  } cases[] = {
      {{0, 0},
       {4, 4},
       {{4, 2}, {0, 2}, {2, 4}, {2, 0}, {4, 3}, {4, 1}, {0, 3}, {0, 1}, {3, 4}, {3, 0}, {1, 4}, {1, 0}}},
      {{3, 3}, {0, 0}, {{3, 1}, {3, 2}, {0, 1}, {0, 2}, {1, 0}, {2, 0}, {1, 3}, {2, 3}}},
      {{0, 5}, {6, 5}, {{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}}},
      {{7, 1}, {7, 4}, {{7, 1}, {7, 2}, {7, 3}, {7, 4}}},
      {{2, 2}, {2, 2}, {{2, 2}}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(EllipseCells(c.a, c.b), c.want) << c.a.x << "," << c.a.y << " -> " << c.b.x << "," << c.b.y;

  // A wide box reaches all four sides and never leaves the box.
  const Cells wide = EllipseCells({3, 10}, {40, 19});
  int32_t minX = 99, maxX = -1, minY = 99, maxY = -1;
  for (const auto& [x, y] : wide) {
    minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
  }
  EXPECT_EQ(minX, 3);
  EXPECT_EQ(maxX, 40);
  EXPECT_EQ(minY, 10);
  EXPECT_EQ(maxY, 19);
}

TEST(ShapeRasterizerTest, OctantWalksOfLargeAndTableRadii) {
  // The first cell of every step is the octant point offset by the centre.
  const struct {
    int32_t r;
    std::vector<Cell> points;
  } cases[] = {
      {10, {{10, 0}, {10, 1}, {10, 2}, {10, 3}, {10, 4}, {9, 5}, {9, 6}, {8, 7}}},
      {7, {{7, 0}, {7, 1}, {7, 2}, {6, 3}, {5, 4}}},
      {4, {{4, 0}, {4, 1}, {4, 2}, {3, 3}}},
      {1, {{1, 0}}},
  };
  for (const auto& c : cases) {
    ShapeRasterizer::EllipseSteps steps({0, 0}, {2 * c.r, 2 * c.r});
    std::vector<Cell> points;
    while (steps.HasMore() && points.size() < 100) {
      const Cell first = steps.Next()[0];
      points.push_back({first.x - c.r, first.y - c.r});
    }
    EXPECT_EQ(points, c.points) << "r = " << c.r;
  }
}

TEST(ShapeRasterizerTest, HelpersStopAfter200StepsAndSkipCellsOutside) {
  EXPECT_EQ(LineCells({0, 0}, {0, 299}).size(), 200u);
  const std::vector<Cell> up = LineCells({5, 299}, {5, 0});
  ASSERT_EQ(up.size(), 200u);
  EXPECT_EQ(up.front(), (Cell{5, 299}));
  EXPECT_EQ(up.back(), (Cell{5, 100}));
  int32_t ellipseCells = 0;
  ShapeRasterizer::PlotEllipse({0, 0}, {800, 800}, [&](Cell) { ++ellipseCells; });
  EXPECT_EQ(ellipseCells, 200 * 8);

  // A 20 × 3 pattern: 4 bytes per row. The line leaves it on both sides.
  Pattern pattern("P", 20, 3);
  ShapeRasterizer::DrawLineCells(pattern, {-5, 1}, {30, 1}, true);
  for (int32_t x = 0; x < 20; ++x) EXPECT_TRUE(pattern.Pixel(x, 1)) << x;
  EXPECT_EQ(pattern.bits[1 * 4 + 2], 0xF0);
  EXPECT_EQ(pattern.bits[1 * 4 + 3], 0x00);  // padding untouched
  ShapeRasterizer::DrawEllipseCells(pattern, {0, 0}, {4, 2}, false);
  EXPECT_FALSE(pattern.Pixel(0, 1));
  EXPECT_FALSE(pattern.Pixel(4, 1));
  EXPECT_TRUE(pattern.Pixel(5, 1));
}

}  // namespace
}  // namespace zanli
