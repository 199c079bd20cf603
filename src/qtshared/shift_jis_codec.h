#pragma once

#include <QString>
#include <string>

namespace zanli {

// Converts the model's Shift-JIS byte strings (the Windows variant) to and
// from the Unicode text the widgets show.
class ShiftJisCodec {
 public:
  static QString Decode(const std::string& bytes);
  // Characters the code page cannot hold become its substitute byte.
  static std::string Encode(const QString& text);
  // The encoding name Qt accepted, for diagnostics.
  static const char* EncodingName();
};

}  // namespace zanli
