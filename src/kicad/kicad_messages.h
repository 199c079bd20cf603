#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "kicad/kicad_export.h"
#include "kicad/kicad_import.h"
#include "kicad/kicad_symbol_reader.h"

namespace zanli {

// The user's texts (UTF-8) for KiCad reading, import notes and outcomes,
// and the stable identifiers that zanli-cli's JSON report uses.
class KicadMessages {
 public:
  // The message of a file that cannot be read; empty when it can.
  static std::string ReadFailure(const KicadSymbolReader::Status& status, std::string_view shownPath);
  static std::string Outcome(KicadOutcome outcome);
  static const char* OutcomeId(KicadOutcome outcome);
  static const char* NoteId(KicadNote::Kind kind);
  static std::string Describe(const KicadNote& note);
  static std::string Describe(const KicadExportNote& note);
  // 0.0001 mm as millimetres: 12700 gives "1.27".
  static std::string Millimetres(int64_t units);
};

}  // namespace zanli
