#pragma once

#include <cstddef>
#include <string>
#include <utility>

namespace zanli {

class PartBody;

// A part name or an alias name. In entry order the first entry naming a body
// is the part; later ones naming the same body are its aliases.
class PartEntry final {
 public:
  PartEntry(std::string name_, PartBody* body_) : name(std::move(name_)), body(body_) {}

  // From the pool of objects of this size (model/object_pool.h).
  static void* operator new(std::size_t size);
  static void operator delete(void* memory) noexcept;

  std::string name;
  PartBody* body;  // not owned; an element of Library::bodies
};

}  // namespace zanli
