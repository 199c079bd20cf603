#pragma once

#include <QString>

#include "model/pattern.h"
#include "qtshared/shift_jis_codec.h"

namespace zanli {

// How the attribute dialog's list and the pattern editor's box show a
// pattern: its size in grid steps, two spaces, its name.
inline QString PatternListText(const Pattern& pattern) {
  return QStringLiteral("%1x%2  %3")
      .arg(pattern.width / 10)
      .arg(pattern.height / 10)
      .arg(ShiftJisCodec::Decode(pattern.name));
}

}  // namespace zanli
