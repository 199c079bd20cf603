#include "app/part_clipboard.h"

#include <QMimeData>

#include "app/clipboard_format.h"
#include "clipboard/part_clipboard_block.h"
#include "fileio/text_library_format.h"
#include "qtshared/png_encoder.h"
#include "qtshared/shift_jis_codec.h"
#include "render/rgb_raster.h"
#include "render/symbol_renderer.h"

namespace zanli {

namespace {

// A text library that holds just this part, with its pattern.
std::string TextLibraryOf(const std::string& entryName, const PartBody& body) {
  Library library;
  std::unique_ptr<PartBody> copy = body.Clone();
  if (body.pattern) copy->pattern = library.AddPattern(body.pattern->Clone());
  library.AddEntry(std::make_unique<PartEntry>(entryName, library.AddBody(std::move(copy))));
  return TextLibraryFormat::WriteBytes(library);
}

// The symbol as zanli-cli render draws it, block 1; none when it is beyond
// the drawing budget (the copy goes on without a picture).
QByteArray PictureOf(const PartBody& body) {
  const int64_t width = SymbolRenderer::DrawingWidth(body), height = SymbolRenderer::DrawingHeight(body);
  if (!SymbolRenderer::DrawingFits(width, height)) return {};
  RgbRaster raster(static_cast<int32_t>(width), static_cast<int32_t>(height), Rgb{255, 255, 255});
  SymbolRenderer::DrawPart(raster, nullptr, body, 0);
  return PngEncoder::Encode(raster);
}

}  // namespace

QMimeData* PartClipboard::MakeMimeData(const std::string& entryName, const PartBody& body) {
  auto* data = new QMimeData;
  const std::string block = PartClipboardBlock::Build(entryName, body);
  data->setData(QString::fromLatin1(kPartClipboardFormat),
                QByteArray(block.data(), static_cast<qsizetype>(block.size())));
  // Other programs take text as Unicode; the names are Shift-JIS bytes.
  const std::string text = TextLibraryOf(entryName, body);
  if (!text.empty()) data->setText(ShiftJisCodec::Decode(text));
  const QByteArray png = PictureOf(body);
  if (!png.isEmpty()) data->setData(QStringLiteral("image/png"), png);
  return data;
}

bool PartClipboard::Offers(const QMimeData* data) {
  return data != nullptr && data->hasFormat(QString::fromLatin1(kPartClipboardFormat));
}

QByteArray PartClipboard::Block(const QMimeData* data) {
  return Offers(data) ? data->data(QString::fromLatin1(kPartClipboardFormat)) : QByteArray();
}

}  // namespace zanli
