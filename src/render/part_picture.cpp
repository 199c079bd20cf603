#include "render/part_picture.h"

#include "render/svg_surface.h"
#include "render/symbol_renderer.h"
#include "render/zoomed_surface.h"

namespace zanli {

namespace {

constexpr Rgb kWhite{255, 255, 255};

}  // namespace

int64_t PartPicture::Width(const PartBody& body, int32_t zoom) {
  return SymbolRenderer::DrawingWidth(body) * zoom;
}

int64_t PartPicture::Height(const PartBody& body, int32_t zoom) {
  return SymbolRenderer::DrawingHeight(body) * zoom;
}

RgbRaster PartPicture::Raster(const PartBody& body, int32_t block, int32_t zoom) {
  RgbRaster raster(static_cast<int32_t>(Width(body, zoom)), static_cast<int32_t>(Height(body, zoom)), kWhite);
  if (zoom == 1) {
    SymbolRenderer::DrawPart(raster, nullptr, body, block);
  } else {
    ZoomedSurface zoomed(raster, zoom);
    SymbolRenderer::DrawPart(zoomed, nullptr, body, block);
  }
  return raster;
}

std::string PartPicture::Svg(const PartBody& body, int32_t block, int32_t zoom, std::string_view title) {
  // Drawn at 1:1; the document's view box magnifies it.
  SvgSurface svg(static_cast<int32_t>(Width(body, 1)), static_cast<int32_t>(Height(body, 1)), zoom, kWhite);
  SymbolRenderer::DrawPart(svg, nullptr, body, block);
  return svg.Document(title);
}

}  // namespace zanli
