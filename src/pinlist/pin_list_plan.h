#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/part_body.h"
#include "model/pin_info.h"
#include "pinlist/pin_column_roles.h"
#include "pinlist/pin_list_cells.h"

namespace zanli {

// Where pasted pins go: in place of all the body's pins, or inserted at a
// place, whose pin and those after it on that side move on to make room.
struct PinListDestination {
  bool replaceAll = true;
  PinEdge edge = PinEdge::Left;
  int32_t position = 0;
};

// Why a pin list cannot be pasted; nothing is pasted then.
enum class PinListProblem {
  None,
  NoPins,              // no row holds anything for a pin
  BadSide,             // a side that is no side word
  BadPosition,         // a position that is no number
  BeyondLastPosition,  // a place beyond 255
  TwoPinsAtOnePlace,
  BadNumber,      // longer than a pin number may be
  BadNumberText,  // a character the library cannot hold
  BadName,        // a character the library cannot hold
  TooManyBlocks,
};

struct PlannedPin {
  PinEdge edge = PinEdge::Left;
  int32_t position = 0;
  PinData data;
};

// The pins a pasted list makes and the body that holds them. Pins without a
// position are arranged along their side in the list's order, from the top
// (left, right) or from the left (top, bottom), one grid step apart from
// position 1, around the places taken; without a side the first half goes
// left and the second right (inserted: the destination's side). The body
// grows to hold every pin inside its sides and, for arranged pins, their
// names side by side; the block count grows to the last number column.
struct PinListPlan {
  PinListProblem problem = PinListProblem::None;
  size_t problemRow = 0;  // the row of `cells` at fault
  PartAttributes attributes;
  // Inserting: how many places the destination's pin and the later ones on
  // its side move on.
  int32_t shift = 0;
  std::vector<PlannedPin> pins;

  static PinListPlan Make(const PinListCells& cells, const PinColumnRoles& roles, const PartBody& body,
                          const PinListDestination& destination);

  // A copy of `body` as the paste would leave it (the pattern shared), for
  // a preview; null when the plan has a problem.
  std::unique_ptr<PartBody> ResultBody(const PartBody& body, const PinListDestination& destination) const;
};

}  // namespace zanli
