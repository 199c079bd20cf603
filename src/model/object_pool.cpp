#include "model/object_pool.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace zanli {

void* AllocateLargeRegion(size_t bytes, size_t align) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Mapped with room to align, then trimmed: the heap's aligned allocation
  // would keep the unused part mapped.
  void* mapped = ::mmap(nullptr, bytes + align, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t aligned = (start + align - 1) & ~(uintptr_t{align} - 1);
  if (aligned > start) ::munmap(mapped, aligned - start);
  if (const size_t tail = start + align - aligned) ::munmap(reinterpret_cast<void*>(aligned + bytes), tail);
  void* region = reinterpret_cast<void*>(aligned);
  ::madvise(region, bytes, MADV_HUGEPAGE);  // a hint; without it the region still serves
  return region;
#else
  return ::operator new (bytes, std::align_val_t{align});
#endif
}

}  // namespace zanli
