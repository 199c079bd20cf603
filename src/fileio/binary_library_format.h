#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/library.h"

namespace zanli {

// Why the binary writer refused; each maps to one message of the editor.
enum class BinaryWriteResult {
  Ok,
  TooLarge,      // string 103: the data is too large, please split it
  Inconsistent,  // string 104: an entry's body is not in the library
  WriteFailed,   // string 105: writing to the file failed
};

// The older fixed-layout library (".LIB" and every extension but ".LB3").
class BinaryLibraryFormat {
 public:
  // False when the file cannot be opened (library unchanged) or is malformed
  // (library empty).
  static bool Read(const std::string& path, Library& library);
  // The same on bytes already in memory (the library is cleared first).
  static bool ReadBytes(std::string_view bytes, Library& library);

  // Writes the file, keeping the previous one under the ".$ib" extension.
  // TooLarge and Inconsistent leave everything on disk untouched; WriteFailed
  // leaves the target as it was.
  static BinaryWriteResult Write(const std::string& path, const Library& library);
  // Builds the file's bytes in memory; Ok or the refusal.
  static BinaryWriteResult Encode(const Library& library, std::string& out);
  // The path with its extension replaced by ".$ib".
  static std::string BackupPath(const std::string& path);
};

}  // namespace zanli
