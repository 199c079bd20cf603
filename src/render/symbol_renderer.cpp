#include "render/symbol_renderer.h"

#include <algorithm>
#include <limits>

#include "model/pattern.h"
#include "render/pin_mark_bitmaps.h"
#include "render/symbol_text_renderer.h"

namespace zanli {

static_assert(SymbolRenderer::DrawingFits(10 * 255 + 121, 10 * 255 + 121),
              "every body a binary library holds must draw within the budget");

namespace {

// Sizes and positions come from files; a hostile one must not overflow the
// coordinate arithmetic.
int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min() / 2,
                                                  std::numeric_limits<int32_t>::max() / 2));
}

int32_t GridToUnits(int32_t steps) {
  return Saturate(int64_t{SymbolRenderer::kBodyOrigin} + int64_t{SymbolRenderer::kGridStep} * steps);
}

bool ValidEdge(PinEdge edge) { return static_cast<int32_t>(edge) >= 0 && static_cast<int32_t>(edge) <= 3; }

bool Overlaps(const ClipRect& a, const ClipRect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

const uint8_t* Bytes(std::string_view s) { return reinterpret_cast<const uint8_t*>(s.data()); }

}  // namespace

void SymbolRenderer::PinAnchor(const PartBody& body, PinEdge edge, int32_t position, int32_t& x, int32_t& y) {
  const int32_t along = GridToUnits(position);
  switch (edge) {
    case PinEdge::Top:
      x = along;
      y = kBodyOrigin;
      break;
    case PinEdge::Right:
      x = GridToUnits(body.xSize);
      y = along;
      break;
    case PinEdge::Bottom:
      x = along;
      y = GridToUnits(body.ySize);
      break;
    case PinEdge::Left:
    default:
      x = kBodyOrigin;
      y = along;
      break;
  }
}

void SymbolRenderer::DrawBody(DrawSurface& surface, const PartBody& body) {
  const Pattern* pattern = body.pattern;
  if (pattern != nullptr) {
    // A pattern that should show the outline carries it in its own pixels.
    const int64_t needed = int64_t{pattern->Stride()} * std::max(pattern->height, 0);
    if (pattern->width > 0 && pattern->height > 0 && static_cast<int64_t>(pattern->bits.size()) >= needed)
      surface.CompositeBits(kBodyOrigin, kBodyOrigin, pattern->bits.data(), pattern->width, pattern->height,
                            pattern->Stride(), kBlack);
    return;
  }
  const int32_t right = GridToUnits(body.xSize);
  const int32_t bottom = GridToUnits(body.ySize);
  // Each line stops short of its end point, which the next line starts on.
  surface.DrawLine(kBodyOrigin, kBodyOrigin, kBodyOrigin, bottom, kBlack);
  surface.DrawLine(kBodyOrigin, bottom, right, bottom, kBlack);
  surface.DrawLine(right, bottom, right, kBodyOrigin, kBlack);
  surface.DrawLine(right, kBodyOrigin, kBodyOrigin, kBodyOrigin, kBlack);
}

std::string SymbolRenderer::ConvertBars(std::string_view name) {
  std::string out;
  bool barNext = false;
  for (char c : name) {
    if (static_cast<int32_t>(out.size()) >= SymbolTextRenderer::kMaxLength) break;
    if (c == '\\' && !barNext) {
      barNext = true;
      continue;
    }
    out.push_back(barNext ? static_cast<char>(static_cast<uint8_t>(c) | 0x80) : c);
    barNext = false;
  }
  return out;
}

