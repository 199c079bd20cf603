#pragma once

#include <span>

#include "kicad/kicad_export.h"
#include "kicad/kicad_text.h"
#include "model/library.h"

namespace zanli {

// A library's parts as KiCad symbols. Each body becomes a symbol named after
// its first chosen entry, the later chosen names of the same body derived
// symbols; the plain body is a rectangle, a pattern one filled rectangle per
// run of ink pixels in a row; every pin is one grid step long, with its name,
// number and shape; blocks become units and the prefix the Reference.
//
// What KiCad has no field for goes into hidden properties that the importer
// reads back: the body's place and size ("Zanli.Body"), the pattern's name
// and size ("Zanli.Pattern") and the pins whose numbers sit near the body
// ("Zanli.NumberNearBody"). So the import of an export gives back the same
// parts: pins, names, flags, numbers, blocks, aliases, sizes and pattern
// pixels.
class KicadExporter {
 public:
  struct Options {
    // Shift-JIS to UTF-8 for names and texts beyond ASCII; null for the
    // basic one (KicadText::DecodeBasic).
    KicadText::Decoder decoder;
  };

  // The chosen entries (all entries when empty), in library order.
  static KicadExport Export(const Library& library, std::span<const PartEntry* const> chosen,
                            const Options& options);
  static KicadExport Export(const Library& library);
};

}  // namespace zanli
