#include "model/name_set.h"

namespace zanli {

void NameSet::Add(std::string_view name) {
  // One search: most names are new, so the copy is rarely wasted.
  ++counts_.try_emplace(std::string(name), 0).first->second;
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
