#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/name_lookup.h"

namespace zanli {

// Names for imported parts and patterns, by the library's name rules: a name
// the rules refuse is made valid (each character they do not take becomes
// '_', and the name is cut to the longest length), and a name already taken
// gets the lowest free number, as the default-name generators give theirs:
// "LM358" taken becomes "LM358_1", then "LM358_2"; the number replaces the
// end of a name too long to hold it.
class KicadNames {
 public:
  // A part name the rules take, made from a KiCad name (UTF-8).
  static std::string ValidPartName(std::string_view utf8);
  // A pattern name the rules take, made from a part name.
  static std::string ValidPatternName(std::string_view partName);

  // `valid` if nobody has it, else the lowest free numbered form of it that
  // fits `maxLength`. `valid` must keep the rules; the result does too.
  // Numbers are tried from `first` on; a caller that only ever adds names
  // may pass the number after the one it got last time for this name.
  static std::string UniqueName(std::string_view valid, size_t maxLength, const NameLookup& taken,
                                unsigned long long first = 1);
  static std::string UniquePartName(std::string_view valid, const NameLookup& taken);
  static std::string UniquePatternName(std::string_view valid, const NameLookup& taken);
};

}  // namespace zanli
