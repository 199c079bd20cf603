#include "qtshared/pin_list_text.h"

#include "qtshared/shift_jis_codec.h"

namespace zanli {

QString FirstUnstorableInPinList(const QString& text) {
  QString cells = text;
  cells.remove(QLatin1Char('\t')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  return ShiftJisCodec::FirstUnstorable(cells);
}

}  // namespace zanli
