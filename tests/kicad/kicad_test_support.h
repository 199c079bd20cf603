#pragma once

// Small KiCad symbol files written by hand, and a one-line summary of what an
// import made, so a table can state a whole import in two strings.
#include <initializer_list>
#include <string>

#include "kicad/kicad_import.h"
#include "kicad/kicad_messages.h"
#include "support/library_builder.h"

namespace zanli::kicad_test {

inline std::string File(const std::string& symbols) {
  return "(kicad_symbol_lib (version 20211014) (generator test)\n" + symbols + ")\n";
}

// A symbol with a Reference; `body` holds its units and anything else.
inline std::string Symbol(const std::string& name, const std::string& body,
                          const std::string& reference = "U") {
  return "(symbol \"" + name + "\" (property \"Reference\" \"" + reference + "\")\n" + body + ")\n";
}

inline std::string Unit(const std::string& symbol, int unit, const std::string& content, int style = 1) {
  return "(symbol \"" + symbol + "_" + std::to_string(unit) + "_" + std::to_string(style) + "\"\n" + content +
         ")\n";
}

// Coordinates in millimetres as the file writes them.
inline std::string Pin(const std::string& x, const std::string& y, int angle, const std::string& number,
                       const std::string& name = "~", const std::string& shape = "line",
                       const std::string& type = "passive", const std::string& length = "2.54",
                       const std::string& extra = "") {
  return "(pin " + type + " " + shape + " (at " + x + " " + y + " " + std::to_string(angle) + ") (length " +
         length + ")" + extra + " (name \"" + name + "\") (number \"" + number + "\"))\n";
}

inline std::string Rect(const std::string& x1, const std::string& y1, const std::string& x2,
                        const std::string& y2) {
  return "(rectangle (start " + x1 + " " + y1 + ") (end " + x2 + " " + y2 + ") (fill (type background)))\n";
}

inline std::string Poly(std::initializer_list<const char*> xy) {
  std::string out = "(polyline (pts";
  for (auto it = xy.begin(); it != xy.end(); it += 2) out += std::string(" (xy ") + it[0] + " " + it[1] + ")";
  return out + "))\n";
}

// The library, with each pattern as its name, size and ink count.
inline std::string Parts(const Library& library) {
  std::string out;
  for (const auto& p : library.patterns) {
    int ink = 0;
    for (int32_t y = 0; y < p->height; ++y)
      for (int32_t x = 0; x < p->width; ++x) ink += p->Pixel(x, y);
    out += "ptn " + p->name + " " + std::to_string(p->width) + "x" + std::to_string(p->height) + " ink" +
           (ink ? "" : "less") + "; ";
  }
  std::string described = testing::Describe(library);
  // Describe's own pattern lines carry every bit; the summary above stands in.
  while (described.rfind("ptn ", 0) == 0) described.erase(0, described.find("; ") + 2);
  return out + described;
}

// "NAME outcome: note note", notes by id with their subject; a move with its
// size and count.
inline std::string Outcomes(const KicadImport& import) {
  std::string out;
  for (const KicadSymbolImport& symbol : import.symbols) {
    out += (out.empty() ? "" : " | ") + symbol.name + " " + KicadMessages::OutcomeId(symbol.outcome) + ":";
    for (const KicadNote& note : symbol.notes) {
      if (note.kind == KicadNote::Kind::PinTypes) continue;  // every symbol with pins has it
      out += std::string(" ") + KicadMessages::NoteId(note.kind);
      if (note.kind == KicadNote::Kind::PinsMoved)
        out.append(" ")
            .append(KicadMessages::Millimetres(note.value))
            .append("x")
            .append(std::to_string(note.count));
      else if (!note.text.empty())
        out += " " + note.text;
      else if (note.value != 0)
        out.append(" ").append(std::to_string(note.value));
    }
  }
  return out;
}

}  // namespace zanli::kicad_test
