#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fileio/library_file_result.h"
#include "model/library.h"

namespace zanli {

// The line-oriented text library (".LB3"): its codec. Files go through
// LibraryFile, which chooses the format and checks the file itself.
class TextLibraryFormat {
 public:
  // A fresh library from the bytes, or why not: FileTooLarge, Malformed,
  // OverBudget (TextLibraryBudget) or OutOfMemory. Reports a missing
  // closing line.
  static ReadResult Decode(std::string_view bytes);
  // The same into `library`, whose contents are replaced only on success.
  static bool ReadBytes(std::string_view bytes, Library& library);

  // What the reader would refuse in the text of `library`, in pattern and
  // entry order: empty names, sizes and block counts outside what it takes,
  // names longer than a field.
  static std::vector<WriteProblem> FindUnreadable(const Library& library);
  // The file's bytes, or the refusal with its problems: Inconsistent (an
  // entry without a body), Unreadable (FindUnreadable), TooLarge (beyond
  // what the reader takes from a file) or OutOfMemory.
  static WriteFailure Encode(const Library& library, std::string& out, std::vector<WriteProblem>& problems);
  // The bytes unchecked (CR LF line ends); empty for an entry without a body
  // or when memory runs out.
  static std::string WriteBytes(const Library& library);

  // The editor's calls until it uses LibraryFile, with the same checks. Read
  // replaces the contents of `library` only on success.
  static bool Read(const std::string& path, Library& library);
  static bool Write(const std::string& path, const Library& library);
};

}  // namespace zanli
