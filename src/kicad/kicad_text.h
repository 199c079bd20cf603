#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zanli {

// Texts between a KiCad file (UTF-8) and the library (Shift-JIS bytes, with
// a backslash before each barred character of a pin name).
//
// Into the library only printable ASCII goes: pin names and numbers are
// drawn with the symbol font, which holds nothing else, so every other
// character becomes '?' and the caller lists the change. Out of the library,
// bytes beyond ASCII go through a decoder: the editor and zanli-cli pass
// their Shift-JIS codec; without one, only half-width katakana (one byte each
// in Shift-JIS) are decoded.
class KicadText {
 public:
  // Shift-JIS bytes to UTF-8; false when some byte cannot be decoded.
  using Decoder = std::function<bool(std::string_view bytes, std::string& utf8)>;

  // A KiCad pin name for the library: "~" alone is no name, "~{...}" bars
  // what it encloses. `changed` tells whether a character had to be replaced.
  static std::string PinNameFromKicad(std::string_view utf8, bool& changed);
  // The library's pin name for KiCad: barred runs become "~{...}", no name
  // "~". `lossy` tells whether the result would not read back the same.
  static std::string PinNameToKicad(std::string_view name, const Decoder& decoder, bool& lossy);

  // Printable ASCII for the library; `changed` as above.
  static std::string AsciiFromKicad(std::string_view utf8, bool& changed);
  // The library's bytes as UTF-8; false (with '?' in their place) when some
  // could not be decoded.
  static bool ToUtf8(std::string_view bytes, const Decoder& decoder, std::string& utf8);

  // The letters of a Reference property ("#PWR" gives "PWR", "U?" gives
  // "U"); "U" when it has none.
  static std::string PrefixFromReference(std::string_view reference);

  // The decoder used when the caller gives none: ASCII and half-width
  // katakana.
  static bool DecodeBasic(std::string_view bytes, std::string& utf8);
};

}  // namespace zanli
