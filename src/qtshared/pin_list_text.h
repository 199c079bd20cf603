#pragma once

#include <QString>

namespace zanli {

// The first character of a pasted pin list that the library cannot hold
// (ShiftJisCodec::FirstUnstorable), or an empty string. Tabs and line
// breaks part the cells and are no characters of a cell.
QString FirstUnstorableInPinList(const QString& text);

}  // namespace zanli
