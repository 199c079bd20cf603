#include "pinlist/pin_list_edits.h"

#include <vector>

namespace zanli {

namespace {

// Each operation refuses inside the group on its own; a refusal takes the
// whole group back, so the first one ends the work.
bool Applied(const EditResult& result) { return result.status != EditStatus::Refused; }

bool ApplyPins(LibraryDocument& document, int row, const PinListPlan& plan,
               const PinListDestination& destination) {
  if (plan.problem != PinListProblem::None) return false;
  const PartBody* body = document.BodyOf(row);
  if (body == nullptr) return false;
  if (destination.replaceAll) {
    // Backwards, so each removal leaves the places of the others alone.
    std::vector<std::pair<PinEdge, int32_t>> places;
    for (const auto& pin : body->pins) places.emplace_back(pin->edge, pin->position);
    for (auto it = places.rbegin(); it != places.rend(); ++it)
      if (!Applied(document.EditPin(row, it->first, it->second, std::nullopt))) return false;
  }
  if (!Applied(document.SetAttributes(row, plan.attributes))) return false;
  for (int32_t i = 0; i < plan.shift; ++i)
    if (!Applied(document.InsertBlankPin(row, destination.edge, destination.position))) return false;
  for (const PlannedPin& pin : plan.pins)
    if (!Applied(document.EditPin(row, pin.edge, pin.position, pin.data))) return false;
  return true;
}

}  // namespace

EditResult PastePinList(LibraryDocument& document, int row, const PinListPlan& plan,
                        const PinListDestination& destination) {
  if (!document.BeginGroup(StepKind::PastePins)) return EditResult{EditStatus::Refused, nullptr};
  if (!ApplyPins(document, row, plan, destination)) {
    document.AbortGroup();
    return EditResult{EditStatus::Refused, nullptr};
  }
  return document.CommitGroup();
}

EditResult AddPartFromPinList(LibraryDocument& document, int row, const std::string& name, int selected,
                              const PinListPlan& plan) {
  if (!document.BeginGroup(StepKind::AddPartFromPins)) return EditResult{EditStatus::Refused, nullptr};
  const int at = row >= 0 && row < document.EntryCount() ? row : document.EntryCount();
  if (!Applied(document.AddPart(row, name, selected)) ||
      !ApplyPins(document, at, plan, PinListDestination{})) {
    document.AbortGroup();
    return EditResult{EditStatus::Refused, nullptr};
  }
  return document.CommitGroup();
}

}  // namespace zanli
