#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "model/library.h"

namespace zanli {

// How one symbol came into the library.
enum class KicadOutcome {
  Exact,    // every connection point kept its place relative to the others
  Changed,  // some pins moved (KicadNote::Kind::PinsMoved says how far)
  Refused,  // nothing made; the notes say why
};

// One thing about a symbol's import: why it was refused, what changed, or
// what the library could not keep. Texts are UTF-8 as in the file.
struct KicadNote {
  enum class Kind {
    // Refusals.
    Unreadable,     // the file's symbol is damaged: text = the field, detail = how
                    // (malformed, out-of-range, too-many-points, too-large), value = the line
    NoPins,         //
    PinDirection,   // text = the pin's number, value = its angle in degrees (-1: not whole)
    TooManyPlaces,  // value = the places a side would need
    TooManyUnits,   // value = the units, more than a part has blocks
    MissingBase,    // text = the base symbol that the file lacks
    BaseRefused,    // text = the base symbol, refused itself
    // Changes.
    PinsMoved,    // value = the farthest move in 0.0001 mm, count = the pins that moved
    StackedPins,  // pins on one place became one: text = the kept pin's number, detail = the others'
    UnitsSplit,   // units of different layouts became parts: detail = their names
    PowerUnit,    // a unit of power pins only: text = its letter; its pins are in every block
    EmptyUnit,    // a unit without pins (text = its letter) was left out
    Renamed,      // detail = the name it got (the symbol's own is `name`)
    // What the library does not keep.
    HiddenPins,          // shown with hidden numbers: detail = their numbers
    PinNamesHidden,      // the symbol hides its pin names; the library shows them
    PinTypes,            // detail = the electrical types, which the library has no field for
    PinShapes,           // detail = shapes drawn as the nearest of clock and negative logic
    PinCharacters,       // characters replaced by '?': detail = the pins' numbers
    AlternateFunctions,  // value = how many alternate pin functions were dropped
    AlternateStyle,      // the alternate (De Morgan) body style was left out
    Properties,          // detail = the properties' names
    Texts,               // value = how many texts of the drawing were left out
    DrawingCut,          // parts of the drawing beyond the body were cut off
    DrawingTooLarge,     // value = the width and value2 the height in steps: drawn as a plain outline
    ReferenceLetters,    // text = the Reference, detail = the prefix made of it
    AliasReference,      // a derived symbol's own Reference (text) gives way to its part's prefix (detail)
  };
  KicadNote() = default;
  explicit KicadNote(Kind kind_, std::string text_ = {}, std::string detail_ = {}, int64_t value_ = 0,
                     int64_t value2_ = 0, size_t count_ = 0)
      : kind(kind_),
        text(std::move(text_)),
        detail(std::move(detail_)),
        value(value_),
        value2(value2_),
        count(count_) {}

  Kind kind = Kind::Unreadable;
  std::string text;
  std::string detail;
  int64_t value = 0;
  int64_t value2 = 0;
  size_t count = 0;
};

// What one symbol of a file became.
struct KicadSymbolImport {
  std::string name;     // in the file
  std::string extends;  // the base symbol of a derived one
  size_t line = 0;
  KicadOutcome outcome = KicadOutcome::Refused;
  std::vector<KicadNote> notes;
  // The parts it became, or for a derived symbol the aliases: entries of the
  // import's library (or, after MoveInto, of the library they went to).
  std::vector<PartEntry*> entries;
};

// The result of importing one file: its parts held apart from any open
// library, and every symbol's outcome. Names are valid, unique among
// themselves and clear of the names the importer was told are taken, so the
// parts can go into that library as they are.
struct KicadImport {
  KicadImport() : library(std::make_unique<Library>()) {}

  std::unique_ptr<Library> library;
  std::vector<KicadSymbolImport> symbols;

  size_t Count(KicadOutcome outcome) const;
  // Moves the entries of the chosen symbols (indices into `symbols`; all when
  // empty), their bodies with every name they carry here, and the patterns
  // those bodies use, to the end of `target`'s lists. The symbols' entry
  // pointers stay valid.
  void MoveInto(Library& target, std::span<const size_t> chosen = {});
};

}  // namespace zanli
