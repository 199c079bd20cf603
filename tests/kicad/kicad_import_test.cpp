// Small hand-written symbols, each with the parts it must become (or why it
// is refused) and what the import says about it.
#include <gtest/gtest.h>

#include "kicad/kicad_importer.h"
#include "kicad/kicad_symbol_reader.h"
#include "kicad_test_support.h"
#include "model/name_set.h"

namespace zanli {
namespace {

using namespace kicad_test;

KicadImport ImportText(const std::string& text, const NameLookup* taken = nullptr) {
  KicadImporter::Options options;
  options.partNames = taken;
  KicadSymbolReader::Status status;
  KicadImport import = KicadImporter::ImportText(text, options, status);
  EXPECT_TRUE(status.Ok()) << static_cast<int>(status.syntax) << " line " << status.line;
  return import;
}

std::string ManyPins(int count) {
  std::string pins;
  for (int i = 0; i < count; ++i) pins += Pin("-5.08", std::to_string(-2.54 * i), 0, std::to_string(i + 1));
  return pins;
}

struct Case {
  const char* what;
  std::string symbols;
  std::string parts;
  std::string outcomes;
};

TEST(KicadImport, SymbolsBecomeTheExpectedParts) {
  const std::string gate = Poly({"-2.54", "2.54", "2.54", "0", "-2.54", "-2.54", "-2.54", "2.54"});
  const std::string box = Rect("-5.08", "5.08", "5.08", "-5.08");
  const Case cases[] = {
      {"rectangle IC: pins on all four sides, a hidden one with a hidden number",
       Symbol("IC1",
              Unit("IC1", 1,
                   box + Pin("-7.62", "2.54", 0, "1", "A") + Pin("-7.62", "0", 0, "2", "B") +
                       Pin("7.62", "0", 180, "3", "Y", "inverted") + Pin("0", "7.62", 270, "4", "VCC") +
                       Pin("0", "-7.62", 90, "5", "GND", "line", "power_in", "2.54", " hide")),
              "IC"),
       "body 4x4 b1 R=IC | pin A f0 e0:1 [D1] | pin B f0 e0:2 [D2] | pin Y f8 e2:2 [D3] | pin VCC f0 e1:2 "
       "[D4] | "
       "pin GND f0 e3:2 [H5]; IC1->0",
       "IC1 exact: hidden-pins"},
      {"pins two steps long: the body grows, the connection points stay",
       Symbol("LONG", Unit("LONG", 1,
                           Rect("-2.54", "2.54", "2.54", "-2.54") +
                               Pin("-7.62", "0", 0, "1", "~", "line", "passive", "5.08") +
                               Pin("7.62", "0", 180, "2", "~", "line", "passive", "5.08"))),
       "body 4x2 b1 R=U | pin  f0 e0:1 [D1] | pin  f0 e2:1 [D2]; LONG->0", "LONG exact:"},
      {"two like gates and a unit of power pins: two blocks, power pins in both, a pattern",
       Symbol("NAND2",
              Unit("NAND2", 1,
                   gate + Pin("-5.08", "0", 0, "1", "A") + Pin("5.08", "0", 180, "2", "Y", "inverted")) +
                  Unit("NAND2", 2,
                       gate + Pin("-5.08", "0", 0, "3", "A") + Pin("5.08", "0", 180, "4", "Y", "inverted")) +
                  Unit("NAND2", 3,
                       Pin("0", "5.08", 270, "14", "VCC", "line", "power_in") +
                           Pin("0", "-5.08", 90, "7", "GND", "line", "power_in"),
                       0)),
       "ptn NAND2 21x21 ink; body 2x2 b2 R=U P=NAND2#0 | pin A f0 e0:1 [D1,D3] | pin Y f8 e2:1 [D2,D4] | "
       "pin VCC f0 e1:1 [D14,D14] | pin GND f0 e3:1 [D7,D7]; NAND2->0",
       "NAND2 exact: power-unit C"},
      {"units of different layouts: a part per unit, named with its letter",
       Symbol("SPLIT", Unit("SPLIT", 1, Pin("-5.08", "0", 0, "1")) +
                           Unit("SPLIT", 2, Pin("-5.08", "0", 0, "2") + Pin("-5.08", "-2.54", 0, "3"))),
       "body 1x1 b1 R=U | pin  f0 e0:0 [D1]; body 1x1 b1 R=U | pin  f0 e0:0 [D2] | pin  f0 e0:1 [D3]; "
       "SPLITA->0; SPLITB->1",
       "SPLIT exact: units-split"},
      {"derived symbols: aliases after their part, even one the file gives first; a missing base refused",
       Symbol("ALT0", "(extends \"BASE\")") + Symbol("BASE", Unit("BASE", 1, Pin("-5.08", "0", 0, "1"))) +
           Symbol("ALT1", "(extends \"BASE\")") + Symbol("LOST", "(extends \"NOPE\")"),
       "body 1x1 b1 R=U | pin  f0 e0:0 [D1]; BASE->0; ALT0->0; ALT1->0",
       "ALT0 exact: | BASE exact: | ALT1 exact: | LOST refused: missing-base NOPE"},
      {"overbars, no name, a character beyond ASCII, and the four shapes",
       Symbol("OVER", Unit("OVER", 1,
                           Rect("-5.08", "5.08", "0", "-7.62") +
                               Pin("-7.62", "2.54", 0, "1", "~{RESET}", "inverted") +
                               Pin("-7.62", "0", 0, "2", "A~{B}C", "clock") +
                               Pin("-7.62", "-2.54", 0, "3", "~", "inverted_clock") +
                               Pin("-7.62", "-5.08", 0, "4",
                                   "\xce\xa9"
                                   "1",
                                   "input_low"))),
       "body 2x5 b1 R=U | pin \\R\\E\\S\\E\\T f8 e0:1 [D1] | pin A\\BC f4 e0:2 [D2] | pin  f12 e0:3 [D3] | "
       "pin ?1 f8 e0:4 [D4]; OVER->0",
       "OVER exact: pin-shapes pin-characters"},
      {"pins off the grid move to the nearest free places, in their order along the side",
       Symbol("OFFGRID", Unit("OFFGRID", 1,
                              Rect("-2.54", "2.54", "2.54", "-5.08") + Pin("-5.08", "0", 0, "1") +
                                  Pin("-5.08", "-1.27", 0, "2") + Pin("-5.08", "-0.5", 0, "3") +
                                  Pin("5.08", "0", 180, "4"))),
       "body 2x3 b1 R=U | pin  f0 e0:1 [D1] | pin  f0 e0:3 [D2] | pin  f0 e0:2 [D3] | pin  f0 e2:1 [D4]; "
       "OFFGRID->0",
       "OFFGRID changed: pins-moved 3.81x2"},
      {"a pin standing inside the body moves out to its side, between its neighbours",
       Symbol("INSIDE", Unit("INSIDE", 1,
                             box + Pin("-7.62", "2.54", 0, "1") + Pin("-7.62", "-2.54", 0, "2") +
                                 Pin("-2.54", "0", 0, "3"))),
       "body 4x4 b1 R=U | pin  f0 e0:1 [D1] | pin  f0 e0:3 [D2] | pin  f0 e0:2 [D3]; INSIDE->0",
       "INSIDE changed: pins-moved 5.08x1"},
      {"stacked pins become the visible one",
       Symbol("STACK", Unit("STACK", 1,
                            box + Pin("-7.62", "0", 0, "7", "GND", "line", "power_in", "2.54", " hide") +
                                Pin("-7.62", "0", 0, "8", "GND", "line", "power_in"))),
       "body 4x4 b1 R=U | pin GND f0 e0:2 [D8]; STACK->0", "STACK exact: stacked-pins 8"},
      {"refusals: no pins, a slanted pin, a side of 300 places, a damaged pin, a number beyond range",
       Symbol("NOPINS", Unit("NOPINS", 1, box)) + Symbol("SLANT", Unit("SLANT", 1, Pin("0", "0", 45, "1"))) +
           Symbol("MANY", Unit("MANY", 1, ManyPins(300))) +
           Symbol("BROKEN",
                  Unit("BROKEN", 1, "(pin passive line (length 2.54) (name \"A\") (number \"1\"))")) +
           Symbol("HUGE", Unit("HUGE", 1, Pin("99999999999999999999", "0", 0, "1"))),
       "",
       "NOPINS refused: no-pins | SLANT refused: pin-direction 1 | MANY refused: too-many-places 300 | "
       "BROKEN refused: unreadable at | HUGE refused: unreadable at"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const KicadImport import = ImportText(File(c.symbols));
    EXPECT_EQ(Parts(*import.library), c.parts);
    EXPECT_EQ(Outcomes(import), c.outcomes);
  }
}

TEST(KicadImport, UnitsDerivedSymbolsAndDrawingsBeyondTheSimpleCases) {
  const std::string tri = Poly({"-2.54", "2.54", "2.54", "0", "-2.54", "-2.54", "-2.54", "2.54"});
  const std::string wide = Poly({"-40.64", "2.54", "40.64", "0", "-40.64", "-2.54"});
  const Case cases[] = {
      {"unit 0's pins in every block with their own numbers; the alternate body style and a pinless unit "
       "left out",
       Symbol("DUAL", Unit("DUAL", 0, Pin("0", "5.08", 270, "8", "V")) +
                          Unit("DUAL", 1, tri + Pin("-5.08", "0", 0, "1")) +
                          Unit("DUAL", 2, tri + Pin("-5.08", "0", 0, "2")) +
                          Unit("DUAL", 1, Pin("-5.08", "2.54", 0, "9"), 2) + Unit("DUAL", 3, tri)),
       "ptn DUAL 21x21 ink; body 2x2 b2 R=U P=DUAL#0 | pin V f0 e1:1 [D8,D8] | pin  f0 e0:1 [D1,D2]; DUAL->0",
       "DUAL exact: empty-unit C alternate-style"},
      {"like drawings share one pattern; hidden numbers; a drawing wider than a pattern is drawn as the "
       "outline",
       Symbol("T1", "(pin_numbers hide)" + Unit("T1", 1, tri + Pin("-5.08", "0", 0, "1"))) +
           Symbol("T2", Unit("T2", 1, tri + Pin("-5.08", "0", 0, "2"))) +
           Symbol("WIDE", Unit("WIDE", 1, wide + Pin("-43.18", "0", 0, "1"))),
       "ptn T1 21x21 ink; body 2x2 b1 R=U P=T1#0 | pin  f0 e0:1 [H1]; body 2x2 b1 R=U P=T1#0 | pin  f0 e0:1 "
       "[D2]; "
       "body 32x2 b1 R=U | pin  f0 e0:1 [D1]; T1->0; T2->1; WIDE->2",
       "T1 exact: | T2 exact: | WIDE exact: drawing-too-large 32"},
      {"a derived symbol of a derived one, a ring of them, and one whose base is refused",
       Symbol("A", Unit("A", 1, Pin("-5.08", "0", 0, "1"))) + Symbol("B", "(extends \"A\")") +
           Symbol("C", "(extends \"B\")", "IC") + Symbol("D", "(extends \"E\")") +
           Symbol("E", "(extends \"D\")") + Symbol("F", Unit("F", 1, "")) + Symbol("G", "(extends \"F\")"),
       "body 1x1 b1 R=U | pin  f0 e0:0 [D1]; A->0; B->0; C->0",
       "A exact: | B exact: | C exact: alias-reference IC | D refused: missing-base E | E refused: "
       "missing-base D | "
       "F refused: no-pins | G refused: base-refused F"},
      {"the library's own hidden properties, damaged, are passed over",
       Symbol("OWN",
              "(property \"Zanli.Body\" \"x y\") (property \"Zanli.Pattern\" \"P -3 0\") "
              "(property \"Zanli.NumberNearBody\" \"Q1 L L99x\")" +
                  Unit("OWN", 1, Pin("-5.08", "0", 0, "1"))),
       "body 1x1 b1 R=U | pin  f0 e0:0 [D1]; OWN->0", "OWN exact:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const KicadImport import = ImportText(File(c.symbols));
    EXPECT_EQ(Parts(*import.library), c.parts);
    EXPECT_EQ(Outcomes(import), c.outcomes);
  }
}

TEST(KicadImport, TransistorOutlineBecomesAPatternWithItsPinStubs) {
  const KicadImport import = ImportText(File(Symbol(
      "Q_NPN",
      "(pin_names hide)" +
          Unit("Q_NPN", 1,
               "(circle (center 1.27 0) (radius 2.8194) (fill (type none)))" +
                   Poly({"0.635", "1.905", "0.635", "-1.905"}) + Poly({"0.635", "0.635", "2.54", "2.54"}) +
                   Poly({"0.635", "-0.635", "2.54", "-2.54"}) +
                   Pin("-2.54", "0", 0, "1", "B", "line", "input", "3.175") +
                   Pin("2.54", "5.08", 270, "2", "C") + Pin("2.54", "-5.08", 90, "3", "E")),
      "Q")));
  EXPECT_EQ(Parts(*import.library),
            "ptn Q_NPN 21x21 ink; body 2x2 b1 R=Q P=Q_NPN#0 | pin B f0 e0:1 [D1] | pin C f0 e1:1 [D2] | "
            "pin E f0 e3:1 [D3]; Q_NPN->0");
  EXPECT_EQ(Outcomes(import), "Q_NPN exact: pin-names-hidden drawing-cut");
  const Pattern& p = *import.library->patterns[0];
  EXPECT_TRUE(p.Pixel(1, 10));    // the base pin's inner part, from the edge to the bar
  EXPECT_TRUE(p.Pixel(3, 10));    // the base bar
  EXPECT_TRUE(p.Pixel(16, 10));   // the circle's right side
  EXPECT_FALSE(p.Pixel(10, 10));  // inside the circle
}

TEST(KicadImport, NamesAreMadeValidAndClearOfTakenOnes) {
  NameSet taken;
  taken.Add("USED");
  const KicadImport import = ImportText(
      File(Symbol("VERYLONGPARTNAME123", Unit("VERYLONGPARTNAME123", 1, Pin("-5.08", "0", 0, "1"))) +
           Symbol("VERYLONGPARTNAME456", Unit("VERYLONGPARTNAME456", 1, Pin("-5.08", "0", 0, "1"))) +
           Symbol("USED", Unit("USED", 1, Pin("-5.08", "0", 0, "1"))) +
           Symbol("two words{}", Unit("two words{}", 1, Pin("-5.08", "0", 0, "1")))),
      &taken);
  std::string names;
  for (const auto& entry : import.library->entries) names += entry->name + " ";
  EXPECT_EQ(names, "VERYLONGPARTNAM VERYLONGPARTN_1 USED_1 two_words__ ");
}

TEST(KicadImport, ChosenSymbolsMoveWithTheirBodiesAndPatterns) {
  KicadImport import = ImportText(
      File(Symbol("G", Unit("G", 1, Poly({"0", "0", "2.54", "2.54"}) + Pin("-2.54", "0", 0, "1"))) +
           Symbol("H", Unit("H", 1, Pin("-2.54", "0", 0, "1"))) + Symbol("G2", "(extends \"G\")")));
  Library target;
  testing::AddPart(target, "OLD");
  const size_t chosen[] = {2};  // the alias alone brings its body and pattern
  import.MoveInto(target, chosen);
  EXPECT_EQ(Parts(target),
            "ptn G 11x11 ink; body 2x2 b1 R=U; body 1x1 b1 R=U P=G#0 | pin  f0 e0:1 [D1]; OLD->0; G2->1");
  EXPECT_EQ(import.symbols[2].entries[0], target.entries[1].get());
  EXPECT_EQ(import.library->entries.size(), 2u);
}

}  // namespace
}  // namespace zanli
