#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/pin_info.h"
#include "pinlist/pin_list_cells.h"

namespace zanli {

// What a column of a pasted pin list holds.
enum class PinColumnKind {
  Ignore,
  Number,    // the pin number of one block
  Hidden,    // whether that block's number is hidden (a true value)
  Name,      // the pin name, a backslash before each barred character
  Side,      // L/R/T/B, Left/Right/Top/Bottom or the Japanese side words
  Position,  // the place along the side, 0 to 255; empty: arranged
  NearBody,  // the number-near-the-body flag (a true value)
  Clock,
  Negative,
};

struct PinColumnRole {
  PinColumnKind kind = PinColumnKind::Ignore;
  int32_t block = 0;  // 0-based, for Number and Hidden

  friend bool operator==(const PinColumnRole&, const PinColumnRole&) = default;
};

// The role of every column and whether the first row is a header.
struct PinColumnRoles {
  bool header = false;
  std::vector<PinColumnRole> roles;

  // Chosen from the header words when there are any, otherwise from the
  // values: distinct numbers 1..N or ball names (A1, B12) are the number,
  // side words the side, the first other column of text the name; what is
  // left is ignored.
  static PinColumnRoles Detect(const PinListCells& cells);
};

// A side word in any of the accepted spellings, case aside.
bool ParsePinSide(std::string_view text, PinEdge& edge);
// The side's Japanese word (Shift-JIS): 左, 上, 右 or 下.
std::string_view PinSideWord(PinEdge edge);
// The header this editor writes for a column of the role (Shift-JIS; the
// block counted from 1), which Detect reads back; empty for Ignore.
std::string PinColumnHeader(const PinColumnRole& role);
// A flag or hidden cell: empty, 0, no, false, off, - and x-less marks are
// false, anything else true.
bool IsTrueCell(std::string_view text);

}  // namespace zanli
