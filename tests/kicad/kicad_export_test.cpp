// Export then import gives back the same parts: a property over generated
// libraries, through the written text. And what a KiCad file cannot say is
// listed, not lost silently.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "kicad/kicad_exporter.h"
#include "kicad/kicad_importer.h"
#include "kicad/kicad_symbol_writer.h"
#include "support/library_builder.h"

namespace zanli {
namespace {

// A library within what an export carries exactly: every body has pins, one
// per place and none beyond its edges; names hold no ':'. Bodies and
// patterns stand in the order their first names use them, as an import
// makes them.
std::unique_ptr<Library> ExportableLibrary(std::mt19937& random) {
  auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const char* const names[] = {"A", "\\C\\L\\K", "D0", "\\R\\S\\T", "X~Y", "", "VCC", "A\\B}", "\\~\\{"};
  const char* const prefixes[] = {"U", "IC", "Q", "RN"};
  auto library = std::make_unique<Library>();
  std::vector<Pattern*> patterns;
  std::vector<std::pair<std::string, PartBody*>> entries;
  const int bodies = pick(1, 6);
  for (int b = 0; b < bodies; ++b) {
    PartBody* body = testing::AddBody(*library, pick(1, 8), pick(1, 8), pick(1, 4), prefixes[pick(0, 3)]);
    if (pick(0, 2) == 0) {
      if (!patterns.empty() && pick(0, 1)) {
        body->pattern = patterns[pick(0, static_cast<int>(patterns.size()) - 1)];
      } else {
        Pattern* p =
            testing::AddPattern(*library, "P" + std::to_string(patterns.size()), pick(1, 41), pick(1, 41));
        for (int32_t y = 0; y < p->height; ++y)
          for (int32_t x = 0; x < p->width; ++x) p->SetPixel(x, y, pick(0, 2) == 0);
        patterns.push_back(body->pattern = p);
      }
    }
    std::vector<std::pair<PinEdge, int32_t>> places;
    for (int e = 0; e < 4; ++e)
      for (int32_t p = 0; p <= (e % 2 == 0 ? body->ySize : body->xSize); ++p)
        places.emplace_back(static_cast<PinEdge>(e), p);
    std::shuffle(places.begin(), places.end(), random);
    const int pins = pick(1, std::min(8, static_cast<int>(places.size())));
    for (int i = 0; i < pins; ++i) {
      std::vector<std::string> numbers;
      for (int k = 0; k < body->blockCount; ++k) {
        const int form = pick(0, 3);
        numbers.push_back(form == 0 ? std::string()
                                    : std::string(form == 1 ? "H" : "D").append(std::to_string(pick(1, 99))));
      }
      testing::AddPin(*body, places[i].first, places[i].second, names[pick(0, 8)], "",
                      pick(0, 1) * PinFlag::NumberNearBody | pick(0, 1) * PinFlag::Clock |
                          pick(0, 1) * PinFlag::NegativeLogic,
                      numbers);
    }
    for (int e = pick(1, 3); e > 0; --e)
      entries.emplace_back("E" + std::to_string(entries.size()) + "-+.~"[e], body);
  }
  std::shuffle(entries.begin(), entries.end(), random);
  for (auto& [name, body] : entries) testing::AddEntry(*library, name, body);
  // Bodies by first name, patterns by first use.
  auto firstName = [&](const PartBody* body) {
    return std::find_if(library->entries.begin(), library->entries.end(),
                        [body](const auto& e) { return e->body == body; });
  };
  std::stable_sort(library->bodies.begin(), library->bodies.end(),
                   [&](const auto& a, const auto& b) { return firstName(a.get()) < firstName(b.get()); });
  auto firstUse = [&](const Pattern* p) {
    return std::find_if(library->bodies.begin(), library->bodies.end(),
                        [p](const auto& b) { return b->pattern == p; });
  };
  std::stable_sort(library->patterns.begin(), library->patterns.end(),
                   [&](const auto& a, const auto& b) { return firstUse(a.get()) < firstUse(b.get()); });
  return library;
}

TEST(KicadExport, ImportOfAnExportGivesBackTheSameParts) {
  std::mt19937 random(2107);
  for (int round = 0; round < 300; ++round) {
    const std::unique_ptr<Library> library = ExportableLibrary(random);
    const KicadExport exported = KicadExporter::Export(*library);
    ASSERT_TRUE(exported.notes.empty()) << round;
    const std::string text = KicadSymbolWriter::Write(exported.library);
    KicadSymbolReader::Status status;
    const KicadImport back = KicadImporter::ImportText(text, KicadImporter::Options(), status);
    ASSERT_TRUE(status.Ok()) << round;
    EXPECT_EQ(back.Count(KicadOutcome::Exact), back.symbols.size()) << round;
    ASSERT_EQ(testing::Describe(*back.library), testing::Describe(*library)) << round << "\n" << text;
  }
}

TEST(KicadExport, WhatKicadCannotSayIsListed) {
  Library library;
  PartBody* body = testing::AddPart(library, "A:B", 2, 2);
  testing::AddPin(*body, PinEdge::Left, 1, "X");
  testing::AddPin(*body, PinEdge::Left, 1, "Y");          // the same place
  testing::AddPin(*body, PinEdge::Top, 5, "Z");           // beyond the 2-step edge
  testing::AddPin(*body, PinEdge::Right, 0, "~");         // reads back as no name
  testing::AddPin(*body, PinEdge::Right, 1, "\x83\x41");  // a character the basic decoder lacks
  const KicadExport exported = KicadExporter::Export(library);
  std::vector<std::string> notes;
  for (const KicadExportNote& note : exported.notes)
    notes.push_back(std::to_string(static_cast<int>(note.kind)) + " " + note.part + " " + note.detail);
  EXPECT_EQ(notes, (std::vector<std::string>{"3 A:B A_B", "1 A_B L1", "2 A_B T5", "0 A_B ~", "0 A_B ?A"}));
  EXPECT_EQ(exported.library.symbols[0].name, "A_B");
}

TEST(KicadExport, ChosenNamesAndTheDecoderShapeTheFile) {
  Library library;
  PartBody* gate = testing::AddPart(library, "GATE", 2, 2);
  gate->numberPrefix = "\xb1";  // a half-width katakana prefix
  testing::AddPin(*gate, PinEdge::Left, 1, "\x83\x41");
  testing::AddEntry(library, "GATE2", gate);
  testing::AddEntry(library, "GATE3", gate);
  testing::AddPin(*testing::AddPart(library, "OTHER"), PinEdge::Top, 1, "B");
  // The alias chosen first names the symbol; the part chosen after it extends it.
  const PartEntry* const chosen[] = {library.entries[2].get(), library.entries[0].get()};
  KicadExporter::Options options;
  int decoded = 0;
  options.decoder = [&decoded](std::string_view bytes, std::string& utf8) {
    ++decoded;
    utf8 = bytes == "\x83\x41" ? "\xe3\x82\xa2" : "?";
    return true;
  };
  const KicadExport exported = KicadExporter::Export(library, chosen, options);
  EXPECT_TRUE(exported.notes.empty());
  ASSERT_EQ(exported.library.symbols.size(), 2u);
  const KicadSymbol& part = exported.library.symbols[0];
  EXPECT_EQ(part.name, "GATE");
  EXPECT_EQ(part.FindProperty("Reference")->value, "?");  // the caller's decoder, not the basic one
  EXPECT_EQ(part.units.at(1).pins.at(0).name, "\xe3\x82\xa2");
  EXPECT_EQ(exported.library.symbols[1].name, "GATE3");
  EXPECT_EQ(exported.library.symbols[1].extends, "GATE");
  EXPECT_EQ(decoded, 2);
}

}  // namespace
}  // namespace zanli
