#include "kicad/kicad_pin_placer.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "kicad/kicad_limits.h"

namespace zanli {

namespace {

constexpr int64_t G = KicadLimits::kGrid;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int64_t FloorMod(int64_t a) { return a - FloorDiv(a, G) * G; }
// Grid lines through `offset`: the nearest, the one at or below, at or above.
int64_t Snap(int64_t v, int64_t offset) { return offset + FloorDiv(v - offset + G / 2, G) * G; }
int64_t FloorTo(int64_t v, int64_t offset) { return offset + FloorDiv(v - offset, G) * G; }
int64_t CeilTo(int64_t v, int64_t offset) { return offset - FloorDiv(offset - v, G) * G; }

bool Horizontal(PinEdge edge) { return edge == PinEdge::Top || edge == PinEdge::Bottom; }

// The value most of them share; among equals the one `better` prefers.
template <typename Better>
int64_t Mode(const std::vector<int64_t>& values, const Better& better) {
  std::map<int64_t, size_t> counts;
  for (int64_t v : values) ++counts[v];
  int64_t best = values.front();
  size_t bestCount = 0;
  for (const auto& [value, count] : counts)
    if (count > bestCount || (count == bestCount && better(value, best))) best = value, bestCount = count;
  return best;
}

}  // namespace

KicadPinPlacer::Result KicadPinPlacer::Place(const std::vector<Pin>& pins, const Box& drawing,
                                             const Body& stated) {
  Result result;
  // The grid: the offset most pins share, the pins of this unit first.
  std::vector<int64_t> xs, ys;
  for (const Pin& pin : pins)
    if (!pin.attached) xs.push_back(FloorMod(pin.at.x)), ys.push_back(FloorMod(pin.at.y));
  if (xs.empty())
    for (const Pin& pin : pins) xs.push_back(FloorMod(pin.at.x)), ys.push_back(FloorMod(pin.at.y));
  const auto lower = [](int64_t a, int64_t b) { return a < b; };
  const int64_t ox = xs.empty() ? 0 : Mode(xs, lower);
  const int64_t oy = ys.empty() ? 0 : Mode(ys, lower);

  // Each side's line: the across coordinate most of its own pins share, the
  // outermost among equals.
  std::optional<int64_t> edge[4];  // Left, Top, Right, Bottom: x, y, x, y of the body
  for (int side = 0; side < 4; ++side) {
    std::vector<int64_t> across;
    for (const Pin& pin : pins)
      if (!pin.attached && static_cast<int>(pin.edge) == side)
        across.push_back(Horizontal(pin.edge) ? pin.at.y : pin.at.x);
    if (across.empty()) continue;
    const auto outer = [side](int64_t a, int64_t b) { return side == 0 || side == 3 ? a < b : a > b; };
    const bool vertical = side == 0 || side == 2;
    const int64_t line = Snap(Mode(across, outer), vertical ? ox : oy);
    edge[side] = side == 0 || side == 3 ? line + G : line - G;
  }
  const bool defined[4] = {edge[0].has_value(), edge[1].has_value(), edge[2].has_value(),
                           edge[3].has_value()};

  int64_t L, T, R, B;
  const bool agrees = stated.valid && stated.xSize >= 1 && stated.ySize >= 1 &&
                      (!defined[0] || *edge[0] == stated.left) && (!defined[1] || *edge[1] == stated.top) &&
                      (!defined[2] || *edge[2] == stated.left + stated.xSize * G) &&
                      (!defined[3] || *edge[3] == stated.top - stated.ySize * G);
  if (agrees) {
    L = stated.left, T = stated.top, R = L + stated.xSize * G, B = T - stated.ySize * G;
  } else {
    // Sides without pins: the drawing's extent, and the pins across them.
    std::optional<int64_t> minX, maxX, minY, maxY;
    if (drawing.valid) {
      minX = FloorTo(drawing.min.x, ox), maxX = CeilTo(drawing.max.x, ox);
      minY = FloorTo(drawing.min.y, oy), maxY = CeilTo(drawing.max.y, oy);
    }
    for (const Pin& pin : pins) {
      if (Horizontal(pin.edge)) {
        const int64_t x = Snap(pin.at.x, ox);
        minX = std::min(minX.value_or(x), x), maxX = std::max(maxX.value_or(x), x);
      } else {
        const int64_t y = Snap(pin.at.y, oy);
        minY = std::min(minY.value_or(y), y), maxY = std::max(maxY.value_or(y), y);
      }
    }
    L = edge[0].value_or(minX.value_or(edge[2].value_or(0) - G));
    R = edge[2].value_or(maxX.value_or(L + G));
    T = edge[1].value_or(maxY.value_or(edge[3].value_or(0) + G));
    B = edge[3].value_or(minY.value_or(T - G));
    // At least one step each way; a side without pins gives way first.
    if (R - L < G) {
      if (!defined[2] || defined[0])
        R = L + G;
      else
        L = R - G;
    }
    if (T - B < G) {
      if (!defined[3] || defined[1])
        B = T - G;
      else
        T = B + G;
    }
  }

  // Room for every pin of a side, one place each.
  size_t count[4] = {0, 0, 0, 0};
  for (const Pin& pin : pins) ++count[static_cast<int>(pin.edge)];
  const auto needY = static_cast<int64_t>(std::max(count[0], count[2])) - 1;
  const auto needX = static_cast<int64_t>(std::max(count[1], count[3])) - 1;
  if ((T - B) / G < needY) B = T - needY * G;
  if ((R - L) / G < needX) R = L + needX * G;
  const int64_t xSize = (R - L) / G;
  const int64_t ySize = (T - B) / G;
  if (xSize > KicadLimits::kMaxBodySide || ySize > KicadLimits::kMaxBodySide) {
    result.refused = true;
    result.places = std::max(xSize, ySize) + 1;
    return result;
  }
  result.xSize = static_cast<int32_t>(xSize);
  result.ySize = static_cast<int32_t>(ySize);
  result.left = L;
  result.top = T;

  // Places along each side, in the pins' order: the nearest free one.
  result.pins.resize(pins.size());
  for (int side = 0; side < 4; ++side) {
    std::vector<size_t> order;
    for (size_t i = 0; i < pins.size(); ++i)
      if (static_cast<int>(pins[i].edge) == side) order.push_back(i);
    if (order.empty()) continue;
    const bool horizontal = side == 1 || side == 3;
    const auto along = [&](size_t i) { return horizontal ? pins[i].at.x - L : T - pins[i].at.y; };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return along(a) < along(b); });
    const int64_t length = horizontal ? xSize : ySize;
    std::vector<int64_t> place(order.size());
    for (size_t k = 0; k < order.size(); ++k) {
      const int64_t wanted = FloorDiv(along(order[k]) + G / 2, G);
      place[k] = std::max(wanted, k == 0 ? int64_t{0} : place[k - 1] + 1);
    }
    for (size_t k = order.size(); k-- > 0;)
      place[k] = std::min(place[k], k + 1 == order.size() ? length : place[k + 1] - 1);
    for (size_t k = 0; k < order.size(); ++k) {
      const Pin& pin = pins[order[k]];
      Placed& placed = result.pins[order[k]];
      placed.position = static_cast<int32_t>(place[k]);
      const int64_t p = place[k] * G;
      switch (pin.edge) {
        case PinEdge::Left:
          placed.at = {L - G, T - p};
          break;
        case PinEdge::Right:
          placed.at = {R + G, T - p};
          break;
        case PinEdge::Top:
          placed.at = {L + p, T + G};
          break;
        case PinEdge::Bottom:
          placed.at = {L + p, B - G};
          break;
      }
      const double dx = static_cast<double>(placed.at.x - pin.at.x);
      const double dy = static_cast<double>(placed.at.y - pin.at.y);
      placed.moved = pin.attached ? static_cast<int64_t>(std::llround(std::fabs(horizontal ? dx : dy)))
                                  : static_cast<int64_t>(std::llround(std::hypot(dx, dy)));
      if (placed.moved > 0) {
        ++result.movedPins;
        result.largestMove = std::max(result.largestMove, placed.moved);
      }
    }
  }
  return result;
}

}  // namespace zanli
