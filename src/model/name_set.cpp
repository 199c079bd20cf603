#include "model/name_set.h"

namespace zanli {

void NameSet::Add(std::string_view name) {
  auto it = counts_.find(name);
  if (it == counts_.end())
    counts_.emplace(std::string(name), 1);
  else
    ++it->second;
}

void NameSet::Remove(std::string_view name) {
  auto it = counts_.find(name);
  if (it == counts_.end()) return;
  if (--it->second == 0) counts_.erase(it);
}

size_t NameSet::Count(std::string_view name) const {
  auto it = counts_.find(name);
  return it == counts_.end() ? 0 : it->second;
}

}  // namespace zanli
