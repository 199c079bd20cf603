#include "pinlist/pin_list_problem_text.h"

#include "resources/pin_table_texts.h"

namespace zanli {

std::string PinListProblemText(const PinListPlan& plan) {
  const char* reason = "";
  bool row = true;
  switch (plan.problem) {
    case PinListProblem::None:
      return {};
    case PinListProblem::NoPins:
      reason = texts::kNoPins;
      row = false;
      break;
    case PinListProblem::BadSide:
      reason = texts::kBadSide;
      break;
    case PinListProblem::BadPosition:
      reason = texts::kBadPosition;
      break;
    case PinListProblem::BeyondLastPosition:
      reason = texts::kBeyondLastPosition;
      break;
    case PinListProblem::TwoPinsAtOnePlace:
      reason = texts::kPlaceTaken;
      break;
    case PinListProblem::BadNumber:
      reason = texts::kNumberTooLong;
      break;
    case PinListProblem::BadNumberText:
      reason = texts::kBadNumberText;
      break;
    case PinListProblem::BadName:
      reason = texts::kBadNameText;
      break;
    case PinListProblem::TooManyBlocks:
      reason = texts::kTooManyBlocks;
      row = false;
      break;
  }
  if (!row) return reason;
  std::string text = texts::kPinListRow;
  text.replace(text.find("%2"), 2, reason);
  text.replace(text.find("%1"), 2, std::to_string(plan.problemRow + 1));
  return text;
}

}  // namespace zanli
