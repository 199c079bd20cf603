#include "model/object_pool.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace zanli {

void AdviseLargePages([[maybe_unused]] void* memory, [[maybe_unused]] size_t bytes) noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  ::madvise(memory, bytes, MADV_HUGEPAGE);
#endif
}

}  // namespace zanli
