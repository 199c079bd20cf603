#include "model/part_body.h"

#include <algorithm>

#include "model/object_pool.h"

namespace zanli {

namespace {
using BodyPool = ObjectPool<sizeof(PartBody), alignof(PartBody)>;
}  // namespace

PartBody::PartBody() = default;

void* PartBody::operator new(std::size_t) { return BodyPool::Allocate(); }

void PartBody::operator delete(void* memory) noexcept { BodyPool::Free(memory); }

void PartBody::SetBlockCount(int32_t n) {
  if (n < 0) n = 0;
  const size_t keep = static_cast<size_t>(std::min(blockCount, n) > 0 ? std::min(blockCount, n) : 0);
  for (auto& pin : pins) {
    // Numbers a pin holds beyond the old count are not kept either.
    pin->numbers.Resize(std::min(keep, pin->numbers.size()));
    pin->numbers.Resize(static_cast<size_t>(n), "D");
  }
  blockCount = n;
}

std::unique_ptr<PartBody> PartBody::Clone() const {
  auto copy = std::make_unique<PartBody>();
  copy->numberPrefix = numberPrefix;
  copy->xSize = xSize;
  copy->ySize = ySize;
  copy->blockCount = blockCount;
  copy->pattern = pattern;
  copy->pins.reserve(pins.size());
  for (const auto& pin : pins) copy->pins.push_back(std::make_unique<PinInfo>(*pin));
  return copy;
}

PinInfo* PartBody::FindPin(PinEdge edge, int32_t position) const {
  for (const auto& pin : pins)
    if (pin->edge == edge && pin->position == position) return pin.get();
  return nullptr;
}

PinInfo* PartBody::AddPin(std::unique_ptr<PinInfo> pin) {
  pins.push_back(std::move(pin));
  return pins.back().get();
}

bool PartBody::RemovePin(const PinInfo* pin) {
  auto it = std::find_if(pins.begin(), pins.end(), [pin](const auto& p) { return p.get() == pin; });
  if (it == pins.end()) return false;
  pins.erase(it);
  return true;
}

}  // namespace zanli
