#include "app/pin_list_preview.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "app/painter_surface.h"
#include "model/part_body.h"
#include "render/symbol_renderer.h"

namespace zanli {

PinListPreview::PinListPreview(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

PinListPreview::~PinListPreview() = default;

void PinListPreview::SetBody(std::unique_ptr<PartBody> body) {
  body_ = std::move(body);
  // The largest body a paste makes is 255 steps a side: about 2,700 pixels.
  const int w = body_ ? static_cast<int>(std::min<int64_t>(SymbolRenderer::DrawingWidth(*body_), 4000)) : 1;
  const int h = body_ ? static_cast<int>(std::min<int64_t>(SymbolRenderer::DrawingHeight(*body_), 4000)) : 1;
  setFixedSize(w, h);
  update();
}

void PinListPreview::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), Qt::white);
  if (!body_) return;
  PainterSurface surface(painter, event->rect());
  SymbolRenderer::DrawPart(surface, nullptr, *body_, 0);
}

}  // namespace zanli
