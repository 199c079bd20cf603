#include "app/pattern_editor/text_order.h"

namespace zanli {

bool TextOrder::Less(const QString& a, const QString& b) {
  const int folded = QString::compare(a, b, Qt::CaseInsensitive);
  return folded != 0 ? folded < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
}

}  // namespace zanli
