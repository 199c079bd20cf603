#pragma once

#include <cstdint>

#include "model/pin_info.h"

namespace zanli {

// Where the pin panel and the part view point: the entry whose body is
// shown, the position on the body's outline and the block whose numbers
// show. The main window owns the one value; the view draws it and reports
// the user's moves, the panel shows and edits the pin there.
struct PinCursor {
  int row = -1;  // -1: no entry, so no body to edit
  PinEdge edge = PinEdge::Left;
  int32_t position = 0;
  int32_t block = 0;  // 0-based
};

}  // namespace zanli
