#include "app/pattern_editor/pattern_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>

namespace zanli {

namespace {

// Black for ink, white for clear pixels.
QImage ToImage(const PatternBitmap& bitmap) {
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_Mono);
  image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  image.fill(0);
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    for (int32_t x = 0; x < bitmap.Width(); ++x)
      if (bitmap.Pixel(x, y)) image.setPixel(x, y, 1);
  return image;
}

}  // namespace

PatternBitmap PatternClipboard::FromImage(const QImage& image, int32_t maxWidth, int32_t maxHeight) {
  const int32_t width = std::clamp<int32_t>(image.width(), 0, std::max(maxWidth, 0));
  const int32_t height = std::clamp<int32_t>(image.height(), 0, std::max(maxHeight, 0));
  PatternBitmap bitmap(width, height);
  if (bitmap.Empty()) return bitmap;
  // Straight (not premultiplied) alpha keeps the colour of a translucent
  // pixel as the other program meant it.
  const QImage part = image.copy(0, 0, width, height).convertToFormat(QImage::Format_ARGB32);
  for (int32_t y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(part.constScanLine(y));
    for (int32_t x = 0; x < width; ++x) {
      const QRgb pixel = row[x];
      const bool white = qRed(pixel) == 255 && qGreen(pixel) == 255 && qBlue(pixel) == 255;
      if (qAlpha(pixel) != 0 && !white) bitmap.SetPixel(x, y, true);
    }
  }
  return bitmap;
}

void PatternClipboard::Put(const PatternBitmap& bitmap) {
  QGuiApplication::clipboard()->setImage(ToImage(bitmap));
}

bool PatternClipboard::Offered() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasImage();
}

std::optional<PatternBitmap> PatternClipboard::Take(int32_t maxWidth, int32_t maxHeight) {
  if (!Offered()) return std::nullopt;
  const QImage image = QGuiApplication::clipboard()->image();
  if (image.isNull()) return std::nullopt;
  return FromImage(image, maxWidth, maxHeight);
}

}  // namespace zanli
