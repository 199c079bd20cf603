#include "kicad/kicad_outline_drawer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "kicad/kicad_limits.h"
#include "model/pattern.h"
#include "pattern/shape_rasterizer.h"

namespace zanli {

namespace {

using Kind = KicadGraphic::Kind;
using Fill = KicadGraphic::Fill;

constexpr double kUnitsPerPixel = static_cast<double>(KicadLimits::kGrid) / KicadLimits::kPixelsPerGrid;

struct Vec {
  double x = 0;
  double y = 0;
};

// A graphic as closed or open point lists in the symbol's frame.
std::vector<Vec> ArcPoints(const KicadGraphic& arc) {
  const Vec a{static_cast<double>(arc.points[0].x), static_cast<double>(arc.points[0].y)};
  const Vec m{static_cast<double>(arc.points[1].x), static_cast<double>(arc.points[1].y)};
  const Vec b{static_cast<double>(arc.points[2].x), static_cast<double>(arc.points[2].y)};
  const double d = 2 * (a.x * (m.y - b.y) + m.x * (b.y - a.y) + b.x * (a.y - m.y));
  if (std::fabs(d) < 1e-6) return {a, m, b};  // a straight "arc"
  const double a2 = a.x * a.x + a.y * a.y, m2 = m.x * m.x + m.y * m.y, b2 = b.x * b.x + b.y * b.y;
  const Vec c{(a2 * (m.y - b.y) + m2 * (b.y - a.y) + b2 * (a.y - m.y)) / d,
              (a2 * (b.x - m.x) + m2 * (a.x - b.x) + b2 * (m.x - a.x)) / d};
  const double r = std::hypot(a.x - c.x, a.y - c.y);
  const double twoPi = 2 * std::numbers::pi;
  const auto angle = [&](Vec p) { return std::atan2(p.y - c.y, p.x - c.x); };
  const auto ccw = [&](double from, double to) {
    return std::fmod(std::fmod(to - from, twoPi) + twoPi, twoPi);
  };
  const double start = angle(a);
  double sweep = ccw(start, angle(b));
  if (ccw(start, angle(m)) > sweep) sweep -= twoPi;  // the arc runs clockwise through its middle
  const int steps = std::clamp(static_cast<int>(std::fabs(sweep) * r / kUnitsPerPixel / 2), 4, 256);
  std::vector<Vec> points;
  for (int i = 0; i <= steps; ++i) {
    const double t = start + sweep * i / steps;
    points.push_back({c.x + r * std::cos(t), c.y + r * std::sin(t)});
  }
  return points;
}

std::vector<Vec> CirclePoints(const KicadGraphic& circle) {
  const double r = static_cast<double>(circle.radius);
  const int steps = std::clamp(static_cast<int>(2 * std::numbers::pi * r / kUnitsPerPixel / 2), 8, 256);
  std::vector<Vec> points;
  for (int i = 0; i <= steps; ++i) {
    const double t = 2 * std::numbers::pi * i / steps;
    points.push_back({static_cast<double>(circle.points[0].x) + r * std::cos(t),
                      static_cast<double>(circle.points[0].y) + r * std::sin(t)});
  }
  return points;
}

std::vector<Vec> BezierPoints(const KicadGraphic& curve) {
  std::vector<Vec> points;
  const auto& p = curve.points;
  if (p.empty()) return points;
  points.push_back({static_cast<double>(p[0].x), static_cast<double>(p[0].y)});
  for (size_t i = 0; i + 3 < p.size(); i += 3) {
    for (int s = 1; s <= 16; ++s) {
      const double t = s / 16.0, u = 1 - t;
      const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
      points.push_back({w0 * p[i].x + w1 * p[i + 1].x + w2 * p[i + 2].x + w3 * p[i + 3].x,
                        w0 * p[i].y + w1 * p[i + 1].y + w2 * p[i + 2].y + w3 * p[i + 3].y});
    }
  }
  return points;
}

std::vector<Vec> Outline(const KicadGraphic& graphic) {
  std::vector<Vec> points;
  switch (graphic.kind) {
    case Kind::Rectangle: {
      const auto& a = graphic.points[0];
      const auto& b = graphic.points[1];
      for (const KicadPoint& p : {a, KicadPoint{b.x, a.y}, b, KicadPoint{a.x, b.y}, a})
        points.push_back({static_cast<double>(p.x), static_cast<double>(p.y)});
      return points;
    }
    case Kind::Polyline:
      for (const KicadPoint& p : graphic.points)
        points.push_back({static_cast<double>(p.x), static_cast<double>(p.y)});
      return points;
    case Kind::Circle:
      return CirclePoints(graphic);
    case Kind::Arc:
      return ArcPoints(graphic);
    case Kind::Bezier:
      return BezierPoints(graphic);
    case Kind::Text:
      break;
  }
  return points;
}

// Draws into the pattern's pixel grid; pixel centres lie on whole numbers.
class Canvas {
 public:
  Canvas(Pattern& pattern, int64_t left, int64_t top) : pattern_(pattern), left_(left), top_(top) {}

