#pragma once

#include <string_view>

namespace zanli {

// Answers "is this name taken?" for the unique-name generators. The editor
// backs it with its part list (part names) or the library (pattern names).
class NameLookup {
 public:
  virtual ~NameLookup() = default;
  virtual bool IsNameTaken(std::string_view name) const = 0;
};

}  // namespace zanli
