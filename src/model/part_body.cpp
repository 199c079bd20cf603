#include "model/part_body.h"

#include <algorithm>

namespace zanli {

PartBody::PartBody() = default;
PartBody::~PartBody() = default;

void PartBody::SetBlockCount(int32_t n) {
  if (n < 0) n = 0;
  const size_t keep = static_cast<size_t>(std::min(blockCount, n) > 0 ? std::min(blockCount, n) : 0);
  for (auto& pin : pins) {
    std::vector<std::string> numbers(static_cast<size_t>(n), std::string("D"));
    for (size_t i = 0; i < keep && i < pin->numbers.size(); ++i) numbers[i] = std::move(pin->numbers[i]);
    pin->numbers = std::move(numbers);
  }
  blockCount = n;
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
