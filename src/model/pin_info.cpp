#include "model/pin_info.h"

namespace zanli {

PinInfo::PinInfo(int32_t blockCount) : numbers(blockCount > 0 ? static_cast<size_t>(blockCount) : 0) {}

}  // namespace zanli
