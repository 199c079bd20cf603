#include "fileio/text_library_budget.h"

#include "fileio/first_match_index.h"

namespace zanli {

size_t TextLibraryBudget::LibraryCost(const Library& library) {
  size_t cost = 0;
  for (const auto& pattern : library.patterns)
    cost += PatternCost(pattern->width, pattern->height) + StringCost(pattern->name.size());
  // The first entry of a body writes it; later ones are aliases.
  FirstMatchIndex<const PartBody*, const PartEntry*> partOf(library.bodies.size());
  for (const auto& entry : library.entries) {
    cost += EntryCost() + StringCost(entry->name.size());
    const PartBody* body = entry->body;
    if (body == nullptr || partOf.Insert(body, entry.get()) != entry.get()) continue;
    cost += BodyCost() + StringCost(body->numberPrefix.size());
    const size_t blocks = body->blockCount > 0 ? static_cast<size_t>(body->blockCount) : 0;
    for (const auto& pin : body->pins) {
      cost += PinCost(body->blockCount) + StringCost(pin->name.size());
      for (size_t b = 0; b < blocks && b < pin->numbers.size(); ++b)
        cost += StringCost(pin->numbers[b].size());
    }
  }
  return cost;
}

}  // namespace zanli
