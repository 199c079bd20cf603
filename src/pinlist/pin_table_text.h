#pragma once

#include <string>
#include <vector>

#include "model/part_body.h"

namespace zanli {

// The pins of a body in the order the pin cursor runs around it: down the
// left side, along the bottom to the right, up the right side and along
// the top to the left; pins at one place in the body's order.
std::vector<const PinInfo*> PinsInCursorOrder(const PartBody& body);

// Pins as tab-separated text with a header row, as the pin table copies
// them and the paste reads them back: side, position, name, the three
// flags (1 or empty) and one number column per block, with a hidden column
// after a block that hides any number. Shift-JIS, lines ending in CR LF.
std::string PinTableText(const PartBody& body, const std::vector<const PinInfo*>& pins);

}  // namespace zanli
