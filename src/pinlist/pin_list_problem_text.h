#pragma once

#include <string>

#include "pinlist/pin_list_plan.h"

namespace zanli {

// Why the plan cannot be pasted, in UTF-8 for the editor's message and
// zanli-cli: the reason, after the row at fault when there is one (rows
// counted from 1 as the pasted text shows them).
std::string PinListProblemText(const PinListPlan& plan);

}  // namespace zanli
