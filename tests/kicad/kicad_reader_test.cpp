// The reader against hostile and cut-off text, its numbers, and the writer
// giving back what the reader took.
#include <gtest/gtest.h>

#include "kicad/kicad_symbol_reader.h"
#include "kicad/kicad_symbol_writer.h"
#include "kicad_test_support.h"

namespace zanli {
namespace {

using namespace kicad_test;
using Failure = KicadSymbolReader::Failure;
using Syntax = SExprTree::Status;

TEST(KicadReader, HostileFilesAreRefusedWithAReasonAndALine) {
  struct Case {
    std::string text;
    Failure failure;
    Syntax syntax;
    size_t line;
  };
  const Case cases[] = {
      {std::string(200, '(') + std::string(200, ')'), Failure::Syntax, Syntax::TooDeep, 1},
      {"(kicad_symbol_lib\n(symbol \"open\n))", Failure::Syntax, Syntax::Unterminated, 2},
      {"(kicad_symbol_lib (symbol \"A\")", Failure::Syntax, Syntax::Unclosed, 1},
      {"(kicad_symbol_lib))", Failure::Syntax, Syntax::StrayClose, 1},
      {"(kicad_symbol_lib)\n(again)", Failure::Syntax, Syntax::TrailingText, 2},
      {"kicad_symbol_lib", Failure::Syntax, Syntax::NotAList, 1},
      {" \n\t", Failure::Syntax, Syntax::Empty, 2},
      {"(kicad_symbol_lib " + std::string(70000, 'x') + ")", Failure::Syntax, Syntax::TokenTooLong, 1},
      {"(kicad_sch (version 20211014))", Failure::NotSymbolLibrary, Syntax::Ok, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 40));
    KicadSymbolLibrary library;
    const KicadSymbolReader::Status status = KicadSymbolReader::Read(c.text, library);
    EXPECT_EQ(status.failure, c.failure);
    EXPECT_EQ(status.syntax, c.syntax);
    EXPECT_EQ(status.line, c.line);
  }
}

TEST(KicadReader, ASymbolOfMoreTokensThanItsSizeAllowsIsRefusedAlone) {
  std::string tokens;
  for (int i = 0; i < 400000; ++i) tokens += "()";
  KicadSymbolLibrary library;
  ASSERT_TRUE(KicadSymbolReader::Read(File(Symbol("BIG", tokens) + Symbol("SMALL", "")), library).Ok());
  ASSERT_EQ(library.symbols.size(), 2u);
  EXPECT_EQ(library.symbols[0].problem.kind, KicadSymbol::Problem::Kind::TooLarge);
  EXPECT_TRUE(library.symbols[1].Readable());
}

TEST(KicadReader, EveryCutOffFileIsRefusedAndNoneCrashes) {
  const std::string text = File(Symbol(
      "CUT",
      "(pin_names hide)" +
          Unit("CUT", 1, Rect("-2.54", "2.54", "2.54", "-2.54") + Pin("-5.08", "0", 0, "1", "A\\\"B"))));
  const size_t end = text.rfind(')');
  for (size_t cut = 0; cut < text.size(); ++cut) {
    KicadSymbolLibrary library;
    const bool ok = KicadSymbolReader::Read(std::string_view(text).substr(0, cut), library).Ok();
    EXPECT_EQ(ok, cut > end) << cut;
  }
}

TEST(KicadReader, NumbersAreMillimetresInTenThousandths) {
  const std::pair<const char*, int64_t> good[] = {{"1.27", 12700},    {"-0.6096", -6096}, {"2.54000", 25400},
                                                  {"1.00005", 10001}, {"12.", 120000},    {".5", 5000},
                                                  {"+3", 30000}};
  for (const auto& [text, units] : good) {
    int64_t value = 0;
    EXPECT_TRUE(KicadSymbolReader::ParseNumber(text, 1000000, value)) << text;
    EXPECT_EQ(value, units) << text;
  }
  for (const char* bad : {"", "-", ".", "1e5", "1.2.3", "0x10", "nan", "101"}) {
    int64_t value = 0;
    EXPECT_FALSE(KicadSymbolReader::ParseNumber(bad, 1000000, value)) << bad;
  }
}

TEST(KicadReader, TheWriterGivesBackWhatTheReaderTook) {
  // Versions 6 to 9 say "hidden" in two ways; both read, both write back.
  const std::string text = File(Symbol(
      "W\\\"1",
      "(power) (pin_numbers (hide yes)) (pin_names (offset 0) hide) (property \"Datasheet\" \"x\" (hide "
      "yes))" +
          Unit("W\\\"1", 0,
               "(arc (start 0 1) (mid 1 0) (end 0 -1) (stroke (width 0.254)) (fill (type outline)))"
               "(circle (center 0 0) (radius 3.5) (fill (type background)))"
               "(bezier (pts (xy 0 0) (xy 1 1) (xy 2 1) (xy 3 0)))(text \"T\\nx\" (at 1 2 0))") +
          Unit("W\\\"1", 2, Pin("-5.08", "0", 90, "7", "~{A}", "clock", "input", "3.81", " (hide yes)"), 2)));
  KicadSymbolLibrary first;
  ASSERT_TRUE(KicadSymbolReader::Read(text, first).Ok());
  const std::string written = KicadSymbolWriter::Write(first);
  KicadSymbolLibrary second;
  ASSERT_TRUE(KicadSymbolReader::Read(written, second).Ok());
  EXPECT_EQ(KicadSymbolWriter::Write(second), written);
  const KicadSymbol& s = second.symbols.at(0);
  EXPECT_EQ(s.name, "W\"1");
  EXPECT_TRUE(s.power && s.pinNumbersHidden && s.pinNamesHidden && s.properties.at(1).hidden);
  ASSERT_EQ(s.units.size(), 2u);
  EXPECT_EQ(s.units[0].graphics.size(), 4u);
  EXPECT_EQ(s.units[0].graphics[3].text, "T\nx");
  EXPECT_EQ(s.units[0].graphics[0].fill, KicadGraphic::Fill::Outline);
  const KicadPin& pin = s.units[1].pins.at(0);
  EXPECT_EQ(s.units[1].style, 2);
  EXPECT_TRUE(pin.hidden);
  EXPECT_EQ(pin.at, (KicadPoint{-50800, 0}));
  EXPECT_EQ(pin.length, 38100);
  EXPECT_EQ(pin.angle, 900000);
  EXPECT_EQ(pin.shape + pin.electricalType + pin.name + pin.number, "clockinput~{A}7");
}

TEST(KicadReader, SymbolsKnowTheirLinesAndFilesTheirFaults) {
  const std::string text =
      File(Symbol("A", "") + "\n\n" + Symbol("B", Unit("B", 1, "\n(pin passive line (length 1))")));
  KicadSymbolReader reader(text);
  ASSERT_TRUE(reader.GetStatus().Ok());
  ASSERT_EQ(reader.SymbolCount(), 2u);
  const KicadSymbol b = reader.ReadSymbol(1);
  EXPECT_EQ(b.line, 6u);
  EXPECT_EQ(b.problem.field, "at");
  EXPECT_EQ(b.problem.line, 9u);
  EXPECT_EQ(reader.ReadSymbol(0).line, 2u);  // read again out of order

  std::string loaded;
  const std::string dir = ::testing::TempDir();
  EXPECT_EQ(KicadSymbolReader::LoadFile(dir, loaded).failure, Failure::NotRegularFile);
  const KicadSymbolReader::Status missing = KicadSymbolReader::LoadFile(dir + "/no-such.kicad_sym", loaded);
  EXPECT_EQ(missing.failure, Failure::CannotOpen);
  EXPECT_NE(
      KicadMessages::ReadFailure(missing, "x/no-such.kicad_sym").find("x/no-such.kicad_sym: ﾌｧｲﾙまたはﾌｫﾙﾀﾞがありません"),
      std::string::npos);
}

}  // namespace
}  // namespace zanli
