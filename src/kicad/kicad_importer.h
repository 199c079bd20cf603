#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "kicad/kicad_import.h"
#include "kicad/kicad_symbol_library.h"
#include "kicad/kicad_symbol_reader.h"
#include "model/name_lookup.h"
#include "model/name_set.h"

namespace zanli {

// Turns the symbols of one KiCad file into library parts, one symbol at a
// time so that a reader can hand them over as it reads them:
//   KicadImporter importer(options);
//   for (...) importer.Add(reader.ReadSymbol(i));
//   KicadImport result = importer.Finish();
//
// A symbol becomes one part whose pins stand where KicadPinPlacer puts them.
// Units whose pins sit at the same places with the same names become blocks,
// and a unit of power pins only (like the pins of unit 0, which every unit
// shares) appears in every block; units of different layouts become one part
// per unit, the unit's letter added to the name, and a unit of power pins is
// then a part of its own. A unit without pins of its own is left out. A body
// that is not one plain rectangle gets a pattern drawn from the symbol's
// graphics. Derived symbols become aliases of their base's parts; the
// Reference's letters become the prefix. Everything that could not be kept
// exactly is noted per symbol.
//
// For the editor: pass the open library's part and pattern names as taken,
// show each symbol's outcome and notes (KicadMessages) with a preview of its
// entries' bodies (SymbolRenderer), then add the chosen symbols' parts as one
// step; KicadImport::MoveInto does the same for a library outside a document.
class KicadImporter {
 public:
  struct Options {
    // Names already taken where the parts will go; null for none.
    const NameLookup* partNames = nullptr;
    const NameLookup* patternNames = nullptr;
  };

  KicadImporter();
  explicit KicadImporter(const Options& options);
  ~KicadImporter();
  KicadImporter(const KicadImporter&) = delete;
  KicadImporter& operator=(const KicadImporter&) = delete;

  // The file's symbols in file order; a derived symbol may come before its
  // base.
  void Add(const KicadSymbol& symbol);
  KicadImport Finish();

  // A file's text or the file itself, read symbol by symbol as it is
  // imported; when the file cannot be read, `status` says why and the
  // result holds nothing.
  static KicadImport ImportText(std::string_view text, const Options& options,
                                KicadSymbolReader::Status& status);
  static KicadImport ImportFile(const std::string& path, const Options& options,
                                KicadSymbolReader::Status& status);

  static KicadImport Import(const KicadSymbolLibrary& file);
  static KicadImport Import(const KicadSymbolLibrary& file, const Options& options);

  // The unit letters KiCad shows: A to Z, then AA, AB, ...
  static std::string UnitLetter(int32_t unit);

 private:
  class Names;
  struct Base {
    size_t symbol = 0;  // index into result_.symbols
    std::string prefix;
    std::vector<std::string> suffixes;  // per part made: "" or its unit letter
    std::vector<PartBody*> bodies;
  };
  struct Derived {
    size_t symbol = 0;
    std::string reference;
    bool hasReference = false;
  };

  void AddBase(const KicadSymbol& symbol, KicadSymbolImport& outcome);
  Pattern* KeepPattern(std::unique_ptr<Pattern> pattern, const std::string& hintName,
                       const std::string& partName);
  std::string PartName(const std::string& wanted, KicadSymbolImport& outcome);

  Options options_;
  KicadImport result_;
  std::unique_ptr<Names> names_;
  std::map<std::string, size_t> baseIndex_;  // symbol name -> index into bases_
  std::vector<Base> bases_;
  std::vector<Derived> derived_;
  // The entries made for each symbol, placed in order by Finish.
  std::vector<std::vector<std::unique_ptr<PartEntry>>> pending_;
  std::unordered_map<std::string, Pattern*> patterns_;  // by content, to share equal ones
  size_t patternBytes_ = 0;
};

}  // namespace zanli
