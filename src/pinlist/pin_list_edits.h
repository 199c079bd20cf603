#pragma once

#include <string>

#include "document/library_document.h"
#include "pinlist/pin_list_plan.h"

// A planned pin list made into document operations, applied as one group:
// one step, all or nothing.
namespace zanli {

// The plan's body size and block count, then its pins on the body of
// `row` where `destination` says (a plan made for that body and place).
EditResult PastePinList(LibraryDocument& document, int row, const PinListPlan& plan,
                        const PinListDestination& destination);

// A new part named `name` before `row` (appended when out of range) with
// the plan's body and pins (a plan made for a default body, replacing all).
// `selected` is the row selected now.
EditResult AddPartFromPinList(LibraryDocument& document, int row, const std::string& name, int selected,
                              const PinListPlan& plan);

}  // namespace zanli
