#include "qtshared/png_encoder.h"

#include <QBuffer>
#include <QImage>

#include "render/rgb_raster.h"

namespace zanli {

QByteArray PngEncoder::Encode(const RgbRaster& raster) {
  if (raster.Width() <= 0 || raster.Height() <= 0) return {};
  const QImage image(raster.Pixels().data(), raster.Width(), raster.Height(), raster.Width() * 3,
                     QImage::Format_RGB888);
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return {};
  return png;
}

}  // namespace zanli
