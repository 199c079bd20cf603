#include "app/symbol_preview.h"

#include <QPainter>
#include <algorithm>

#include "render/part_picture.h"
#include "render/symbol_renderer.h"

namespace zanli {

SymbolPreview::SymbolPreview(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
}

void SymbolPreview::ShowBody(const PartBody* body) {
  body_ = body;
  picture_ = QImage();
  update();
}

void SymbolPreview::paintEvent(QPaintEvent*) {
  if (body_ == nullptr || width() <= 0 || height() <= 0) return;
  if (picture_.isNull() || pictureFor_ != size()) {
    pictureFor_ = size();
    picture_ = QImage();
    int32_t zoom = PartPicture::kMaxZoom;
    while (zoom > PartPicture::kMinZoom &&
           (PartPicture::Width(*body_, zoom) > width() || PartPicture::Height(*body_, zoom) > height()))
      --zoom;
    const int64_t w = PartPicture::Width(*body_, zoom), h = PartPicture::Height(*body_, zoom);
    if (!SymbolRenderer::DrawingFits(w, h)) return;
    const RgbRaster raster = PartPicture::Raster(*body_, 0, zoom);
    const QImage image(raster.Pixels().data(), raster.Width(), raster.Height(), raster.Width() * 3,
                       QImage::Format_RGB888);
    picture_ = w > width() || h > height()
                   ? image.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)
                   : image.copy();
  }
  QPainter painter(this);
  painter.drawImage((width() - picture_.width()) / 2, (height() - picture_.height()) / 2, picture_);
}

}  // namespace zanli
