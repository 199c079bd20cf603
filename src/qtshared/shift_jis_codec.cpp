#include "qtshared/shift_jis_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

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

}  // namespace zanli