void SymbolRenderer::DrawPin(DrawSurface& surface, const ClipRect* clip, const PartBody& body,
                             const PinInfo& pin, int32_t block) {
  if (!ValidEdge(pin.edge)) return;
  int32_t ax = 0, ay = 0;
  PinAnchor(body, pin.edge, pin.position, ax, ay);
  const std::string name = ConvertBars(pin.name);
  const int32_t n = static_cast<int32_t>(name.size());

  if (clip != nullptr) {
    const int32_t w = 8 * n + 5;
    ClipRect area;
    switch (pin.edge) {
      case PinEdge::Left:
        area = {ax - 50, ay - 10, ax + w, ay + 5};
        break;
      case PinEdge::Top:
        area = {ax - 10, ay - 50, ax + 5, ay + w};
        break;
      case PinEdge::Right:
        area = {ax - w, ay - 10, ax + 50, ay + 5};
        break;
      case PinEdge::Bottom:
        area = {ax - 10, ay - w, ax + 5, ay + 50};
        break;
    }
    if (!Overlaps(area, *clip)) return;
  }

  PinMarkKind kind;
  if (PinMarkBitmaps::KindForFlags(pin.flags, kind)) {
    const PinMarkBitmaps::Image image = PinMarkBitmaps::Instance().Get(kind, pin.edge);
    int32_t left = ax - 3, top = ay - 3;
    switch (pin.edge) {
      case PinEdge::Left:
        left = ax - 10;
        break;
      case PinEdge::Top:
        top = ay - 10;
        break;
      case PinEdge::Right:
        left = ax - 4;
        break;
      case PinEdge::Bottom:
        top = ay - 4;
        break;
    }
    surface.CompositeBits(left, top, image.bits, image.width, image.height, image.stride, kBlack);
  } else {
    switch (pin.edge) {
      case PinEdge::Left:
        surface.DrawLine(ax - 10, ay, ax, ay, kBlack);
        break;
      case PinEdge::Top:
        surface.DrawLine(ax, ay - 10, ax, ay, kBlack);
        break;
      case PinEdge::Right:
        surface.DrawLine(ax + 10, ay, ax, ay, kBlack);
        break;
      case PinEdge::Bottom:
        surface.DrawLine(ax, ay + 10, ax, ay, kBlack);
        break;
    }
  }

  const SymbolTextRenderer& text = SymbolTextRenderer::Instance();
  // The name runs inside the body, away from the edge.
  if (n > 0) {
    switch (pin.edge) {
      case PinEdge::Left:
        text.DrawText(surface, ax + 5, ay + 4, Bytes(name), n, kBlue, false, true);
        break;
      case PinEdge::Top:
        text.DrawText(surface, ax + 4, ay + 5, Bytes(name), n, kBlue, true, false);
        break;
      case PinEdge::Right:
        text.DrawText(surface, ax - 5, ay + 4, Bytes(name), n, kBlue, false, false);
        break;
      case PinEdge::Bottom:
        text.DrawText(surface, ax + 4, ay - 5, Bytes(name), n, kBlue, true, true);
        break;
    }
  }

  if (block < 0 || static_cast<size_t>(block) >= pin.numbers.size()) return;
  const std::string_view number = pin.numbers[static_cast<size_t>(block)];
  if (number.size() < 2) return;  // no number, or a display letter without text
  const Rgb colour = number[0] == 'H' ? kRed : kBlue;
  // Drawn as stored: a byte with bit 7 set shows with a bar.
  const uint8_t* digits = Bytes(number) + 1;
  const int32_t length =
      static_cast<int32_t>(std::min<size_t>(number.size() - 1, SymbolTextRenderer::kMaxLength));
  const int32_t d = (pin.flags & PinFlag::NumberNearBody) ? 2 : 8;
  switch (pin.edge) {
    case PinEdge::Left:
      text.DrawText(surface, ax - d, ay - 2, digits, length, colour, false, false);
      break;
    case PinEdge::Top:
      text.DrawText(surface, ax - 2, ay - d, digits, length, colour, true, true);
      break;
    case PinEdge::Right:
      text.DrawText(surface, ax + d, ay - 2, digits, length, colour, false, true);
      break;
    case PinEdge::Bottom:
      text.DrawText(surface, ax - 2, ay + d, digits, length, colour, true, false);
      break;
  }
}

void SymbolRenderer::DrawPart(DrawSurface& surface, const ClipRect* clip, const PartBody& body,
                              int32_t block) {
  DrawBody(surface, body);
  for (const auto& pin : body.pins)
    if (pin) DrawPin(surface, clip, body, *pin, block);
}

ClipRect SymbolRenderer::PinArea(const PartBody& body, PinEdge edge, int32_t position) {
  int32_t ax = 0, ay = 0;
  PinAnchor(body, edge, position, ax, ay);
  switch (edge) {
    case PinEdge::Top:
      return {ax - 10, ay - 50, ax + 4, ay + 260};
    case PinEdge::Right:
      return {ax - 261, ay - 10, ax + 49, ay + 4};
    case PinEdge::Bottom:
      return {ax - 10, ay - 261, ax + 4, ay + 49};
    case PinEdge::Left:
    default:
      return {ax - 50, ay - 10, ax + 260, ay + 4};
  }
}

}  // namespace zanli
