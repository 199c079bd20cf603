#include "kicad/kicad_import.h"

#include <algorithm>
#include <unordered_set>

namespace zanli {

size_t KicadImport::Count(KicadOutcome outcome) const {
  return static_cast<size_t>(
      std::count_if(symbols.begin(), symbols.end(),
                    [outcome](const KicadSymbolImport& s) { return s.outcome == outcome; }));
}

void KicadImport::MoveInto(Library& target, std::span<const size_t> chosen) {
  const std::unordered_set<size_t> wanted(chosen.begin(), chosen.end());
  std::unordered_set<const PartEntry*> entries;
  for (size_t i = 0; i < symbols.size(); ++i)
    if (chosen.empty() || wanted.count(i) != 0)
      entries.insert(symbols[i].entries.begin(), symbols[i].entries.end());
  std::unordered_set<const PartBody*> bodies;
  std::unordered_set<const Pattern*> patterns;
  for (const auto& entry : library->entries)
    if (entries.count(entry.get()) != 0) {
      bodies.insert(entry->body);
      if (entry->body->pattern != nullptr) patterns.insert(entry->body->pattern);
    }
  // Each list keeps its order; what moves goes to the end of the target's.
  const auto move = [](auto& from, auto& to, const auto& chosenSet) {
    auto keep = from.begin();
    for (auto& item : from) {
      if (chosenSet.count(item.get()) != 0)
        to.push_back(std::move(item));
      else
        *keep++ = std::move(item);
    }
    from.erase(keep, from.end());
  };
  move(library->patterns, target.patterns, patterns);
  move(library->bodies, target.bodies, bodies);
  move(library->entries, target.entries, entries);
}

}  // namespace zanli
