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

// Which limit a TooLarge or Inconsistent refusal met, and where: the writer
// stops at the first one, in the order it builds its sections (patterns,
// bodies, entries, then the whole file). `value` is what the library needs,
// `maximum` what the format holds (for the ranges 1-255 and 0-255, the top).
struct BinaryWriteRefusal {
  enum class Limit {
    None,
    PatternSide,     // a width or height outside 1..32767
    PatternImage,    // one image over the 32000-byte scratch buffer
    BitmapArea,      // all images over 64000 bytes
    XSize,           // 1..255
    YSize,           // 1..255
    BlockCount,      // 1..255
    PinCount,        // 4095 pins a body
    PartRecordSize,  // one part record over the 32000-byte scratch buffer
    PinPosition,     // 0..255
    PinNameLength,   // 127 stored characters
    PartRecordArea,  // all part records over 64000 bytes
    StringPool,      // all strings over 64000 bytes
    EntryCount,      // 32767 entries
    FileSize,        // 65534 bytes
    BodyMissing,     // Inconsistent: an entry's body is not in the library's bodies
  };
  Limit limit = Limit::None;
  // The element that met the limit, within the library given to the writer;
  // null where it does not apply (the pool names the string's owner).
  const Pattern* pattern = nullptr;
  const PartBody* body = nullptr;
  const PinInfo* pin = nullptr;
  const PartEntry* entry = nullptr;
  int64_t value = 0;
  int64_t maximum = 0;
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
  // Builds the file's bytes in memory; Ok or the refusal, whose detail goes to
  // `refusal` when given.
  static BinaryWriteResult Encode(const Library& library, std::string& out,
                                  BinaryWriteRefusal* refusal = nullptr);
  // The path with its extension replaced by ".$ib".
  static std::string BackupPath(const std::string& path);
};

}  // namespace zanli
