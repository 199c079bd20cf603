#include "kicad/kicad_importer.h"

#include <algorithm>
#include <set>
#include <sstream>
#include <tuple>
#include <unordered_set>

#include "kicad/kicad_limits.h"
#include "kicad/kicad_names.h"
#include "kicad/kicad_outline_drawer.h"
#include "kicad/kicad_pin_placer.h"
#include "kicad/kicad_symbol_reader.h"
#include "kicad/kicad_text.h"
#include "model/names.h"
#include "model/pattern.h"
#include "pattern/pattern_size_rule.h"

namespace zanli {

namespace {

using Note = KicadNote;
using NoteKind = KicadNote::Kind;
constexpr int64_t G = KicadLimits::kGrid;

// Names the import has given, together with those the caller says are taken.
class TakenNames : public NameLookup {
 public:
  explicit TakenNames(const NameLookup* outside) : outside_(outside) {}
  bool IsNameTaken(std::string_view name) const override {
    return own_.IsNameTaken(name) || (outside_ != nullptr && outside_->IsNameTaken(name));
  }
  std::string Take(const std::string& valid, size_t maxLength) {
    // Names are only added here, so the lowest free number of a name never
    // falls: the search goes on from where it stopped.
    unsigned long long& next = next_[valid];
    std::string name = KicadNames::UniqueName(valid, maxLength, *this, next == 0 ? 1 : next);
    if (name != valid) next = std::stoull(name.substr(name.rfind('_') + 1)) + 1;
    own_.Add(name);
    return name;
  }

 private:
  const NameLookup* outside_;
  NameSet own_;
  std::unordered_map<std::string, unsigned long long> next_;
};

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

bool IsPowerPin(const KicadPin& pin) {
  return pin.electricalType == "power_in" || pin.electricalType == "power_out";
}

// Texts in the order first seen, each once; a symbol may have thousands.
struct Listed {
  std::vector<std::string> items;
  std::unordered_set<std::string> seen;
  void Add(const std::string& item) {
    if (seen.insert(item).second) items.push_back(item);
  }
};

std::string Join(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out.append(out.empty() ? "" : ", ").append(item);
  return out;
}

// The facts the library's own export writes as hidden properties, so that
// what it wrote comes back exactly.
struct Stated {
  KicadPinPlacer::Body body;
  bool hasPattern = false;
  std::string patternName;
  int32_t patternWidth = 0;
  int32_t patternHeight = 0;
  std::vector<std::pair<PinEdge, int32_t>> nearBody;

  static bool Int(const std::string& text, int32_t& value) {
    int64_t units = 0;
    if (!KicadSymbolReader::ParseNumber(text, 100000 * KicadLimits::kUnitsPerMm, units) ||
        units % KicadLimits::kUnitsPerMm != 0)
      return false;
    value = static_cast<int32_t>(units / KicadLimits::kUnitsPerMm);
    return true;
  }

  explicit Stated(const KicadSymbol& symbol) {
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
};

// What the symbol's notes collect over all its units.
struct Collected {
  Listed hiddenPins, types, shapes, characterPins, stackedKeys;
  size_t alternates = 0;
  size_t texts = 0;
  bool drawingCut = false;
  bool tooLarge = false;
  int64_t tooLargeX = 0, tooLargeY = 0;
  int64_t largestMove = 0;
  size_t movedPins = 0;
  std::vector<Note> stacked;
};

// One unit laid out as a body.
struct Layout {
  struct LaidPin {
    std::string name;
    int32_t flags = 0;
    PinEdge edge = PinEdge::Left;
    int32_t position = 0;
    std::string number;  // with its display letter
  };
  int32_t xSize = 1, ySize = 1;
  std::vector<LaidPin> pins;  // sorted by edge and position
  std::unique_ptr<Pattern> pattern;

  // The pins by place; the file's order stays in `pins`.
  std::vector<size_t> ByPlace() const {
    std::vector<size_t> order(pins.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [this](size_t a, size_t b) {
      return std::pair(pins[a].edge, pins[a].position) < std::pair(pins[b].edge, pins[b].position);
    });
    return order;
  }

