#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/library.h"

namespace zanli {

// What the part list shows while a filter text is set: the names that
// contain the text, ignoring the case of ASCII letters, where "*" stands for
// any run of characters and "?" for one character. Names and text are
// Shift-JIS bytes; a double-byte character counts as one and its second byte
// is never taken for a letter.
//
// A part and its aliases are one group: when any of their names matches,
// every row of the group is shown, so an alias is never seen without its part.
//   const NameFilter filter(text);
//   std::vector<int> rows = filter.Rows(document.library());   // in list order
class NameFilter {
 public:
  explicit NameFilter(std::string_view text);

  // An empty text (or one of stars only) shows every row.
  bool MatchesAll() const { return segments_.empty(); }
  bool Matches(std::string_view name) const;
  // The rows (indices into `library.entries`) to show, in list order.
  std::vector<int> Rows(const Library& library) const;

 private:
  // Characters: a single byte with ASCII letters upper-cased, or a
  // double-byte character as (lead << 8 | trail); "?" gets a code no
  // character has.
  static constexpr uint32_t kOne = 0x10000;

  // The runs of the text between its stars, in order.
  std::vector<std::vector<uint32_t>> segments_;
};

}  // namespace zanli
