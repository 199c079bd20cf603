#include "model/pin_info.h"

#include "model/object_pool.h"

namespace zanli {

namespace {
using PinPool = ObjectPool<sizeof(PinInfo), alignof(PinInfo)>;
}  // namespace

void* PinInfo::operator new(std::size_t) { return PinPool::Allocate(); }

void PinInfo::operator delete(void* memory) noexcept { PinPool::Free(memory); }

}  // namespace zanli
