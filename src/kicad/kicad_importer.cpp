#include "kicad/kicad_importer.h"

#include <algorithm>
#include <set>
#include <unordered_set>

#include "kicad/kicad_limits.h"
#include "kicad/kicad_names.h"
#include "kicad/kicad_symbol_reader.h"
#include "kicad/kicad_text.h"
#include "kicad/kicad_unit_layout.h"
#include "model/limits.h"
#include "model/names.h"
#include "model/pattern.h"

namespace zanli {

namespace {

using Note = KicadNote;
using NoteKind = KicadNote::Kind;

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

bool IsPowerPin(const KicadPin& pin) {
  return pin.electricalType == "power_in" || pin.electricalType == "power_out";
}

struct UnitContent {
  std::vector<const KicadPin*> pins;
  std::vector<const KicadGraphic*> graphics;
  bool present = false;
};

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
  const std::string name = names_->parts.Take(KicadNames::ValidPartName(wanted), limits::kMaxPartNameLength);
  if (name != wanted) outcome.notes.push_back(Note{NoteKind::Renamed, wanted, name});
  return name;
}

Pattern* KicadImporter::KeepPattern(std::unique_ptr<Pattern> pattern, const std::string& hintName,
                                    const std::string& partName) {
  std::string key = hintName;
  key.append("\n").append(std::to_string(pattern->width)).append("x").append(std::to_string(pattern->height));
  key.append(reinterpret_cast<const char*>(pattern->bits.data()), pattern->bits.size());
  if (const auto found = patterns_.find(key); found != patterns_.end()) return found->second;
  // Distinct patterns cost their bitmaps twice (the pattern and its key).
  const size_t cost = 2 * pattern->bits.size();
  if (cost > KicadLimits::kMaxPatternBytes - patternBytes_) return nullptr;
  patternBytes_ += cost;
  const std::string wanted = hintName.empty() ? partName : hintName;
  pattern->name = names_->patterns.Take(KicadNames::ValidPatternName(wanted), limits::kMaxPatternNameLength);
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
    if (!properties.empty())
      outcome.notes.push_back(Note{NoteKind::Properties, {}, KicadUnitLayout::Join(properties)});
    derived_.push_back(std::move(derived));
    return;
  }
  AddBase(symbol, outcome);
  if (outcome.outcome != KicadOutcome::Refused) baseIndex_.emplace(symbol.name, bases_.size() - 1);
}

void KicadImporter::AddBase(const KicadSymbol& symbol, KicadSymbolImport& outcome) {
  const size_t index = result_.symbols.size() - 1;
  const KicadUnitLayout::Stated stated(symbol);
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

  KicadUnitLayout::Collected collected;
  std::vector<KicadUnitLayout> layouts;
  const auto layAll = [&](const std::vector<const KicadPin*>& attached) {
    collected = KicadUnitLayout::Collected();
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
      if (!KicadUnitLayout::Make(symbol, stated, own, attached, graphics, layouts[u], collected, refusal)) {
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
    KicadUnitLayout& first = layouts[part];
    auto body = std::make_unique<PartBody>();
    body->numberPrefix = base.prefix;
    body->xSize = first.xSize;
    body->ySize = first.ySize;
    body->blockCount = static_cast<int32_t>(blocks);
    const std::string suffix = sameLayout ? std::string() : UnitLetter(layoutUnits[part]);
    const std::string name = PartName(symbol.name + suffix, outcome);
    if (first.pattern) {
      const int32_t width = first.pattern->width, height = first.pattern->height;
      body->pattern =
          KeepPattern(std::move(first.pattern), stated.hasPattern ? stated.patternName : "", name);
      if (body->pattern == nullptr) {
        // Past the import's budget for bitmaps the plain outline stands in.
        collected.tooLarge = true;
        collected.tooLargeX = std::max<int64_t>(collected.tooLargeX, width / 10);
        collected.tooLargeY = std::max<int64_t>(collected.tooLargeY, height / 10);
      }
    }
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
        const KicadUnitLayout& unit = layouts[sameLayout ? b : part];
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
  if (!sameLayout) notes.push_back(Note{NoteKind::UnitsSplit, {}, KicadUnitLayout::Join(madeNames)});
  for (int32_t n : powerUnits) notes.push_back(Note{NoteKind::PowerUnit, UnitLetter(n)});
  for (int32_t n : emptyUnits) notes.push_back(Note{NoteKind::EmptyUnit, UnitLetter(n)});
  if (!collected.hiddenPins.items.empty())
    notes.push_back(Note{NoteKind::HiddenPins, {}, KicadUnitLayout::Join(collected.hiddenPins.items)});
  if (symbol.pinNamesHidden) notes.push_back(Note{NoteKind::PinNamesHidden});
  if (!collected.types.items.empty())
    notes.push_back(Note{NoteKind::PinTypes, {}, KicadUnitLayout::Join(collected.types.items)});
  if (!collected.shapes.items.empty())
    notes.push_back(Note{NoteKind::PinShapes, {}, KicadUnitLayout::Join(collected.shapes.items)});
  if (!collected.characterPins.items.empty())
    notes.push_back(Note{NoteKind::PinCharacters, {}, KicadUnitLayout::Join(collected.characterPins.items)});
  if (collected.alternates > 0)
    notes.push_back(Note{NoteKind::AlternateFunctions, {}, {}, static_cast<int64_t>(collected.alternates)});
  if (alternateStyle) notes.push_back(Note{NoteKind::AlternateStyle});
  std::vector<std::string> properties;
  for (const KicadProperty& p : symbol.properties)
    if (p.key != "Reference" && p.key != "Value" && p.key.rfind("Zanli.", 0) != 0 && !p.value.empty() &&
        p.value != "~")
      properties.push_back(p.key);
  if (!properties.empty()) notes.push_back(Note{NoteKind::Properties, {}, KicadUnitLayout::Join(properties)});
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
