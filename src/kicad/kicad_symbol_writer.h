#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "kicad/kicad_symbol_library.h"

namespace zanli {

// Writes a KiCad symbol library in the form KiCad 6 writes (version
// 20211014), which KiCad 6 to 9 read. Whatever KicadSymbolReader takes from
// the text, reading the written text gives back.
class KicadSymbolWriter {
 public:
  static constexpr int64_t kVersion = 20211014;

  static std::string Write(const KicadSymbolLibrary& library);
  // 0.0001 mm as the file writes millimetres: 12700 gives "1.27".
  static std::string Number(int64_t units);
  static void AppendNumber(std::string& out, int64_t units);
  // A quoted string with '"', '\' and line breaks escaped.
  static void AppendString(std::string& out, std::string_view text);
};

}  // namespace zanli
