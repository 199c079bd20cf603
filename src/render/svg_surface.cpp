#include "render/svg_surface.h"

#include <algorithm>
#include <cstdio>

namespace zanli {

namespace {

std::string Hex(Rgb colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
  return text;
}

void AppendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        // Control characters are not allowed in XML 1.0 at all.
        if (static_cast<unsigned char>(c) >= 0x20) out += c;
    }
  }
}

void AppendPath(std::string& out, Rgb colour, const std::string& data) {
  out.append("<path fill=\"").append(Hex(colour)).append("\" d=\"").append(data).append("\"/>\n");
}

}  // namespace

SvgSurface::SvgSurface(int32_t width, int32_t height, int32_t zoom, Rgb background)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      zoom_(std::max(zoom, 1)),
      background_(background) {}

void SvgSurface::SetOrigin(int32_t x, int32_t y) {
  originX_ = x;
  originY_ = y;
}

void SvgSurface::FillRect(int64_t x, int64_t y, int64_t width, int64_t height, Rgb colour) {
  const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(x + width, width_), bottom = std::min<int64_t>(y + height, height_);
  if (left >= right || top >= bottom) return;
  if (!data_.empty() && !(colour == colour_)) {
    AppendPath(paths_, colour_, data_);
    data_.clear();
  }
  colour_ = colour;
  // Every square runs clockwise, so overlaps stay filled.
  char square[96];
  std::snprintf(square, sizeof square, "M%lld %lldh%lldv%lldh-%lldz", static_cast<long long>(left),
                static_cast<long long>(top), static_cast<long long>(right - left),
                static_cast<long long>(bottom - top), static_cast<long long>(right - left));
  data_ += square;
}

void SvgSurface::FillRun(int64_t x, int64_t y, int64_t length, Rgb colour) {
  FillRect(x, y, length, 1, colour);
}

void SvgSurface::DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgb colour) {
  const int64_t px0 = int64_t{x0} - originX_, py0 = int64_t{y0} - originY_;
  const int64_t px1 = int64_t{x1} - originX_, py1 = int64_t{y1} - originY_;
  if (px0 == px1 && py0 == py1) return;
  // The end point is not drawn, as on every surface.
  if (py0 == py1) {
    FillRun(px0 < px1 ? px0 : px1 + 1, py0, px0 < px1 ? px1 - px0 : px0 - px1, colour);
  } else if (px0 == px1) {
    FillRect(px0, py0 < py1 ? py0 : py1 + 1, 1, py0 < py1 ? py1 - py0 : py0 - py1, colour);
  } else {
    ForEachLinePixel(px0, py0, px1, py1, [&](int64_t x, int64_t y) { FillRun(x, y, 1, colour); });
  }
}

void SvgSurface::CompositeBits(int32_t x, int32_t y, const uint8_t* bits, int32_t width, int32_t height,
                               int32_t stride, Rgb colour) {
  if (bits == nullptr || width <= 0 || height <= 0 || stride <= 0) return;
  const int64_t left = int64_t{x} - originX_, top = int64_t{y} - originY_;
  const int64_t rowFirst = std::max<int64_t>(0, -top), rowEnd = std::min<int64_t>(height, height_ - top);
  const int64_t colFirst = std::max<int64_t>(0, -left), colEnd = std::min<int64_t>(width, width_ - left);
  for (int64_t r = rowFirst; r < rowEnd; ++r) {
    const uint8_t* row = bits + r * stride;
    for (int64_t c = colFirst; c < colEnd;) {
      if (!(row[c / 8] & (0x80 >> (c % 8)))) {
        ++c;
        continue;
      }
      const int64_t start = c;
      while (c < colEnd && (row[c / 8] & (0x80 >> (c % 8)))) ++c;
      FillRun(left + start, top + r, c - start, colour);
    }
  }
}

std::string SvgSurface::Document(std::string_view title) const {
  std::string svg;
  char head[320];
  // Squares on whole units never straddle a device pixel at a whole zoom;
  // crispEdges keeps viewers from blurring them at other scales.
  std::snprintf(head, sizeof head,
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"%lld\" height=\"%lld\" "
                "viewBox=\"0 0 %d %d\" shape-rendering=\"crispEdges\">\n",
                static_cast<long long>(int64_t{width_} * zoom_),
                static_cast<long long>(int64_t{height_} * zoom_), width_, height_);
  svg += head;
  svg += "<title>";
  AppendEscaped(svg, title);
  svg += "</title>\n";
  svg.append("<rect width=\"100%\" height=\"100%\" fill=\"").append(Hex(background_)).append("\"/>\n");
  svg += paths_;
  if (!data_.empty()) AppendPath(svg, colour_, data_);
  svg += "</svg>\n";
  return svg;
}

}  // namespace zanli
