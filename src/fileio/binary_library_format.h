#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/library_file_result.h"
#include "model/library.h"

namespace zanli {

// Why the binary writer refused; each maps to one message of the editor.
enum class BinaryWriteResult {
  Ok,
  TooLarge,      // string 103: the data is too large, please split it
  Inconsistent,  // string 104: an entry's body is not in the library
  WriteFailed,   // string 105: writing to the file failed
};

// The older fixed-layout library (".LIB" and every extension but ".LB3"):
// its codec. Files go through LibraryFile, which chooses the format and
// checks the file itself.
class BinaryLibraryFormat {
 public:
  // A fresh library from the bytes, or why not: FileTooLarge (beyond
  // binary_layout::kMaxReadSize), Malformed, OverBudget or OutOfMemory.
  static ReadResult Decode(std::string_view bytes);
  // The same into `library`, whose contents are replaced only on success.
  static bool ReadBytes(std::string_view bytes, Library& library);

  // Builds the file's bytes in memory; Ok or the refusal, with the limit
  // passed and where in `problem` when one is given. Whatever it accepts,
  // the reader reads back.
  static BinaryWriteResult Encode(const Library& library, std::string& out, WriteProblem* problem = nullptr);
  // The path with its extension replaced by ".$ib".
  static std::string BackupPath(const std::string& path);

  // The editor's calls until it uses LibraryFile, with the same checks. Read
  // replaces the contents of `library` only on success. Write keeps the
  // previous file under the ".$ib" extension; the refusals of LibraryFile
  // that have no message of their own come back as WriteFailed.
  static bool Read(const std::string& path, Library& library);
  static BinaryWriteResult Write(const std::string& path, const Library& library);
};

}  // namespace zanli
