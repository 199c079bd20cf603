// Replaces the global operator new and delete of the fileio test program so
// that AllocationFailure can make one allocation fail.
#include "allocation_failure.h"

#include <cstdlib>
#include <new>

namespace zanli::testing {

namespace {

int gCountdown = 0;  // 0: disarmed
bool gFired = false;

}  // namespace

AllocationFailure::AllocationFailure(int n) {
  gFired = false;
  gCountdown = n;
}

AllocationFailure::~AllocationFailure() { gCountdown = 0; }

bool AllocationFailure::Fired() const { return gFired; }

}  // namespace zanli::testing

namespace {

void* Allocate(std::size_t size) {
  using namespace zanli::testing;
  if (gCountdown > 0 && --gCountdown == 0) {
    gFired = true;
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
