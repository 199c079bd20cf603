#pragma once

#include <QString>
#include <QStringView>
#include <string>

namespace zanli {

// Converts the model's Shift-JIS byte strings (the Windows variant) to and
// from the Unicode text the widgets show.
class ShiftJisCodec {
 public:
  static QString Decode(const std::string& bytes);
  // Characters the code page cannot hold become its substitute byte: text
  // that goes into the library is first checked with FirstUnstorable.
  static std::string Encode(const QString& text);
  // The first character of `text` (a surrogate pair as one) that the library
  // cannot hold as text, or an empty string when it can hold them all.
  static QString FirstUnstorable(QStringView text);
  // The encoding name Qt accepted, for diagnostics.
  static const char* EncodingName();
};

}  // namespace zanli
