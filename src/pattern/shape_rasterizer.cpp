#include "pattern/shape_rasterizer.h"

#include <cstdlib>

#include "model/pattern.h"

namespace zanli {

namespace {

using Cell = ShapeRasterizer::Cell;

// Octant points of the small circles, whose midpoint walk looks ragged.
constexpr int32_t kSmallSteps[8] = {1, 1, 2, 3, 4, 4, 5, 5};
constexpr int32_t kSmallX[8][5] = {
    {0}, {1}, {2, 2}, {3, 3, 2}, {4, 4, 4, 3}, {5, 5, 5, 4}, {6, 6, 6, 5, 4}, {7, 7, 7, 6, 5},
};

int32_t Narrow(int64_t v) { return static_cast<int32_t>(v); }

}  // namespace

ShapeRasterizer::LineSteps::LineSteps(Cell start, Cell end) : start_(start) {
  dx_ = int64_t{end.x} - start.x;
  dy_ = int64_t{end.y} - start.y;
  xDrives_ = std::llabs(dx_) > std::llabs(dy_);
  if (xDrives_) {
    // The rounding term makes the driven coordinate land on the nearest cell.
    round_ = dy_ < 0 ? -(dx_ / 2) : dx_ / 2;
    t_ = start.x;
    last_ = end.x;
  } else {
    round_ = dx_ < 0 ? -(dy_ / 2) : dy_ / 2;
    t_ = start.y;
    last_ = end.y;
  }
}

ShapeRasterizer::Cell ShapeRasterizer::LineSteps::Next() {
  Cell cell;
  if (xDrives_) {
    cell = {t_, Narrow(start_.y + (round_ + (int64_t{t_} - start_.x) * dy_) / dx_)};
  } else if (dy_ == 0) {
    cell = {start_.x, t_};
  } else {
    cell = {Narrow(start_.x + (round_ + (int64_t{t_} - start_.y) * dx_) / dy_), t_};
  }
  if (t_ == last_) {
    more_ = false;
  } else {
    const int64_t delta = xDrives_ ? dx_ : dy_;
    t_ += delta > 0 ? 1 : -1;
  }
  return cell;
}

ShapeRasterizer::EllipseSteps::EllipseSteps(Cell start, Cell end) {
  const int64_t sx = int64_t{start.x} + end.x, sy = int64_t{start.y} + end.y;
  cx_ = Narrow(sx / 2);
  cy_ = Narrow(sy / 2);
  ox_ = Narrow(sx % 2);
  oy_ = Narrow(sy % 2);
  rx_ = std::max(start.x, end.x) - cx_;
  ry_ = std::max(start.y, end.y) - cy_;
  r_ = std::max(rx_, ry_);
  x_ = r_;
  y_ = 0;
  d_ = r_;
}

std::array<ShapeRasterizer::Cell, 8> ShapeRasterizer::EllipseSteps::Next() {
  const int64_t X = x_, Y = y_;
  std::array<Cell, 8> cells;
  if (ry_ < rx_) {
    // Flatter than high: squeeze the vertical offsets.
    const int32_t u = Narrow(Y * ry_ / rx_), v = Narrow(X * ry_ / rx_);
    cells = {Cell{Narrow(cx_ + X), cy_ + u},       Cell{Narrow(cx_ + X), cy_ + oy_ - u},
             Cell{Narrow(cx_ + ox_ - X), cy_ + u}, Cell{Narrow(cx_ + ox_ - X), cy_ + oy_ - u},
             Cell{Narrow(cx_ + Y), cy_ + v},       Cell{Narrow(cx_ + Y), cy_ + oy_ - v},
             Cell{Narrow(cx_ + ox_ - Y), cy_ + v}, Cell{Narrow(cx_ + ox_ - Y), cy_ + oy_ - v}};
  } else {
    const int32_t xs = ry_ == 0 ? Narrow(X) : Narrow(X * rx_ / ry_);
    const int32_t ys = ry_ == 0 ? Narrow(Y) : Narrow(Y * rx_ / ry_);
    cells = {Cell{cx_ + xs, Narrow(cy_ + Y)},       Cell{cx_ + xs, Narrow(cy_ + oy_ - Y)},
             Cell{cx_ + ox_ - xs, Narrow(cy_ + Y)}, Cell{cx_ + ox_ - xs, Narrow(cy_ + oy_ - Y)},
             Cell{cx_ + ys, Narrow(cy_ + X)},       Cell{cx_ + ys, Narrow(cy_ + oy_ - X)},
             Cell{cx_ + ox_ - ys, Narrow(cy_ + X)}, Cell{cx_ + ox_ - ys, Narrow(cy_ + oy_ - X)}};
  }
  if (r_ >= 8) {
    d_ += 1 - 2 * y_;
    ++y_;
    if (d_ < 0) {
      d_ += 2 * x_ - 2;
      --x_;
    }
    more_ = x_ >= y_;
  } else {
    ++y_;
    const int32_t r = std::max(r_, 0);
    if (y_ >= kSmallSteps[r])
      more_ = false;
    else
      x_ = kSmallX[r][y_];
  }
  return cells;
}

void ShapeRasterizer::PlotLine(Cell start, Cell end, const std::function<void(Cell)>& plot) {
  LineSteps steps(start, end);
  for (int32_t i = 0; i < kMaxSteps && steps.HasMore(); ++i) plot(steps.Next());
}

void ShapeRasterizer::PlotEllipse(Cell start, Cell end, const std::function<void(Cell)>& plot) {
  EllipseSteps steps(start, end);
  for (int32_t i = 0; i < kMaxSteps && steps.HasMore(); ++i)
    for (const Cell& cell : steps.Next()) plot(cell);
}

void ShapeRasterizer::SetCell(const Bitmap& bitmap, Cell cell, bool ink) {
  if (bitmap.bits == nullptr || cell.x < 0 || cell.y < 0 || cell.x >= bitmap.width || cell.y >= bitmap.height)
    return;
  uint8_t& byte = bitmap.bits[static_cast<size_t>(cell.y) * static_cast<size_t>(bitmap.stride) +
                              static_cast<size_t>(cell.x / 8)];
  const uint8_t mask = static_cast<uint8_t>(0x80 >> (cell.x % 8));
  byte = ink ? static_cast<uint8_t>(byte | mask) : static_cast<uint8_t>(byte & ~mask);
}

void ShapeRasterizer::DrawLineCells(const Bitmap& bitmap, Cell start, Cell end, bool ink) {
  PlotLine(start, end, [&](Cell cell) { SetCell(bitmap, cell, ink); });
}

void ShapeRasterizer::DrawEllipseCells(const Bitmap& bitmap, Cell start, Cell end, bool ink) {
  PlotEllipse(start, end, [&](Cell cell) { SetCell(bitmap, cell, ink); });
}

namespace {

ShapeRasterizer::Bitmap BitmapOf(Pattern& pattern) {
  // A pattern whose buffer is short of its size is treated as empty.
  const size_t needed = pattern.width > 0 && pattern.height > 0
                            ? static_cast<size_t>(pattern.Stride()) * static_cast<size_t>(pattern.height)
                            : 0;
  if (needed == 0 || pattern.bits.size() < needed) return {nullptr, 0, 0, 0};
  return {pattern.bits.data(), pattern.width, pattern.height, pattern.Stride()};
}

}  // namespace

void ShapeRasterizer::DrawLineCells(Pattern& pattern, Cell start, Cell end, bool ink) {
  DrawLineCells(BitmapOf(pattern), start, end, ink);
}

void ShapeRasterizer::DrawEllipseCells(Pattern& pattern, Cell start, Cell end, bool ink) {
  DrawEllipseCells(BitmapOf(pattern), start, end, ink);
}

}  // namespace zanli
