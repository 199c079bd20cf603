#include "qtshared/shift_jis_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include "model/storable_text.h"

namespace zanli {

namespace {

// Qt's names for the code page depend on the build's ICU; take the first one
// it knows, falling back to Latin-1 so bytes at least survive a round trip.
const char* FindEncoding() {
  for (const char* name : {"Windows-31J", "CP932", "Shift_JIS"}) {
    if (QStringDecoder(name).isValid() && QStringEncoder(name).isValid()) return name;
  }
  return "ISO-8859-1";
}

}  // namespace

const char* ShiftJisCodec::EncodingName() {
  static const char* const name = FindEncoding();
  return name;
}

QString ShiftJisCodec::Decode(const std::string& bytes) {
  QStringDecoder decoder(EncodingName());
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ShiftJisCodec::Encode(const QString& text) {
  QStringEncoder encoder(EncodingName());
  const QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString ShiftJisCodec::FirstUnstorable(QStringView text) {
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype length =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    const QStringView character = text.sliced(i, length);
    // The converter marks a character it has no code for; the core's rule
    // catches what it maps to bytes no file may hold (control characters,
    // the user-defined rows).
    QStringEncoder encoder(EncodingName());
    const QByteArray bytes = encoder.encode(character);
    if (encoder.hasError() ||
        !IsStorableText(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))))
      return character.toString();
    i += length;
  }
  return QString();
}

}  // namespace zanli
