#pragma once

#include <QByteArray>

namespace zanli {

class RgbRaster;

// A raster as PNG file bytes: what Copy offers other programs as a picture
// of the symbol and what zanli-cli render writes.
class PngEncoder {
 public:
  // Empty when the raster is empty or the encoding failed.
  static QByteArray Encode(const RgbRaster& raster);
};

}  // namespace zanli
