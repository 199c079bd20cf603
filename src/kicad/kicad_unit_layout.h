#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "kicad/kicad_import.h"
#include "kicad/kicad_pin_placer.h"
#include "kicad/kicad_symbol_library.h"
#include "model/pattern.h"

namespace zanli {

// One unit of a symbol laid out as a library body: its pins placed (stacked
// ones joined), named, flagged and numbered, and its drawing as a pattern
// unless it is one plain rectangle. The importer lays out every unit, then
// makes blocks of units that came out the same.
class KicadUnitLayout {
 public:
  // The facts the library's own export writes as hidden properties, so that
  // what it wrote comes back exactly; damaged ones are passed over.
  struct Stated {
    explicit Stated(const KicadSymbol& symbol);
    KicadPinPlacer::Body body;
    bool hasPattern = false;
    std::string patternName;
    int32_t patternWidth = 0;
    int32_t patternHeight = 0;
    std::vector<std::pair<PinEdge, int32_t>> nearBody;
  };
  // Texts in the order first seen, each once; a symbol may have thousands.
  struct Listed {
    std::vector<std::string> items;
    std::unordered_set<std::string> seen;
    void Add(const std::string& item);
  };
  // What a symbol's notes collect over all its units.
  struct Collected {
    Listed hiddenPins, types, shapes, characterPins, stackedKeys;
    size_t alternates = 0;
    size_t texts = 0;
    bool drawingCut = false;
    bool tooLarge = false;
    int64_t tooLargeX = 0, tooLargeY = 0;
    int64_t largestMove = 0;
    size_t movedPins = 0;
    std::vector<KicadNote> stacked;
  };
  struct LaidPin {
    std::string name;
    int32_t flags = 0;
    PinEdge edge = PinEdge::Left;
    int32_t position = 0;
    std::string number;  // with its display letter
  };

  // Lays out a unit from its own pins (those every unit shares included),
  // the power pins of other units it shows (`attached`: only their places
  // along their sides count) and its graphics. False, with `refusal`, when
  // it cannot be drawn at all.
  static bool Make(const KicadSymbol& symbol, const Stated& stated, const std::vector<const KicadPin*>& own,
                   const std::vector<const KicadPin*>& attached,
                   const std::vector<const KicadGraphic*>& graphics, KicadUnitLayout& layout,
                   Collected& collected, KicadNote& refusal);

  // The pins' indices by place; `pins` keeps the file's order.
  std::vector<size_t> ByPlace() const;
  // Same size, places, names and flags, same drawing: units that are blocks.
  bool SameAs(const KicadUnitLayout& other) const;

  static std::string Join(const std::vector<std::string>& items);

  int32_t xSize = 1;
  int32_t ySize = 1;
  std::vector<LaidPin> pins;
  std::unique_ptr<Pattern> pattern;
};

}  // namespace zanli
