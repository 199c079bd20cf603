#include "fileio/text_library_budget.h"

#include <string_view>

#include "fileio/first_match_index.h"

namespace zanli {

namespace {

// Every object is one allocation, with the allocator's own bookkeeping.
constexpr size_t kAllocation = 16;
// A pointer in a vector that grows by doubling, counted with the moment
// both the old and the new array are held.
constexpr size_t kListSlot = 3 * sizeof(void*);
// A name in a FirstMatchIndex: a table at most half full that doubles.
constexpr size_t kIndexSlot = 4 * (sizeof(std::string_view) + 2 * sizeof(void*) + sizeof(size_t));

}  // namespace

size_t TextLibraryBudget::PatternCost(int32_t width, int32_t height) {
  const size_t bits = static_cast<size_t>(Pattern::StrideFor(width)) * static_cast<size_t>(height);
  return sizeof(Pattern) + kAllocation + kListSlot + kIndexSlot + bits + kAllocation;
}

size_t TextLibraryBudget::PinCost(int32_t blocks) {
  const size_t numbers = blocks > 0 ? static_cast<size_t>(blocks) : 0;
  return sizeof(PinInfo) + kAllocation + kListSlot + numbers * sizeof(std::string) + kAllocation;
}

size_t TextLibraryBudget::BodyCost() { return sizeof(PartBody) + kAllocation + kListSlot; }

size_t TextLibraryBudget::EntryCost() { return sizeof(PartEntry) + kAllocation + kListSlot + kIndexSlot; }

size_t TextLibraryBudget::StringCost(size_t length) {
  return length < sizeof(std::string) / 2 ? 0 : length + 1 + kAllocation;
}

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

bool TextLibraryBudget::Spend(size_t bytes) {
  if (bytes > left_) return false;
  left_ -= bytes;
  return true;
}

}  // namespace zanli