  Vec ToPixels(Vec p) const {
    return {(p.x - static_cast<double>(left_)) / kUnitsPerPixel,
            (static_cast<double>(top_) - p.y) / kUnitsPerPixel};
  }

  void Line(Vec a, Vec b) {
    a = ToPixels(a), b = ToPixels(b);
    const double w = pattern_.width, h = pattern_.height;
    const auto outside = [&](Vec p) { return p.x < -0.5 || p.y < -0.5 || p.x > w - 0.5 || p.y > h - 0.5; };
    cut_ |= outside(a) || outside(b);
    if (!Clip(a, b, -1, -1, w, h)) return;
    ShapeRasterizer::LineSteps steps(
        {static_cast<int32_t>(std::lround(a.x)), static_cast<int32_t>(std::lround(a.y))},
        {static_cast<int32_t>(std::lround(b.x)), static_cast<int32_t>(std::lround(b.y))});
    while (steps.HasMore() && Spend(1)) Set(steps.Next());
  }

  void Polyline(const std::vector<Vec>& points) {
    for (size_t i = 1; i < points.size(); ++i) Line(points[i - 1], points[i]);
    if (points.size() == 1) Line(points[0], points[0]);
  }

  // Pixels whose centres lie inside the polygon (even-odd), edges half open,
  // so abutting shapes share no pixel and a rectangle drawn around pixel
  // centres gives back exactly those pixels.
  void Fill(const std::vector<Vec>& polygon) {
    std::vector<Vec> p;
    for (const Vec& v : polygon) p.push_back(ToPixels(v));
    if (p.size() < 3) return;
    double minY = p[0].y, maxY = p[0].y;
    for (const Vec& v : p) minY = std::min(minY, v.y), maxY = std::max(maxY, v.y);
    cut_ |= minY < -0.5 || maxY > pattern_.height - 0.5;
    const int32_t first = std::max<int32_t>(0, static_cast<int32_t>(std::ceil(std::max(minY, -1.0))));
    const int32_t last =
        std::min<int32_t>(pattern_.height - 1, static_cast<int32_t>(std::floor(std::min(maxY, 1e7))));
    std::vector<double> xs;
    if (last >= first && !Spend(static_cast<uint64_t>(last - first + 1) * p.size())) return;
    for (int32_t y = first; y <= last; ++y) {
      xs.clear();
      for (size_t i = 0; i < p.size(); ++i) {
        const Vec& a = p[i];
        const Vec& b = p[(i + 1) % p.size()];
        if ((y >= a.y && y < b.y) || (y >= b.y && y < a.y))
          xs.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
      }
      std::sort(xs.begin(), xs.end());
      for (size_t k = 0; k + 1 < xs.size(); k += 2) {
        cut_ |= xs[k] < -0.5 || xs[k + 1] > pattern_.width - 0.5;
        const double from = std::max(std::ceil(xs[k]), 0.0);
        const double to = std::min(std::ceil(xs[k + 1]) - 1, static_cast<double>(pattern_.width - 1));
        for (auto x = static_cast<int32_t>(from); x <= static_cast<int32_t>(to); ++x)
          pattern_.SetPixel(x, y, true);
      }
    }
  }

  bool Cut() const { return cut_; }

 private:
  // A drawing of real symbols costs thousands of steps; a hostile one (a
  // hundred thousand points zig-zagging across a tall bitmap) could cost
  // billions. Past the budget nothing more is drawn, and that counts as cut.
  static constexpr uint64_t kBudget = uint64_t{50} << 20;
  bool Spend(uint64_t steps) {
    if (steps > budget_) {
      budget_ = 0;
      cut_ = true;
      return false;
    }
    budget_ -= steps;
    return true;
  }