  // Same places, names and flags, same drawing: the units are blocks.
  bool SameAs(const Layout& other) const {
    if (xSize != other.xSize || ySize != other.ySize || pins.size() != other.pins.size()) return false;
    const std::vector<size_t> mine = ByPlace(), theirs = other.ByPlace();
    for (size_t i = 0; i < pins.size(); ++i) {
      const LaidPin &a = pins[mine[i]], &b = other.pins[theirs[i]];
      if (a.name != b.name || a.flags != b.flags || a.edge != b.edge || a.position != b.position)
        return false;
    }
    if ((pattern == nullptr) != (other.pattern == nullptr)) return false;
    return pattern == nullptr || (PatternsEqual(*pattern, *other.pattern));
  }
};

struct UnitContent {
  std::vector<const KicadPin*> pins;
  std::vector<const KicadGraphic*> graphics;
  bool present = false;
};

// Lays out one unit, or says why it cannot be drawn.
bool LayOut(const KicadSymbol& symbol, const Stated& stated, const std::vector<const KicadPin*>& own,
            const std::vector<const KicadPin*>& attached, const std::vector<const KicadGraphic*>& graphics,
            Layout& layout, Collected& collected, Note& refusal) {
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
    Layout::LaidPin laid;
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

}  // namespace

class KicadImporter::Names {
 public:
  explicit Names(const Options& options) : parts(options.partNames), patterns(options.patternNames) {}
  TakenNames parts;
  TakenNames patterns;
};

KicadImporter::KicadImporter() : KicadImporter(Options()) {}

KicadImporter::KicadImporter(const Options& options)
    : options_(options), names_(std::make_unique<Names>(options)) {}

KicadImporter::~KicadImporter() = default;

std::string KicadImporter::UnitLetter(int32_t unit) {
  std::string letters;
  for (int32_t n = unit; n > 0; n = (n - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return letters;
}

std::string KicadImporter::PartName(const std::string& wanted, KicadSymbolImport& outcome) {
  const std::string name = names_->parts.Take(KicadNames::ValidPartName(wanted), kMaxPartNameLength);
  if (name != wanted) outcome.notes.push_back(Note{NoteKind::Renamed, wanted, name});
  return name;
}

Pattern* KicadImporter::KeepPattern(std::unique_ptr<Pattern> pattern, const std::string& hintName,
                                    const std::string& partName) {
  std::string key = hintName;
  key.append("\n").append(std::to_string(pattern->width)).append("x").append(std::to_string(pattern->height));
  key.append(reinterpret_cast<const char*>(pattern->bits.data()), pattern->bits.size());
  if (const auto found = patterns_.find(key); found != patterns_.end()) return found->second;
  const std::string wanted = hintName.empty() ? partName : hintName;
  pattern->name = names_->patterns.Take(KicadNames::ValidPatternName(wanted), kMaxPatternNameLength);
  Pattern* kept = result_.library->AddPattern(std::move(pattern));
  patterns_.emplace(std::move(key), kept);
  return kept;
}

void KicadImporter::Add(const KicadSymbol& symbol) {
  const size_t index = result_.symbols.size();
  result_.symbols.emplace_back();
  pending_.emplace_back();
  KicadSymbolImport& outcome = result_.symbols.back();
  outcome.name = symbol.name;
  outcome.extends = symbol.extends;
  outcome.line = symbol.line;
  if (!symbol.Readable()) {
    using Problem = KicadSymbol::Problem::Kind;
    const Problem kind = symbol.problem.kind;
    outcome.notes.push_back(Note{NoteKind::Unreadable, symbol.problem.field,
                                 kind == Problem::TooLarge        ? "too-large"
                                 : kind == Problem::OutOfRange    ? "out-of-range"
                                 : kind == Problem::TooManyPoints ? "too-many-points"
                                                                  : "malformed",
                                 static_cast<int64_t>(symbol.problem.line)});
    return;
  }
  if (!symbol.extends.empty()) {
    Derived derived;
    derived.symbol = index;
    if (const KicadProperty* reference = symbol.FindProperty("Reference")) {
      derived.reference = reference->value;
      derived.hasReference = true;
    }
    std::vector<std::string> properties;
    for (const KicadProperty& p : symbol.properties)
      if (p.key != "Reference" && p.key != "Value" && !p.value.empty() && p.value != "~")
        properties.push_back(p.key);
    if (!properties.empty()) outcome.notes.push_back(Note{NoteKind::Properties, {}, Join(properties)});
    derived_.push_back(std::move(derived));
    return;
  }
  AddBase(symbol, outcome);
  if (outcome.outcome != KicadOutcome::Refused) baseIndex_.emplace(symbol.name, bases_.size() - 1);
}

void KicadImporter::AddBase(const KicadSymbol& symbol, KicadSymbolImport& outcome) {
  const size_t index = result_.symbols.size() - 1;
  const Stated stated(symbol);
  // Units by number; unit 0 is what all of them share. Style 0 is every
  // body style, 1 the normal one; others are alternates, left out.
  std::map<int32_t, UnitContent> units;
  bool alternateStyle = false;
  for (const KicadUnit& unit : symbol.units) {
    if (unit.style > 1) {
      alternateStyle = true;
      continue;
    }
    UnitContent& content = units[unit.unit];
    content.present = true;
    for (const KicadPin& pin : unit.pins) content.pins.push_back(&pin);
    for (const KicadGraphic& graphic : unit.graphics) content.graphics.push_back(&graphic);
  }
  const UnitContent common = units.count(0) ? units[0] : UnitContent{};
  std::vector<int32_t> numbers;
  for (const auto& [number, content] : units)
    if (number > 0) numbers.push_back(number);
  if (numbers.empty()) numbers.push_back(0);  // everything is in unit 0

  size_t pinCount = common.pins.size();
  for (int32_t n : numbers)
    if (n > 0) pinCount += units[n].pins.size();
  if (pinCount == 0) {
    outcome.notes.push_back(Note{NoteKind::NoPins});
    return;
  }
  // Units of power pins only give their pins to every block when the other
  // units become blocks of one part; beside units of different layouts they
  // are parts of their own.
  std::vector<int32_t> powerUnits, layoutUnits, emptyUnits;
  for (int32_t n : numbers) {
    const UnitContent& c = units[n];
    if (n > 0 && c.pins.empty()) {
      emptyUnits.push_back(n);  // a drawing without pins of its own: nothing to connect
      continue;
    }
    const bool power =
        n > 0 && !c.pins.empty() &&
        std::all_of(c.pins.begin(), c.pins.end(), [](const KicadPin* p) { return IsPowerPin(*p); });
    (power ? powerUnits : layoutUnits).push_back(n);
  }
  if (layoutUnits.empty()) layoutUnits.swap(powerUnits);
  if (layoutUnits.empty()) layoutUnits.swap(emptyUnits);  // every pin is in unit 0

  Collected collected;
  std::vector<Layout> layouts;
  const auto layAll = [&](const std::vector<const KicadPin*>& attached) {
    collected = Collected();
    layouts.clear();
    layouts.resize(layoutUnits.size());
    for (size_t u = 0; u < layoutUnits.size(); ++u) {
      const int32_t n = layoutUnits[u];
      std::vector<const KicadPin*> own = common.pins;
      std::vector<const KicadGraphic*> graphics = common.graphics;
      if (n > 0) {
        own.insert(own.end(), units[n].pins.begin(), units[n].pins.end());
        graphics.insert(graphics.end(), units[n].graphics.begin(), units[n].graphics.end());
      }
      Note refusal;
      if (!LayOut(symbol, stated, own, attached, graphics, layouts[u], collected, refusal)) {
        outcome.notes.push_back(std::move(refusal));
        return false;
      }
    }
    return true;
  };
  if (!layAll({})) return;
  bool sameLayout = true;
  for (size_t u = 1; u < layouts.size(); ++u) sameLayout &= layouts[u].SameAs(layouts[0]);
  if (!powerUnits.empty()) {
    std::vector<const KicadPin*> attached;
    if (sameLayout)
      for (int32_t n : powerUnits)
        attached.insert(attached.end(), units[n].pins.begin(), units[n].pins.end());
    else
      layoutUnits.insert(layoutUnits.end(), powerUnits.begin(), powerUnits.end()), powerUnits.clear();
    std::sort(layoutUnits.begin(), layoutUnits.end());
    if (!layAll(attached)) return;
  }
  if (sameLayout && layouts.size() > static_cast<size_t>(KicadLimits::kMaxBlocks)) {
    outcome.notes.push_back(Note{NoteKind::TooManyUnits, {}, {}, static_cast<int64_t>(layouts.size())});
    return;
  }

  // The parts: one with a block per unit, or one per unit.
  Base base;
  base.symbol = index;
  const KicadProperty* reference = symbol.FindProperty("Reference");
  base.prefix = KicadText::PrefixFromReference(reference ? reference->value : "U");
  const size_t parts = sameLayout ? 1 : layouts.size();
  std::vector<std::string> madeNames;
  for (size_t part = 0; part < parts; ++part) {
    const size_t blocks = sameLayout ? layouts.size() : 1;
    Layout& first = layouts[part];
    auto body = std::make_unique<PartBody>();
    body->numberPrefix = base.prefix;
    body->xSize = first.xSize;
    body->ySize = first.ySize;
    body->blockCount = static_cast<int32_t>(blocks);
    const std::string suffix = sameLayout ? std::string() : UnitLetter(layoutUnits[part]);
    const std::string name = PartName(symbol.name + suffix, outcome);
    if (first.pattern)
      body->pattern =
          KeepPattern(std::move(first.pattern), stated.hasPattern ? stated.patternName : "", name);
    // Block b's number of a pin: the pin at the same place in unit b.
    std::vector<std::vector<size_t>> place(blocks);
    for (size_t b = 0; b < blocks; ++b) place[b] = layouts[sameLayout ? b : part].ByPlace();
    std::vector<size_t> rank(first.pins.size());
    for (size_t k = 0; k < place[0].size(); ++k) rank[place[0][k]] = k;
    for (size_t i = 0; i < first.pins.size(); ++i) {
      auto pin = std::make_unique<PinInfo>(body->blockCount);
      pin->name = first.pins[i].name;
      pin->flags = first.pins[i].flags;
      pin->edge = first.pins[i].edge;
      pin->position = first.pins[i].position;
      for (size_t b = 0; b < blocks; ++b) {
        const Layout& unit = layouts[sameLayout ? b : part];
        pin->numbers.Set(b, unit.pins[place[b][rank[i]]].number);
      }
      body->AddPin(std::move(pin));
    }
    PartBody* added = result_.library->AddBody(std::move(body));
    base.bodies.push_back(added);
    base.suffixes.push_back(suffix);
    auto entry = std::make_unique<PartEntry>(name, added);
    outcome.entries.push_back(entry.get());
    pending_[index].push_back(std::move(entry));
    madeNames.push_back(name);
  }

  outcome.outcome = collected.movedPins > 0 ? KicadOutcome::Changed : KicadOutcome::Exact;
  std::vector<Note>& notes = outcome.notes;
  if (collected.movedPins > 0)
    notes.push_back(Note{NoteKind::PinsMoved, {}, {}, collected.largestMove, 0, collected.movedPins});
  for (Note& note : collected.stacked) notes.push_back(std::move(note));
  if (!sameLayout) notes.push_back(Note{NoteKind::UnitsSplit, {}, Join(madeNames)});
  for (int32_t n : powerUnits) notes.push_back(Note{NoteKind::PowerUnit, UnitLetter(n)});
  for (int32_t n : emptyUnits) notes.push_back(Note{NoteKind::EmptyUnit, UnitLetter(n)});
  if (!collected.hiddenPins.items.empty())
    notes.push_back(Note{NoteKind::HiddenPins, {}, Join(collected.hiddenPins.items)});
  if (symbol.pinNamesHidden) notes.push_back(Note{NoteKind::PinNamesHidden});
  if (!collected.types.items.empty())
    notes.push_back(Note{NoteKind::PinTypes, {}, Join(collected.types.items)});
  if (!collected.shapes.items.empty())
    notes.push_back(Note{NoteKind::PinShapes, {}, Join(collected.shapes.items)});
  if (!collected.characterPins.items.empty())
    notes.push_back(Note{NoteKind::PinCharacters, {}, Join(collected.characterPins.items)});
  if (collected.alternates > 0)
    notes.push_back(Note{NoteKind::AlternateFunctions, {}, {}, static_cast<int64_t>(collected.alternates)});
  if (alternateStyle) notes.push_back(Note{NoteKind::AlternateStyle});
  std::vector<std::string> properties;
  for (const KicadProperty& p : symbol.properties)
    if (p.key != "Reference" && p.key != "Value" && p.key.rfind("Zanli.", 0) != 0 && !p.value.empty() &&
        p.value != "~")
      properties.push_back(p.key);
  if (!properties.empty()) notes.push_back(Note{NoteKind::Properties, {}, Join(properties)});
  if (collected.texts > 0)
    notes.push_back(Note{NoteKind::Texts, {}, {}, static_cast<int64_t>(collected.texts)});
  if (collected.drawingCut) notes.push_back(Note{NoteKind::DrawingCut});
  if (collected.tooLarge)
    notes.push_back(Note{NoteKind::DrawingTooLarge, {}, {}, collected.tooLargeX, collected.tooLargeY});
  if (reference && reference->value != base.prefix)
    notes.push_back(Note{NoteKind::ReferenceLetters, reference->value, base.prefix});
  bases_.push_back(std::move(base));
}

KicadImport KicadImporter::Finish() {
  // Derived symbols: aliases of the parts their base became, after them.
  std::vector<std::vector<size_t>> aliasesOf(result_.symbols.size());  // those given before their base
  std::vector<bool> deferred(result_.symbols.size());
  std::map<std::string, size_t> derivedIndex;
  for (const Derived& d : derived_) derivedIndex.emplace(result_.symbols[d.symbol].name, d.symbol);
  for (const Derived& derived : derived_) {
    KicadSymbolImport& outcome = result_.symbols[derived.symbol];
    // A derived symbol may extend another derived one: follow to the root.
    std::string baseName = outcome.extends;
    std::set<std::string> seen;
    for (auto hop = derivedIndex.find(baseName); hop != derivedIndex.end() && seen.insert(baseName).second;
         hop = derivedIndex.find(baseName))
      baseName = result_.symbols[hop->second].extends;
    const auto found = baseIndex_.find(baseName);
    if (found == baseIndex_.end()) {
      const bool present =
          std::any_of(result_.symbols.begin(), result_.symbols.end(),
                      [&](const KicadSymbolImport& s) { return s.name == baseName && s.extends.empty(); });
      outcome.notes.insert(outcome.notes.begin(),
                           Note{present ? NoteKind::BaseRefused : NoteKind::MissingBase, baseName});
      continue;
    }
    const Base& base = bases_[found->second];
    const KicadSymbolImport& baseOutcome = result_.symbols[base.symbol];
    outcome.outcome = baseOutcome.outcome;
    for (size_t part = 0; part < base.bodies.size(); ++part) {
      const std::string name = PartName(outcome.name + base.suffixes[part], outcome);
      auto entry = std::make_unique<PartEntry>(name, base.bodies[part]);
      outcome.entries.push_back(entry.get());
      pending_[derived.symbol].push_back(std::move(entry));
    }
    if (derived.hasReference && KicadText::PrefixFromReference(derived.reference) != base.prefix)
      outcome.notes.push_back(Note{NoteKind::AliasReference, derived.reference, base.prefix});
    if (derived.symbol < base.symbol) {
      aliasesOf[base.symbol].push_back(derived.symbol);
      deferred[derived.symbol] = true;
    }
  }
  // The file's order, but an alias that the file gives before its part comes
  // right after it: the first name of a body is its part.
  for (size_t i = 0; i < result_.symbols.size(); ++i) {
    if (!deferred[i])
      for (auto& entry : pending_[i]) result_.library->AddEntry(std::move(entry));
    for (size_t alias : aliasesOf[i])
      for (auto& entry : pending_[alias]) result_.library->AddEntry(std::move(entry));
  }
  pending_.clear();
  return std::move(result_);
}

KicadImport KicadImporter::ImportText(std::string_view text, const Options& options,
                                      KicadSymbolReader::Status& status) {
  KicadSymbolReader reader(text);
  status = reader.GetStatus();
  KicadImporter importer(options);
  if (status.Ok())
    for (size_t i = 0; i < reader.SymbolCount(); ++i) importer.Add(reader.ReadSymbol(i));
  return importer.Finish();
}

KicadImport KicadImporter::ImportFile(const std::string& path, const Options& options,
                                      KicadSymbolReader::Status& status) {
  std::string text;
  status = KicadSymbolReader::LoadFile(path, text);
  if (!status.Ok()) return KicadImport();
  return ImportText(text, options, status);
}

KicadImport KicadImporter::Import(const KicadSymbolLibrary& file) { return Import(file, Options()); }

KicadImport KicadImporter::Import(const KicadSymbolLibrary& file, const Options& options) {
  KicadImporter importer(options);
  for (const KicadSymbol& symbol : file.symbols) importer.Add(symbol);
  return importer.Finish();
}

}  // namespace zanli
