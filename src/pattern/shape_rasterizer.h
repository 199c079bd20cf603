#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace zanli {

class Pattern;

// The cells of the pattern editor's line and ellipse tools, in integer
// arithmetic only. Both shapes are step generators so that a caller can stop
// early; the helpers below stop after kMaxSteps steps, which keeps a drag to a
// far-away cell cheap.
class ShapeRasterizer {
 public:
  struct Cell {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Cell&, const Cell&) = default;
  };

  // A 1-bit bitmap in pattern layout: rows of `stride` bytes, leftmost pixel in
  // bit 7, a set bit is ink. Not owned.
  struct Bitmap {
    uint8_t* bits;
    int32_t width;
    int32_t height;
    int32_t stride;
  };

  static constexpr int32_t kMaxSteps = 200;

  // One cell per step from `start` to `end`, both included; the driven
  // coordinate rounds to the nearest cell, halves away from the start.
  class LineSteps {
   public:
    LineSteps(Cell start, Cell end);
    bool HasMore() const { return more_; }
    // The cell of the current step; then advances. Only while HasMore().
    Cell Next();

   private:
    Cell start_;
    int64_t dx_;
    int64_t dy_;
    int64_t round_;
    int32_t t_;
    int32_t last_;
    bool xDrives_;
    bool more_ = true;
  };

  // Eight cells per step (duplicates possible) of the ellipse inscribed in the
  // box spanned by the two cells: one octant of a circle of the longer radius,
  // scaled along the shorter one and mirrored into the other seven.
  class EllipseSteps {
   public:
    EllipseSteps(Cell start, Cell end);
    bool HasMore() const { return more_; }
    std::array<Cell, 8> Next();

   private:
    int32_t cx_, cy_, ox_, oy_, rx_, ry_, r_;
    int32_t x_, y_, d_;
    bool more_ = true;
  };

  // Feeds the cells of at most kMaxSteps steps to `plot`, unclipped.
  static void PlotLine(Cell start, Cell end, const std::function<void(Cell)>& plot);
  static void PlotEllipse(Cell start, Cell end, const std::function<void(Cell)>& plot);

  // Sets (ink) or clears the shape's cells in a bitmap; cells outside it are
  // skipped.
  static void DrawLineCells(const Bitmap& bitmap, Cell start, Cell end, bool ink);
  static void DrawEllipseCells(const Bitmap& bitmap, Cell start, Cell end, bool ink);
  static void DrawLineCells(Pattern& pattern, Cell start, Cell end, bool ink);
  static void DrawEllipseCells(Pattern& pattern, Cell start, Cell end, bool ink);

  // The bitmap setter the helpers use: ignores cells outside the bitmap.
  static void SetCell(const Bitmap& bitmap, Cell cell, bool ink);
};

}  // namespace zanli