  void Set(ShapeRasterizer::Cell cell) {
    if (cell.x >= 0 && cell.y >= 0 && cell.x < pattern_.width && cell.y < pattern_.height)
      pattern_.SetPixel(cell.x, cell.y, true);
  }

  // Liang-Barsky: keeps the part of a-b inside the box; false when none is.
  static bool Clip(Vec& a, Vec& b, double x0, double y0, double x1, double y1) {
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - x0, x1 - a.x, a.y - y0, y1 - a.y};
    for (int i = 0; i < 4; ++i) {
      if (p[i] == 0) {
        if (q[i] < 0) return false;
        continue;
      }
      const double t = q[i] / p[i];
      if (p[i] < 0)
        t0 = std::max(t0, t);
      else
        t1 = std::min(t1, t);
      if (t0 > t1) return false;
    }
    const Vec start{a.x + t0 * dx, a.y + t0 * dy};
    b = {a.x + t1 * dx, a.y + t1 * dy};
    a = start;
    return true;
  }

  Pattern& pattern_;
  int64_t left_;
  int64_t top_;
  bool cut_ = false;
  uint64_t budget_ = kBudget;
};

}  // namespace

KicadPinPlacer::Box KicadOutlineDrawer::Extent(const std::vector<const KicadGraphic*>& graphics) {
  KicadPinPlacer::Box box;
  const auto add = [&box](int64_t x, int64_t y) {
    if (!box.valid) {
      box.valid = true;
      box.min = box.max = {x, y};
      return;
    }
    box.min = {std::min(box.min.x, x), std::min(box.min.y, y)};
    box.max = {std::max(box.max.x, x), std::max(box.max.y, y)};
  };
  for (const KicadGraphic* graphic : graphics) {
    if (graphic->kind == Kind::Text) continue;
    if (graphic->kind == Kind::Circle) {
      const KicadPoint c = graphic->points[0];
      add(c.x - graphic->radius, c.y - graphic->radius);
      add(c.x + graphic->radius, c.y + graphic->radius);
    } else if (graphic->kind == Kind::Arc) {
      for (const Vec& v : ArcPoints(*graphic)) add(std::llround(v.x), std::llround(v.y));
    } else {
      for (const KicadPoint& p : graphic->points) add(p.x, p.y);
    }
  }
  return box;
}

bool KicadOutlineDrawer::IsPlainRectangle(const std::vector<const KicadGraphic*>& graphics) {
  const KicadGraphic* shape = nullptr;
  for (const KicadGraphic* graphic : graphics) {
    if (graphic->kind == Kind::Text) continue;
    if (shape != nullptr) return false;
    shape = graphic;
  }
  if (shape == nullptr || shape->fill == Fill::Outline) return false;
  if (shape->kind == Kind::Rectangle)
    return shape->points[0].x != shape->points[1].x && shape->points[0].y != shape->points[1].y;
  if (shape->kind != Kind::Polyline) return false;
  std::vector<KicadPoint> p = shape->points;
  if (p.size() == 5 && p.front() == p.back()) p.pop_back();
  if (p.size() != 4) return false;
  // Four corners, each side along an axis, enclosing some area.
  for (size_t i = 0; i < 4; ++i) {
    const KicadPoint& a = p[i];
    const KicadPoint& b = p[(i + 1) % 4];
    if ((a.x == b.x) == (a.y == b.y)) return false;
  }
  return p[0].x != p[2].x && p[0].y != p[2].y;
}

bool KicadOutlineDrawer::Draw(const std::vector<const KicadGraphic*>& graphics,
                              const std::vector<Segment>& segments, int64_t left, int64_t top,
                              Pattern& pattern) {
  Canvas canvas(pattern, left, top);
  for (const KicadGraphic* graphic : graphics) {
    const std::vector<Vec> outline = Outline(*graphic);
    if (outline.empty()) continue;
    if (graphic->fill == Fill::Outline) canvas.Fill(outline);
    // A solid rectangle's edge is its fill's edge; drawing it as a line
    // would put ink half a pixel outside.
    if (graphic->fill != Fill::Outline || graphic->kind != Kind::Rectangle) canvas.Polyline(outline);
  }
  for (const Segment& segment : segments)
    canvas.Line({static_cast<double>(segment.from.x), static_cast<double>(segment.from.y)},
                {static_cast<double>(segment.to.x), static_cast<double>(segment.to.y)});
  return canvas.Cut();
}

}  // namespace zanli
