#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zanli {

// How the columns of a pasted pin list are told apart.
enum class PinListSeparator {
  Tab,     // a spreadsheet's copy
  Comma,   // CSV, fields in double quotes where they hold a comma
  Spaces,  // text copied from a document's table: runs of spaces
};

// A pasted pin list cut into cells: rows without the empty lines, every row
// as wide as the widest (short rows end in empty cells), cells without the
// blanks around them. Text is Shift-JIS, as the library stores it.
struct PinListCells {
  PinListSeparator separator = PinListSeparator::Tab;
  std::vector<std::vector<std::string>> rows;
  size_t columnCount = 0;

  static PinListCells Parse(std::string_view text);
};

}  // namespace zanli
