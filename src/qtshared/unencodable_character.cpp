#include "qtshared/unencodable_character.h"

#include "qtshared/shift_jis_codec.h"

namespace zanli {

QString FirstUnencodableCharacter(const QString& text) {
  const auto survives = [](const QString& part) {
    return ShiftJisCodec::Decode(ShiftJisCodec::Encode(part)) == part;
  };
  if (survives(text)) return {};
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QString character = text.mid(i, length);
    if (!survives(character)) return character;
    i += length - 1;
  }
  return text;  // fails only as a whole
}

}  // namespace zanli
