#pragma once

#include <cstdint>

class QScrollBar;

namespace zanli {

// Views that keep their own scroll position and step by fixed amounts turn a
// bar's action into the slider position it should take: a line or a page from
// `current` either way, or where the user dragged the slider, clamped to the
// bar's range. Jumps to either end are not offered and leave it at `current`.
void MoveSliderForAction(QScrollBar& bar, int action, int32_t current, int32_t lineStep, int32_t pageStep);

}  // namespace zanli
