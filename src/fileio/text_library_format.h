#pragma once

#include <string>
#include <string_view>

#include "model/library.h"

namespace zanli {

// The line-oriented text library (".LB3").
class TextLibraryFormat {
 public:
  // Clears the library, then fills it from the file. False (library empty)
  // when the file cannot be opened or is malformed.
  static bool Read(const std::string& path, Library& library);
  // The same on bytes already in memory.
  static bool ReadBytes(std::string_view bytes, Library& library);

  // Writes Library::entries, bodies and patterns; the library is unchanged.
  // False when the file cannot be written; the previous file then stays as it
  // was.
  static bool Write(const std::string& path, const Library& library);
  // The exact bytes Write puts in the file (CR LF line ends); empty when Write
  // would refuse (an entry without a body) or memory runs out.
  static std::string WriteBytes(const Library& library);
};

}  // namespace zanli
