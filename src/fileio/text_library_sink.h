#pragma once

#include <cstddef>
#include <string_view>

#include "model/part_body.h"
#include "model/pattern.h"

namespace zanli {

// Takes a text library's contents from TextLibraryReader one at a time, in
// file order, instead of a library that holds them all: what compares a
// large library with its saved text needs only the part at hand. The
// reader keeps the patterns (parts refer to them); each part's body lives
// only until the next part is read.
//
// Either call may return false to stop the read where it stands.
class TextLibrarySink {
 public:
  virtual ~TextLibrarySink() = default;

  // The pattern at `index` in the library's patterns, once read. Its bits
  // are the sink's to drop once it has looked at them.
  virtual bool TakePattern(Pattern& pattern, size_t index) = 0;
  // The entry at `index` in entry order, named `name`. A part comes with
  // its body (`part` is then `index`); an alias with none, and `part` the
  // entry whose body it shares (the first entry naming that body).
  virtual bool TakeEntry(size_t index, std::string_view name, size_t part, const PartBody* body) = 0;
};

}  // namespace zanli
