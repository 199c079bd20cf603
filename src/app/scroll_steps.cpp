#include "app/scroll_steps.h"

#include <QScrollBar>
#include <algorithm>

namespace zanli {

void MoveSliderForAction(QScrollBar& bar, int action, int32_t current, int32_t lineStep, int32_t pageStep) {
  int64_t target = current;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      target = int64_t{current} - lineStep;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      target = int64_t{current} + lineStep;
      break;
    case QAbstractSlider::SliderPageStepSub:
      target = int64_t{current} - pageStep;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      target = int64_t{current} + pageStep;
      break;
    case QAbstractSlider::SliderMove:
      target = bar.sliderPosition();
      break;
    default:
      break;
  }
  bar.setSliderPosition(static_cast<int>(std::clamp<int64_t>(target, 0, bar.maximum())));
}

}  // namespace zanli
