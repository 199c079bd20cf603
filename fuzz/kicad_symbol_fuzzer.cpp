// Reads arbitrary bytes as a KiCad symbol library. What is read must write
// out in a stable form: reading the written text and writing it again gives
// the same bytes. Whatever the import makes, its export must import back to
// the same parts, every symbol exactly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "kicad/kicad_exporter.h"
#include "kicad/kicad_importer.h"
#include "kicad/kicad_symbol_reader.h"
#include "kicad/kicad_symbol_writer.h"

namespace {

// The parts as one string: bodies with their pins and numbers, the names
// naming them, the patterns' names, sizes and pixels.
std::string Digest(const zanli::Library& library) {
  std::string out;
  for (const auto& p : library.patterns) {
    out += p->name + " " + std::to_string(p->width) + "x" + std::to_string(p->height) + ":";
    for (int32_t y = 0; y < p->height; ++y)
      for (int32_t x = 0; x < p->width; ++x) out += p->Pixel(x, y) ? '#' : '.';
    out += "\n";
  }
  for (const auto& b : library.bodies) {
    out += b->numberPrefix + " " + std::to_string(b->xSize) + "x" + std::to_string(b->ySize) + " b" +
           std::to_string(b->blockCount) + (b->pattern ? " " + b->pattern->name : std::string()) + "\n";
    for (const auto& pin : b->pins) {
      out += " " + pin->name + " " + std::to_string(pin->flags) + " " +
             std::to_string(static_cast<int>(pin->edge)) + ":" + std::to_string(pin->position);
      for (std::string_view n : pin->numbers) out.append(" ").append(n);
      out += "\n";
    }
  }
  for (const auto& e : library.entries) {
    size_t body = 0;
    while (body < library.bodies.size() && library.bodies[body].get() != e->body) ++body;
    out += e->name + "->" + std::to_string(body) + "\n";
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zanli;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  KicadSymbolLibrary first;
  if (!KicadSymbolReader::Read(bytes, first).Ok()) return 0;
  const std::string written = KicadSymbolWriter::Write(first);
  KicadSymbolLibrary second;
  if (!KicadSymbolReader::Read(written, second).Ok()) std::abort();
  if (second.symbols.size() != first.symbols.size()) std::abort();
  if (KicadSymbolWriter::Write(second) != written) std::abort();

  const KicadImport imported = KicadImporter::Import(first);
  const std::string exported = KicadSymbolWriter::Write(KicadExporter::Export(*imported.library).library);
  KicadSymbolReader::Status status;
  const KicadImport back = KicadImporter::ImportText(exported, KicadImporter::Options(), status);
  if (!status.Ok()) std::abort();
  for (const KicadSymbolImport& symbol : back.symbols)
    if (symbol.outcome != KicadOutcome::Exact) std::abort();
  if (Digest(*back.library) != Digest(*imported.library)) std::abort();
  return 0;
}
