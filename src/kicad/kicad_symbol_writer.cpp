#include "kicad/kicad_symbol_writer.h"

#include <charconv>

#include "kicad/kicad_limits.h"

namespace zanli {

namespace {

constexpr const char* kFont = "(effects (font (size 1.27 1.27))";

void AppendNumber(std::string& out, int64_t units) { KicadSymbolWriter::AppendNumber(out, units); }

void AppendPoint(std::string& out, const char* head, const KicadPoint& p) {
  out.append("(").append(head).append(" ");
  AppendNumber(out, p.x);
  out += ' ';
  AppendNumber(out, p.y);
  out += ')';
}

void AppendStrokeAndFill(std::string& out, const KicadGraphic& graphic) {
  out.append(" (stroke (width ");
  AppendNumber(out, graphic.strokeWidth);
  out.append(")) (fill (type ");
  out.append(graphic.fill == KicadGraphic::Fill::Outline      ? "outline"
             : graphic.fill == KicadGraphic::Fill::Background ? "background"
                                                              : "none");
  out.append("))");
}

void AppendGraphic(std::string& out, const KicadGraphic& graphic) {
  using Kind = KicadGraphic::Kind;
  out.append("      ");
  switch (graphic.kind) {
    case Kind::Rectangle:
      out.append("(rectangle ");
      AppendPoint(out, "start", graphic.points[0]);
      out.append(" ");
      AppendPoint(out, "end", graphic.points[1]);
      break;
    case Kind::Circle:
      out.append("(circle ");
      AppendPoint(out, "center", graphic.points[0]);
      out.append(" (radius ");
      AppendNumber(out, graphic.radius);
      out += ')';
      break;
    case Kind::Arc:
      out.append("(arc ");
      AppendPoint(out, "start", graphic.points[0]);
      out.append(" ");
      AppendPoint(out, "mid", graphic.points[1]);
      out.append(" ");
      AppendPoint(out, "end", graphic.points[2]);
      break;
    case Kind::Polyline:
    case Kind::Bezier:
      out.append(graphic.kind == Kind::Bezier ? "(bezier (pts" : "(polyline (pts");
      for (const KicadPoint& p : graphic.points) {
        out.append(" ");
        AppendPoint(out, "xy", p);
      }
      out.append(")");
      break;
    case Kind::Text:
      out.append("(text ");
      KicadSymbolWriter::AppendString(out, graphic.text);
      out.append(" (at ");
      AppendNumber(out, graphic.points[0].x);
      out += ' ';
      AppendNumber(out, graphic.points[0].y);
      out.append(" 0) ").append(kFont).append("))\n");
      return;
  }
  AppendStrokeAndFill(out, graphic);
  out.append(")\n");
}

void AppendPin(std::string& out, const KicadPin& pin) {
  out.append("      (pin ").append(pin.electricalType).append(" ").append(pin.shape).append(" (at ");
  AppendNumber(out, pin.at.x);
  out += ' ';
  AppendNumber(out, pin.at.y);
  out += ' ';
  AppendNumber(out, pin.angle);
  out.append(") (length ");
  AppendNumber(out, pin.length);
  out.append(pin.hidden ? ") hide\n" : ")\n");
  out.append("        (name ");
  KicadSymbolWriter::AppendString(out, pin.name);
  out.append(" ").append(kFont).append("))\n        (number ");
  KicadSymbolWriter::AppendString(out, pin.number);
  out.append(" ").append(kFont).append(pin.numberHidden ? " hide" : "").append("))\n      )\n");
}

void AppendSymbol(std::string& out, const KicadSymbol& symbol) {
  out.append("  (symbol ");
  KicadSymbolWriter::AppendString(out, symbol.name);
  if (!symbol.extends.empty()) {
    out.append(" (extends ");
    KicadSymbolWriter::AppendString(out, symbol.extends);
    out.append(")");
  } else {
    if (symbol.power) out.append(" (power)");
    if (symbol.pinNumbersHidden) out.append(" (pin_numbers hide)");
    out.append(symbol.pinNamesHidden ? " (pin_names (offset 1.016) hide)" : " (pin_names (offset 1.016))");
    out.append(" (in_bom yes) (on_board yes)");
  }
  out.append("\n");
  for (size_t i = 0; i < symbol.properties.size(); ++i) {
    const KicadProperty& property = symbol.properties[i];
    out.append("    (property ");
    KicadSymbolWriter::AppendString(out, property.key);
    out.append(" ");
    KicadSymbolWriter::AppendString(out, property.value);
    out.append(" (id ").append(std::to_string(i)).append(") (at 0 0 0)\n      ").append(kFont);
    out.append(property.hidden ? " hide" : "").append(")\n    )\n");
  }
  for (const KicadUnit& unit : symbol.units) {
    out.append("    (symbol ");
    KicadSymbolWriter::AppendString(
        out, symbol.name + "_" + std::to_string(unit.unit) + "_" + std::to_string(unit.style));
    out.append("\n");
    for (const KicadGraphic& graphic : unit.graphics) AppendGraphic(out, graphic);
    for (const KicadPin& pin : unit.pins) AppendPin(out, pin);
    out.append("    )\n");
  }
  out.append("  )\n");
}

}  // namespace

void KicadSymbolWriter::AppendNumber(std::string& out, int64_t units) {
  const uint64_t magnitude = units < 0 ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  if (units < 0) out += '-';
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, magnitude / KicadLimits::kUnitsPerMm).ptr;
  out.append(digits, end);
  uint64_t fraction = magnitude % KicadLimits::kUnitsPerMm;
  if (fraction == 0) return;
  char places[5] = {'.', '0', '0', '0', '0'};
  size_t used = 5;
  for (size_t i = 4; i >= 1; --i, fraction /= 10) places[i] = static_cast<char>('0' + fraction % 10);
  while (places[used - 1] == '0') --used;
  out.append(places, used);
}

std::string KicadSymbolWriter::Number(int64_t units) {
  std::string text;
  AppendNumber(text, units);
  return text;
}

void KicadSymbolWriter::AppendString(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      out += c;
    }
  }
  out += '"';
}

std::string KicadSymbolWriter::Write(const KicadSymbolLibrary& library) {
  std::string out = "(kicad_symbol_lib (version " + std::to_string(kVersion) + ") (generator zanli)\n";
  for (const KicadSymbol& symbol : library.symbols) AppendSymbol(out, symbol);
  out.append(")\n");
  return out;
}

}  // namespace zanli
