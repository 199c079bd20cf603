#pragma once

#include <string>
#include <vector>

#include "kicad/kicad_symbol_library.h"

namespace zanli {

// What a KiCad file cannot say as the library does: reading the export back
// would give something else here. Texts are UTF-8.
struct KicadExportNote {
  enum class Kind {
    PinName,      // detail = the pin's name, which has no exact KiCad form
    StackedPins,  // two pins at one place: detail = the place
    PinOutside,   // a pin beyond the body's edges: detail = the place
    Renamed,      // detail = the symbol's name, other than the part's
    Undecodable,  // detail = a text whose bytes could not be decoded
  };
  Kind kind = Kind::PinName;
  std::string part;
  std::string detail;
};

struct KicadExport {
  KicadSymbolLibrary library;
  std::vector<KicadExportNote> notes;
};

}  // namespace zanli
