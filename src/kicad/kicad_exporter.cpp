#include "kicad/kicad_exporter.h"

#include <set>
#include <unordered_map>
#include <unordered_set>

#include "kicad/kicad_limits.h"
#include "kicad/kicad_symbol_writer.h"
#include "model/pattern.h"

namespace zanli {

namespace {

constexpr int64_t G = KicadLimits::kGrid;
constexpr int64_t kPixel = G / KicadLimits::kPixelsPerGrid;
using NoteKind = KicadExportNote::Kind;

class SymbolMaker {
 public:
  SymbolMaker(const KicadExporter::Options& options, std::vector<KicadExportNote>& notes)
      : options_(options), notes_(notes) {}

  std::string Text(std::string_view bytes, const std::string& part) {
    std::string utf8;
    if (!KicadText::ToUtf8(bytes, options_.decoder, utf8)) Note(NoteKind::Undecodable, part, utf8);
    return utf8;
  }

  // A symbol name: KiCad's library references use ':' to part the library
  // from the name, so it cannot stand in one.
  std::string Name(const std::string& name) {
    std::string utf8 = Text(name, name);
    const std::string shown = utf8;
    for (char& c : utf8)
      if (c == ':') c = '_';
    if (utf8 != shown) Note(NoteKind::Renamed, shown, utf8);
    return utf8;
  }

  KicadProperty Property(std::string key, std::string value, bool hidden) {
    return KicadProperty{std::move(key), std::move(value), hidden};
  }

  KicadSymbol Part(const PartBody& body, const std::string& name) {
    KicadSymbol symbol;
    symbol.name = name;
    const int64_t left = -(body.xSize / 2) * G;
    const int64_t top = ((body.ySize + 1) / 2) * G;
    symbol.properties.push_back(Property("Reference", Text(body.numberPrefix, name), false));
    symbol.properties.push_back(Property("Value", name, false));
    symbol.properties.push_back(Property("Footprint", "", true));
    symbol.properties.push_back(Property("Datasheet", "", true));
    symbol.properties.push_back(Property("Zanli.Body",
                                         KicadSymbolWriter::Number(left) + " " +
                                             KicadSymbolWriter::Number(top) + " " +
                                             std::to_string(body.xSize) + " " + std::to_string(body.ySize),
                                         true));
    KicadUnit drawing;
    drawing.unit = 0;
    if (body.pattern != nullptr) {
      const Pattern& pattern = *body.pattern;
      symbol.properties.push_back(Property("Zanli.Pattern",
                                           Text(pattern.name, name) + " " + std::to_string(pattern.width) +
                                               " " + std::to_string(pattern.height),
                                           true));
      AddRuns(pattern, left, top, drawing.graphics);
    } else {
      KicadGraphic outline;
      outline.kind = KicadGraphic::Kind::Rectangle;
      outline.fill = KicadGraphic::Fill::Background;
      outline.strokeWidth = 2540;
      outline.points = {{left, top}, {left + body.xSize * G, top - body.ySize * G}};
      drawing.graphics.push_back(std::move(outline));
    }
    symbol.units.push_back(std::move(drawing));

    std::string nearBody;
    std::set<std::pair<int, int32_t>> places;
    const char* const edges = "LTRB";
    std::vector<KicadPin> pins;
    for (const auto& pin : body.pins) {
      const std::string place = edges[static_cast<int>(pin->edge)] + std::to_string(pin->position);
      if (!places.emplace(static_cast<int>(pin->edge), pin->position).second)
        Note(NoteKind::StackedPins, name, place);
      const int32_t side =
          pin->edge == PinEdge::Left || pin->edge == PinEdge::Right ? body.ySize : body.xSize;
      if (pin->position < 0 || pin->position > side) Note(NoteKind::PinOutside, name, place);
      if (pin->flags & PinFlag::NumberNearBody) nearBody.append(nearBody.empty() ? "" : " ").append(place);
      pins.push_back(Pin(body, *pin, left, top, name));
    }
    if (!nearBody.empty()) symbol.properties.push_back(Property("Zanli.NumberNearBody", nearBody, true));
    for (int32_t block = 0; block < body.blockCount; ++block) {
      KicadUnit unit;
      unit.unit = block + 1;
      for (size_t i = 0; i < pins.size(); ++i) {
        KicadPin pin = pins[i];
        const std::string_view number =
            static_cast<size_t>(block) < body.pins[i]->numbers.size() ? body.pins[i]->numbers[block] : "";
        pin.numberHidden = !number.empty() && number[0] == 'H';
        pin.number = number.empty() ? std::string() : Text(number.substr(1), name);
        unit.pins.push_back(std::move(pin));
      }
      symbol.units.push_back(std::move(unit));
    }
    return symbol;
  }

