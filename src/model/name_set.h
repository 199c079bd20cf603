#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "model/name_lookup.h"

namespace zanli {

// A multiset of names with constant-time lookup. Lists that may hold the same
// text twice (files are not checked for duplicates) add and remove each
// occurrence, so a name stays taken while any holder of it remains.
class NameSet : public NameLookup {
 public:
  void Add(std::string_view name);
  void Remove(std::string_view name);
  void Clear() { counts_.clear(); }
  // Room for `count` names, so that filling the set from a whole library
  // does not grow it step by step.
  void Reserve(size_t count) { counts_.reserve(count); }
  size_t Count(std::string_view name) const;
  bool IsNameTaken(std::string_view name) const override { return Count(name) > 0; }

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, size_t, Hash, std::equal_to<>> counts_;
};

}  // namespace zanli
