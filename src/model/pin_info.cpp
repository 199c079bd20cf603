#include "model/pin_info.h"

#include "model/object_pool.h"

namespace zanli {

namespace {
using PinPool = ObjectPool<sizeof(PinInfo), alignof(PinInfo)>;
}  // namespace

PinInfo::PinInfo(int32_t blockCount) : numbers(blockCount > 0 ? static_cast<size_t>(blockCount) : 0) {}

void* PinInfo::operator new(std::size_t) { return PinPool::Allocate(); }

void PinInfo::operator delete(void* memory) noexcept { PinPool::Free(memory); }

}  // namespace zanli
