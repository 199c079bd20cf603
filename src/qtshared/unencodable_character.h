#pragma once

#include <QString>

namespace zanli {

// The first character of `text` that the library's Shift-JIS cannot hold
// exactly, or an empty string when it holds them all. Such text is refused
// where it enters, never stored with a substitute.
QString FirstUnencodableCharacter(const QString& text);

}  // namespace zanli
