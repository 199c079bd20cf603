#include "kicad/kicad_unit_layout.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <tuple>

#include "kicad/kicad_limits.h"
#include "kicad/kicad_outline_drawer.h"
#include "kicad/kicad_symbol_reader.h"
#include "kicad/kicad_text.h"
#include "pattern/pattern_size_rule.h"

namespace zanli {

namespace {

using Note = KicadNote;
using NoteKind = KicadNote::Kind;
constexpr int64_t G = KicadLimits::kGrid;

// Whole degrees of a pin's direction; -1 when it is not whole.
int32_t Degrees(const KicadPin& pin) {
  return pin.angle % KicadLimits::kUnitsPerMm == 0
             ? static_cast<int32_t>(pin.angle / KicadLimits::kUnitsPerMm)
             : -1;
}

PinEdge EdgeOf(int32_t angle) {
  // A pin points away from its side: pointing right, it stands on the left.
  switch (angle) {
    case 0:
      return PinEdge::Left;
    case 90:
      return PinEdge::Bottom;
    case 180:
      return PinEdge::Right;
    default:
      return PinEdge::Top;
  }
}

KicadPoint Direction(int32_t angle) {
  return angle == 0     ? KicadPoint{1, 0}
         : angle == 90  ? KicadPoint{0, 1}
         : angle == 180 ? KicadPoint{-1, 0}
                        : KicadPoint{0, -1};
}

// The library's flags for a KiCad pin shape; `exact` is false for shapes it
// can only come near.
int32_t FlagsOf(const std::string& shape, bool& exact) {
  exact = true;
  if (shape == "line") return 0;
  if (shape == "inverted") return PinFlag::NegativeLogic;
  if (shape == "clock") return PinFlag::Clock;
  if (shape == "inverted_clock") return PinFlag::Clock | PinFlag::NegativeLogic;
  exact = false;
  if (shape == "input_low" || shape == "output_low") return PinFlag::NegativeLogic;
  if (shape == "clock_low") return PinFlag::Clock | PinFlag::NegativeLogic;
  if (shape == "edge_clock_high") return PinFlag::Clock;
  return 0;
}

bool Int(const std::string& text, int32_t& value) {
  int64_t units = 0;
  if (!KicadSymbolReader::ParseNumber(text, 100000 * KicadLimits::kUnitsPerMm, units) ||
      units % KicadLimits::kUnitsPerMm != 0)
    return false;
  value = static_cast<int32_t>(units / KicadLimits::kUnitsPerMm);
  return true;
}

}  // namespace

KicadUnitLayout::Stated::Stated(const KicadSymbol& symbol) {
  if (const KicadProperty* p = symbol.FindProperty("Zanli.Body")) {
    std::istringstream in(p->value);
    std::string left, top, x, y;
    in >> left >> top >> x >> y;
    body.valid = KicadSymbolReader::ParseNumber(left, KicadLimits::kMaxCoordinate, body.left) &&
                 KicadSymbolReader::ParseNumber(top, KicadLimits::kMaxCoordinate, body.top) &&
                 Int(x, body.xSize) && Int(y, body.ySize);
  }
  if (const KicadProperty* p = symbol.FindProperty("Zanli.Pattern")) {
    std::istringstream in(p->value);
    std::string w, h;
    in >> patternName >> w >> h;
    hasPattern = Int(w, patternWidth) && Int(h, patternHeight) && patternWidth > 0 && patternHeight > 0 &&
                 static_cast<int64_t>(Pattern::StrideFor(patternWidth)) * patternHeight <= 32000;
  }
  if (const KicadProperty* p = symbol.FindProperty("Zanli.NumberNearBody")) {
    std::istringstream in(p->value);
    std::string place;
    while (in >> place) {
      const std::string edges = "LTRB";
      int32_t position = 0;
      const size_t edge = place.empty() ? std::string::npos : edges.find(place[0]);
      if (edge != std::string::npos && Int(place.substr(1), position))
        nearBody.emplace_back(static_cast<PinEdge>(edge), position);
    }
  }
}

void KicadUnitLayout::Listed::Add(const std::string& item) {
  if (seen.insert(item).second) items.push_back(item);
}

std::string KicadUnitLayout::Join(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out.append(out.empty() ? "" : ", ").append(item);
  return out;
}

std::vector<size_t> KicadUnitLayout::ByPlace() const {
  std::vector<size_t> order(pins.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [this](size_t a, size_t b) {
    return std::pair(pins[a].edge, pins[a].position) < std::pair(pins[b].edge, pins[b].position);
  });
  return order;
}

bool KicadUnitLayout::SameAs(const KicadUnitLayout& other) const {
  if (xSize != other.xSize || ySize != other.ySize || pins.size() != other.pins.size()) return false;
  const std::vector<size_t> mine = ByPlace(), theirs = other.ByPlace();
  for (size_t i = 0; i < pins.size(); ++i) {
    const LaidPin &a = pins[mine[i]], &b = other.pins[theirs[i]];
    if (a.name != b.name || a.flags != b.flags || a.edge != b.edge || a.position != b.position) return false;
  }
  if ((pattern == nullptr) != (other.pattern == nullptr)) return false;
  return pattern == nullptr || PatternsEqual(*pattern, *other.pattern);
}

bool KicadUnitLayout::Make(const KicadSymbol& symbol, const Stated& stated,
                           const std::vector<const KicadPin*>& own,
                           const std::vector<const KicadPin*>& attached,
                           const std::vector<const KicadGraphic*>& graphics, KicadUnitLayout& layout,
                           Collected& collected, KicadNote& refusal) {
  struct Source {
    const KicadPin* pin;
    bool attached;
  };
  std::vector<Source> all;
  for (const KicadPin* pin : own) all.push_back({pin, false});
  for (const KicadPin* pin : attached) all.push_back({pin, true});
  for (const Source& s : all) {
    const int32_t degrees = Degrees(*s.pin);
    if (degrees != 0 && degrees != 90 && degrees != 180 && degrees != 270) {
      refusal = Note{NoteKind::PinDirection, s.pin->number, {}, degrees};
      return false;
    }
  }
  // Pins stacked on one place become the first visible one of them.
  std::vector<Source> kept;
  std::vector<std::vector<const KicadPin*>> stackedWith;
  std::map<std::tuple<bool, int64_t, int64_t>, size_t> placeOf;
  for (const Source& s : all) {
    const auto [found, added] =
        placeOf.emplace(std::tuple(s.attached, s.pin->at.x, s.pin->at.y), kept.size());
    const size_t k = found->second;
    if (added) {
      kept.push_back(s);
      stackedWith.emplace_back();
    } else if (kept[k].pin->hidden && !s.pin->hidden) {
      stackedWith[k].push_back(kept[k].pin);
      kept[k] = s;
    } else {
      stackedWith[k].push_back(s.pin);
    }
  }
  for (size_t k = 0; k < kept.size(); ++k) {
    if (stackedWith[k].empty()) continue;
    std::vector<std::string> numbers;
    for (const KicadPin* pin : stackedWith[k]) numbers.push_back(pin->number);
    Note note{NoteKind::StackedPins, kept[k].pin->number, Join(numbers)};
    // Pins every unit shares stack alike in each; one note says it.
    if (collected.stackedKeys.seen.insert(note.text + '\n' + note.detail).second)
      collected.stacked.push_back(note);
  }

  std::vector<KicadPinPlacer::Pin> placing;
  for (const Source& s : kept) placing.push_back({EdgeOf(Degrees(*s.pin)), s.pin->at, s.attached});
  const bool plain = !stated.hasPattern && KicadOutlineDrawer::IsPlainRectangle(graphics);
  const KicadPinPlacer::Result placed =
      KicadPinPlacer::Place(placing, KicadOutlineDrawer::Extent(graphics), stated.body);
  if (placed.refused) {
    refusal = Note{NoteKind::TooManyPlaces, {}, {}, placed.places};
    return false;
  }
  layout.xSize = placed.xSize;
  layout.ySize = placed.ySize;
  collected.largestMove = std::max(collected.largestMove, placed.largestMove);
  collected.movedPins += placed.movedPins;

  std::vector<KicadOutlineDrawer::Segment> stubs;
  for (size_t k = 0; k < kept.size(); ++k) {
    const KicadPin& pin = *kept[k].pin;
    LaidPin laid;
    bool changed = false;
    laid.name = KicadText::PinNameFromKicad(pin.name, changed);
    bool exactShape = true;
    laid.flags = FlagsOf(pin.shape, exactShape);
    laid.edge = placing[k].edge;
    laid.position = placed.pins[k].position;
    const std::string number = KicadText::AsciiFromKicad(pin.number, changed);
    if (!number.empty()) {
      const bool hidden = pin.hidden || pin.numberHidden || symbol.pinNumbersHidden;
      laid.number.assign(1, hidden ? 'H' : 'D').append(number);
    }
    for (const auto& [edge, position] : stated.nearBody)
      if (edge == laid.edge && position == laid.position) laid.flags |= PinFlag::NumberNearBody;
    if (changed) collected.characterPins.Add(pin.number);
    if (!exactShape) collected.shapes.Add(pin.shape);
    collected.types.Add(pin.electricalType);
    if (pin.hidden) collected.hiddenPins.Add(pin.number);
    collected.alternates += pin.alternates;
    layout.pins.push_back(std::move(laid));
    // The inner part of a pin longer than the library's one step.
    if (!pin.hidden && !kept[k].attached && pin.length > G) {
      const KicadPoint d = Direction(Degrees(pin));
      const KicadPoint at = placed.pins[k].at;
      stubs.push_back({{at.x + d.x * G, at.y + d.y * G}, {at.x + d.x * pin.length, at.y + d.y * pin.length}});
    }
  }
  size_t drawn = 0;
  for (const KicadGraphic* g : graphics) drawn += g->kind != KicadGraphic::Kind::Text;
  collected.texts += graphics.size() - drawn;
  // The library's own export states its pattern, even one without ink.
  if (!stated.hasPattern && (plain || drawn == 0)) return true;
  int32_t width = 10 * placed.xSize + 1;
  int32_t height = 10 * placed.ySize + 1;
  if (stated.hasPattern) {
    width = stated.patternWidth, height = stated.patternHeight;
    stubs.clear();
  } else if (placed.xSize > PatternSizeRule::kMaxSteps ||
             int64_t{(width + 7) / 8} * height >= PatternSizeRule::kMaxBitmapBytes) {
    // Larger than the pattern editor makes: the plain outline stands in.
    collected.tooLarge = true;
    collected.tooLargeX = std::max<int64_t>(collected.tooLargeX, placed.xSize);
    collected.tooLargeY = std::max<int64_t>(collected.tooLargeY, placed.ySize);
    return true;
  }
  layout.pattern = std::make_unique<Pattern>(std::string(), width, height);
  collected.drawingCut |= KicadOutlineDrawer::Draw(graphics, stubs, placed.left, placed.top, *layout.pattern);
  return true;
}

}  // namespace zanli