  KicadSymbol Alias(const std::string& name, const std::string& base, const std::string& reference) {
    KicadSymbol symbol;
    symbol.name = name;
    symbol.extends = base;
    symbol.properties.push_back(Property("Reference", reference, false));
    symbol.properties.push_back(Property("Value", name, false));
    symbol.properties.push_back(Property("Footprint", "", true));
    symbol.properties.push_back(Property("Datasheet", "", true));
    return symbol;
  }

 private:
  void Note(NoteKind kind, const std::string& part, const std::string& detail) {
    notes_.push_back(KicadExportNote{kind, part, detail});
  }

  KicadPin Pin(const PartBody& body, const PinInfo& info, int64_t left, int64_t top,
               const std::string& part) {
    KicadPin pin;
    pin.electricalType = "unspecified";
    const bool clock = (info.flags & PinFlag::Clock) != 0;
    const bool negative = (info.flags & PinFlag::NegativeLogic) != 0;
    pin.shape = clock && negative ? "inverted_clock" : clock ? "clock" : negative ? "inverted" : "line";
    const int64_t p = int64_t{info.position} * G;
    switch (info.edge) {
      case PinEdge::Left:
        pin.at = {left - G, top - p}, pin.angle = 0;
        break;
      case PinEdge::Right:
        pin.at = {left + body.xSize * G + G, top - p}, pin.angle = 180;
        break;
      case PinEdge::Top:
        pin.at = {left + p, top + G}, pin.angle = 270;
        break;
      case PinEdge::Bottom:
        pin.at = {left + p, top - body.ySize * G - G}, pin.angle = 90;
        break;
    }
    pin.angle *= KicadLimits::kUnitsPerMm;
    pin.length = G;
    bool lossy = false;
    pin.name = KicadText::PinNameToKicad(info.name, options_.decoder, lossy);
    if (lossy) Note(NoteKind::PinName, part, pin.name);
    return pin;
  }

  // Filled rectangles around the pixels' centres, which the importer's fill
  // rule turns back into exactly these pixels: one per run of ink in a row,
  // a run that the next rows repeat growing down with them.
  static void AddRuns(const Pattern& pattern, int64_t left, int64_t top, std::vector<KicadGraphic>& out) {
    struct Run {
      int32_t from, to, firstRow;
    };
    std::vector<Run> open, next;
    const auto close = [&](const Run& run, int32_t lastRow) {
      KicadGraphic rect;
      rect.kind = KicadGraphic::Kind::Rectangle;
      rect.fill = KicadGraphic::Fill::Outline;
      rect.points = {{left + run.from * kPixel - kPixel / 2, top - run.firstRow * kPixel + kPixel / 2},
                     {left + run.to * kPixel + kPixel / 2, top - lastRow * kPixel - kPixel / 2}};
      out.push_back(std::move(rect));
    };
    for (int32_t y = 0; y <= pattern.height; ++y) {
      next.clear();
      size_t o = 0;
      for (int32_t x = 0; y < pattern.height && x < pattern.width;) {
        if (!pattern.Pixel(x, y)) {
          ++x;
          continue;
        }
        const int32_t from = x;
        while (x < pattern.width && pattern.Pixel(x, y)) ++x;
        // Runs of the row above that end before this one are done.
        while (o < open.size() && open[o].from < from) close(open[o++], y - 1);
        if (o < open.size() && open[o].from == from && open[o].to == x - 1)
          next.push_back(open[o++]);
        else
          next.push_back({from, x - 1, y});
      }
      while (o < open.size()) close(open[o++], y - 1);
      open.swap(next);
    }
  }

  const KicadExporter::Options& options_;
  std::vector<KicadExportNote>& notes_;
};

}  // namespace

KicadExport KicadExporter::Export(const Library& library) { return Export(library, {}, Options()); }

KicadExport KicadExporter::Export(const Library& library, std::span<const PartEntry* const> chosen,
                                  const Options& options) {
  KicadExport result;
  SymbolMaker maker(options, result.notes);
  const std::unordered_set<const PartEntry*> wanted(chosen.begin(), chosen.end());
  std::unordered_set<const PartBody*> bodies;
  for (const auto& body : library.bodies) bodies.insert(body.get());
  // The first chosen name of a body is its symbol; later ones extend it.
  std::unordered_map<const PartBody*, size_t> symbolOf;
  for (const auto& entry : library.entries) {
    if ((!wanted.empty() && wanted.count(entry.get()) == 0) || bodies.count(entry->body) == 0) continue;
    const std::string name = maker.Name(entry->name);
    const auto found = symbolOf.find(entry->body);
    if (found == symbolOf.end()) {
      symbolOf.emplace(entry->body, result.library.symbols.size());
      result.library.symbols.push_back(maker.Part(*entry->body, name));
    } else {
      const KicadSymbol& base = result.library.symbols[found->second];
      result.library.symbols.push_back(maker.Alias(name, base.name, base.properties[0].value));
    }
  }
  return result;
}

}  // namespace zanli
