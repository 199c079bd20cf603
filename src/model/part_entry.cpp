#include "model/part_entry.h"

#include "model/object_pool.h"

namespace zanli {

namespace {
using EntryPool = ObjectPool<sizeof(PartEntry), alignof(PartEntry)>;
}  // namespace

void* PartEntry::operator new(std::size_t) { return EntryPool::Allocate(); }

void PartEntry::operator delete(void* memory) noexcept { EntryPool::Free(memory); }

}  // namespace zanli
