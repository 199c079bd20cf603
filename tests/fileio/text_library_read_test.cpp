#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "fileio/text_library_format.h"
#include "fileio/text_library_reader.h"
#include "support/library_builder.h"
#include "text_test_support.h"

namespace zanli {
namespace {

using testing::Describe;

const std::string kHeader = "+VELD3_LIB_V.1.0\r\n";

struct ReadCase {
  std::string input;
  bool ok;
  std::string library;  // Describe() of the result when ok
};

void ExpectReads(const ReadCase& c) {
  // A library read into replaces what was there; a failed read leaves it.
  Library library;
  library.AddPattern(std::make_unique<Pattern>("OLD", 1, 1));
  const bool ok = TextLibraryFormat::ReadBytes(c.input, library);
  EXPECT_EQ(ok, c.ok) << c.input;
  if (ok) {
    EXPECT_EQ(Describe(library), c.library) << c.input;
  } else {
    EXPECT_EQ(Describe(library), "ptn OLD 1x1 0000") << c.input;
    EXPECT_EQ(TextLibraryFormat::Decode(c.input).failure, ReadFailure::Malformed) << c.input;
  }
  // Read a few bytes at a time, as from a file, the text gives the same.
  for (size_t window : {1, 4}) {
    text_test::PieceSource source(c.input, 3);
    Library streamed;
    TextLibraryReader reader(source, c.input.size(), streamed, window);
    EXPECT_EQ(reader.Read() == TextLibraryReader::Status::Ok, c.ok) << "window " << window << ": " << c.input;
    if (c.ok) {
      EXPECT_EQ(Describe(streamed), c.library) << "window " << window << ": " << c.input;
    }
  }
}

std::string Repeat(const std::string& text, int times) {
  std::string out;
  while (times-- > 0) out += text;
  return out;
}

// A one-part library around `fields`, which go between "+COMP," and "-COMP".
std::string Part(const std::string& fields) { return kHeader + "+COMP," + fields + ",-COMP\r\n"; }

TEST(TextLibraryReadTest, FirstFieldMustBeTheHeader) {
  const ReadCase cases[] = {
      {"", false, ""},
      {"+VELD3_LIB_V.1.0", true, ""},
      {" \r\n\t+VELD3_LIB_V.1.0\r\n", true, ""},
      {",+VELD3_LIB_V.1.0\r\n", false, ""},
      {"+VELD3_LIB_V.1.0 \r\n", false, ""},
      {"+VELD3_LIB_V.1.1\r\n", false, ""},
      {"-VELD3_LIB_V.1.0\r\n", false, ""},
      {"%2BVELD3_LIB_V.1.0\r\n", true, ""},
      {"\x1A+VELD3_LIB_V.1.0\r\n", false, ""},
  };
  for (const auto& c : cases) ExpectReads(c);
}

TEST(TextLibraryReadTest, TopLevelIgnoresStrayFieldsAndSkipsUnknownBlocks) {
  const std::string a = "+COMP,N:A,X:1,Y:1,B:1,-COMP\r\n";
  const ReadCase cases[] = {
      {kHeader + ",,,\r\n\r\n  \r\n", true, ""},
      {kHeader + "-COMP,-PIN,N:x,junk,:,-VELD3_LIB_V.1.0\r\n", true, ""},
      // The trailer is not required, and what follows it is still read.
      {kHeader + "-VELD3_LIB_V.1.0\r\n" + a, true, "body 1x1 b1 R=U; A->0"},
      {kHeader + "+FOO,N:x,+COMP,-FOO,N:y\r\n" + a, true, "body 1x1 b1 R=U; A->0"},
      {kHeader + "+,x,-\r\n" + a, true, "body 1x1 b1 R=U; A->0"},
      // Escaped openings: the block's own escaped fields are decoded where
      // the opening was, which must not matter once the block is read.
      {kHeader + "+%50TN,N:" + Repeat("%41", 40) +
           ",X:8,Y:1,+BMP,OO,-BMP,-PTN\r\n+%43OMP,N:%41,X:1,Y:1,B:1,-COMP",
       true, "ptn " + std::string(40, 'A') + " 8x1 ff00; body 1x1 b1 R=U; A->0"},
      {kHeader + "+FOO,N:x,-FO\r\n", false, ""},
      {kHeader + "+\r\n", false, ""},
      {kHeader + "+COMP,N:A,X:1,Y:1,B:1\r\n", false, ""},
      // 0x1A ends the input; so does a broken escape outside any block.
      {kHeader + a + "\x1A" + "+COMP,N:B,X:1,Y:1,B:1,-COMP\r\n", true, "body 1x1 b1 R=U; A->0"},
      {kHeader + a + "x%,y\r\n+COMP,N:B,X:1,Y:1,B:1,-COMP\r\n", true, "body 1x1 b1 R=U; A->0"},
      {kHeader + "+COMP,N:A%,X:1,Y:1,B:1,-COMP\r\n", false, ""},
  };
  for (const auto& c : cases) ExpectReads(c);
}

TEST(TextLibraryReadTest, PartBlockChecksSizesBlocksAndName) {
  const ReadCase cases[] = {
      {Part("N:A,X:300,Y:2,B:256"), true, "body 300x2 b256 R=U; A->0"},
      {Part("N:A,X:32767,Y:32767,B:1"), true, "body 32767x32767 b1 R=U; A->0"},
      {Part("N:A,X:1,Y:1,B:257"), false, ""},
      {Part("N:A,X:1,Y:1,B:-1"), false, ""},
      {Part("N:A,X:1,Y:1,B:0"), false, ""},
      {Part("N:A,X:1,Y:1,B:0,+PIN,-PIN"), false, ""},
      {Part("N:A,X:1,Y:1,B:2,B:2"), false, ""},
      {Part("N:A,X:1,Y:1,B:0,B:3"), true, "body 1x1 b3 R=U; A->0"},
      {Part("N:A,X:1,Y:1,B:,B:3"), true, "body 1x1 b3 R=U; A->0"},
      {Part("N:A,X:-1,X:1,Y:1,B:1"), false, ""},
      {Part("N:A,X:1,Y:-1,B:1"), false, ""},
      {Part("N:A,X:32768,Y:1,B:1"), false, ""},
      {Part("N:A,X:1,Y:32768,B:1"), false, ""},
      // Out-of-range integers are clamped, then refused.
      {Part("N:A,X:99999999999,Y:1,B:1"), false, ""},
      {Part("N:A,X:-99999999999,Y:1,B:1"), false, ""},
      {Part("N:A,X:1,Y:1,B:4294967297"), false, ""},
      {Part("N:A,X: +4x,Y:%092,B:01"), true, "body 4x2 b1 R=U; A->0"},
      // Nine digits and more, on both sides of the reader's short cut.
      {Part("N:A,X:000000004,Y:0000000002,B:000000001"), true, "body 4x2 b1 R=U; A->0"},
      {Part("N:A,X:999999999,Y:1,B:1"), false, ""},
      {Part("N:A,X:abc,Y:1,B:1"), false, ""},
      {Part("N:A,XX:4,Y:1,B:1"), false, ""},
      {Part("N:,X:1,Y:1,B:1"), false, ""},
      {Part("X:1,Y:1,B:1"), false, ""},
      {Part("N:A,N:,X:1,Y:1,B:1"), false, ""},  // an empty value counts in a part block
      {Part("N:A,R:,X:1,Y:1,B:1"), true, "body 1x1 b1 R=; A->0"},
      {Part("N:A,R:IC,R:Q%20,X:1,Y:1,B:1"), true, "body 1x1 b1 R=Q ; A->0"},
      {Part(":x,N,N:A:B,X:1,Y:1,B:1"), true, "body 1x1 b1 R=U; A:B->0"},
      {Part("N:A,+PIN,-PIN,X:1,Y:1,B:1"), false, ""},
      {Part("N:A,X:1,Y:1,B:1,-PIN"), false, ""},
      {Part("N:A,X:1,Y:1,B:1,-COMPX"), false, ""},
      {Part("N:A,X:1,Y:1,B:1,+PIN,N:p,-PIN,X:5"), true, "body 5x1 b1 R=U | pin p f0 e0:0 []; A->0"},
      // Unknown blocks are skipped without a nesting count.
      {Part("N:A,X:1,Y:1,B:1,+X,+X,-X,-X"), false, ""},
      {Part("N:A,X:1,Y:1,B:1,+X,+X,-X"), true, "body 1x1 b1 R=U; A->0"},
      {Part("N:A,X:1,Y:1,B:1,+ALIAS,A:Q,N:A,-ALIAS"), true, "body 1x1 b1 R=U; A->0"},
  };
  for (const auto& c : cases) ExpectReads(c);
}

TEST(TextLibraryReadTest, PinBlockTakesWhatItCanUseAndDropsTheRest) {
  const struct {
    std::string pin;
    std::string described;  // "" when the read fails
  } cases[] = {
      {"+PIN,N:A,L:L1,T:,M:1,M:4,-PIN", "pin A f0 e0:1 [D1,D4]"},
      {"+PIN,N:A,L:L1,T:,M:,M:4,-PIN", "pin A f0 e0:1 [D4,]"},
      {"+PIN,-PIN", "pin  f0 e0:0 [,]"},
      {"+PIN,L:X5,-PIN", "pin  f0 e3:5 [,]"},
      {"+PIN,L:r5,-PIN", "pin  f0 e3:5 [,]"},
      {"+PIN,L:L300,-PIN", "pin  f0 e0:0 [,]"},
      {"+PIN,L:R255,-PIN", "pin  f0 e2:255 [,]"},
      {"+PIN,L:R7,L:T256,-PIN", "pin  f0 e1:7 [,]"},
      {"+PIN,L:R7,L:B-1,-PIN", "pin  f0 e3:7 [,]"},
      {"+PIN,L:R7,L:T,-PIN", "pin  f0 e1:0 [,]"},
      {"+PIN,L:R7,L:,-PIN", "pin  f0 e2:7 [,]"},
      {"+PIN,L:R7,L:T99999999999,-PIN", "pin  f0 e1:7 [,]"},
      {"+PIN,L:T000000007,L:B0000000009,-PIN", "pin  f0 e3:9 [,]"},
      {"+PIN,T:NC,-PIN", "pin  f12 e0:0 [,]"},
      {"+PIN,T:C,T:,T:S,T:%4E,T:x,-PIN", "pin  f13 e0:0 [,]"},
      {"+PIN,L:L1x,-PIN", "pin  f0 e0:1 [,]"},
      {"+PIN,L:Rx1,L:T 5,-PIN", "pin  f0 e1:5 [,]"},
      {"+PIN,T:SxC,T:N,-PIN", "pin  f13 e0:0 [,]"},
      {"+PIN,T:m,M:7,M:7,-PIN", "pin  f0 e0:0 [H7,H7]"},
      {"+PIN,M:1,T:m,M:2,-PIN", "pin  f0 e0:0 [D1,H2]"},
      {"+PIN,M:1,M:2,M:3,-PIN", "pin  f0 e0:0 [D1,D2]"},
      {"+PIN,M:%20,-PIN", "pin  f0 e0:0 [D ,]"},
      // Numbers that outgrow the pin's own room, at the first and the second.
      {"+PIN,M:1234567890123456,M:7,-PIN", "pin  f0 e0:0 [D1234567890123456,D7]"},
      {"+PIN,M:123456789012345,T:m,M:77,-PIN", "pin  f0 e0:0 [D123456789012345,H77]"},
      {"+PIN,N:A,N:,-PIN", "pin A f0 e0:0 [,]"},
      {"+PIN,N:\\O\\E,-PIN", "pin \\O\\E f0 e0:0 [,]"},
      {"+PIN,N:OUT%20Y,-PIN", "pin OUT Y f0 e0:0 [,]"},
      {"+PIN,Q:1,MM:2,M:3,-PIN", "pin  f0 e0:0 [D3,]"},
      {"+PIN,+FOO,M:9,-FOO,M:1,-PIN", "pin  f0 e0:0 [D1,]"},
      {"+PIN,+PIN,M:9,-PIN,M:1,-PIN", "pin  f0 e0:0 [D1,]"},
      {"+PIN,N:A,-COMP", ""},
      {"+PIN,+FOO,-PIN", ""},
  };
  for (const auto& c : cases) {
    const std::string body = "body 4x2 b2 R=U";
    ExpectReads(
        {Part("N:A,X:4,Y:2,B:2," + c.pin), !c.described.empty(), body + " | " + c.described + "; A->0"});
  }
  ExpectReads({kHeader + "+COMP,N:A,X:4,Y:2,B:2,+PIN,N:A\r\n", false, ""});
  ExpectReads({Part("N:A,X:1,Y:1,B:22,+PIN,M:1,M:2,-PIN"), true,
               "body 1x1 b22 R=U | pin  f0 e0:0 [D1,D2" + std::string(20, ',') + "]; A->0"});
  ExpectReads({Part("N:A,X:1,Y:1,B:1,+PIN,N:A,-PIN,+PIN,N:B,L:L1,-PIN,+PIN,N:A,-PIN"), true,
               "body 1x1 b1 R=U | pin A f0 e0:0 [] | pin B f0 e0:1 [] | pin A f0 e0:0 []; A->0"});

  // Names of every length, plain or escaped, replacing a longer one, and
  // short marks, a few bytes before the end of an input or at it, in a block
  // of its own size: a read past what may be read shows under
  // AddressSanitizer.
  const auto readExactly = [](const std::string& text, Library& library) {
    const auto bytes = std::make_unique<char[]>(text.size());
    std::copy(text.begin(), text.end(), bytes.get());
    return TextLibraryFormat::ReadBytes(std::string_view(bytes.get(), text.size()), library);
  };
  for (const char* ending : {"T:", "T:C", "T:%43"}) {
    Library library;
    EXPECT_FALSE(readExactly(kHeader + "+COMP,N:A,X:1,Y:1,B:1,+PIN," + ending, library)) << ending;
  }
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTU";
  for (size_t length = 0; length <= 20; ++length) {
    const std::string name = letters.substr(0, length);
    const std::pair<std::string, std::string> fields[] = {
        {name, name}, {letters + ",N:" + name, length > 0 ? name : letters}, {"%41" + name, "A" + name}};
    for (const auto& [field, read] : fields) {
      const std::string text = kHeader + "+COMP,N:A,X:1,Y:1,B:1,+PIN,N:" + field + ",-PIN,-COMP";
      Library library;
      ASSERT_TRUE(readExactly(text, library)) << text;
      EXPECT_EQ(Describe(library), "body 1x1 b1 R=U | pin " + read + " f0 e0:0 []; A->0") << text;
    }
  }
}

TEST(TextLibraryReadTest, PatternBlockReadsRowsOfNibbleLetters) {
  const auto pattern = [](const std::string& fields) { return kHeader + "+PTN," + fields + ",-PTN\r\n"; };
  const ReadCase cases[] = {
      {pattern("N:MARK,X:8,Y:2,+BMP,OO,HA,-BMP"), true, "ptn MARK 8x2 ff00 8100"},
      // Bad pairs read as 0; a lone character or a short row leaves bytes 0.
      {pattern("N:M,X:16,Y:6,+BMP,O,ZZ,@@,HZ,ha,OOHA,-BMP"), true,
       "ptn M 16x6 0000 0000 0000 0000 0000 ff81"},
      // Only the bytes the width uses are taken, and padding may hold ink.
      {pattern("N:M,X:8,Y:1,+BMP,OOOO,-BMP"), true, "ptn M 8x1 ff00"},
      {pattern("N:M,X:9,Y:1,+BMP,OOOO,-BMP"), true, "ptn M 9x1 ffff"},
      {pattern("N:M,X:17,Y:1,+BMP,OOOOOOOO,-BMP"), true, "ptn M 17x1 ffffff00"},
      // Empty and key fields are rows too; missing rows stay blank, extra
      // ones are dropped.
      {pattern("N:M,X:8,Y:3,+BMP,,N:,HA,OO,-BMP"), true, "ptn M 8x3 0000 0000 8100"},
      {pattern("N:M,X:8,Y:3,+BMP,OO,-BMP"), true, "ptn M 8x3 ff00 0000 0000"},
      {pattern("N:M,X:8,Y:2,+BMP,+BMP,OO,-BMP,HA,-BMP"), true, "ptn M 8x2 8100 0000"},
      // The first bitmap fixes the size; later names still count.
      {pattern("N:M,X:8,Y:1,+BMP,OO,-BMP,X:16,N:R,N:,+BMP,HA,-BMP"), true, "ptn R 8x1 ff00"},
      {pattern("X:8,Y:1,N:M%2CN,+FOO,-FOO,+BMP,OO,-BMP"), true, "ptn M,N 8x1 ff00"},
      {pattern("X:40000,N:M,X:8,Y:1,+BMP,OO,-BMP"), true, "ptn M 8x1 ff00"},
      // Without a name or a positive size the bitmap is skipped: no pattern.
      {pattern("X:8,Y:1,+BMP,OO,-BMP,N:M"), false, ""},
      {pattern("N:M,X:0,Y:1,+BMP,OO,-BMP"), false, ""},
      {pattern("N:M,X:8,Y:-1,+BMP,OO,-BMP"), false, ""},
      {pattern("N:M,X:8,Y:1"), false, ""},
      {pattern("N:M,X:32768,Y:1,+BMP,-BMP"), false, ""},
      {pattern("N:M,X:1,Y:32768,+BMP,-BMP"), false, ""},
      {pattern("N:M,X:8,Y:1,+BMP,OO,-BMP,X:32768,+BMP,-BMP"), false, ""},
      {pattern("N:M,X:8,Y:1,+BMP,OO,-BMX,-BMP"), false, ""},
      {pattern("N:M,X:8,Y:1,+BMP,OO,-BMP,-COMP"), false, ""},
      {kHeader + "+PTN,N:M,X:8,Y:1,+BMP,OO\r\n", false, ""},
      {kHeader + "+PTN,N:M,X:8,Y:1,+BMP,OO,-BMP\r\n", false, ""},
  };
  for (const auto& c : cases) ExpectReads(c);

  Library wide;
  ASSERT_TRUE(TextLibraryFormat::ReadBytes(pattern("N:W,X:32767,Y:2,+BMP,OO,-BMP"), wide));
  ASSERT_EQ(wide.patterns.size(), 1u);
  EXPECT_EQ(wide.patterns[0]->width, 32767);
  EXPECT_EQ(wide.patterns[0]->bits.size(), 2u * 4096u);
  EXPECT_EQ(wide.patterns[0]->bits[0], 0xFF);
}

TEST(TextLibraryReadTest, PartsFindOnlyEarlierPatternsAndTheFirstOfAName) {
  const std::string m1 = "+PTN,N:M,X:8,Y:1,+BMP,OO,-BMP,-PTN\r\n";
  const std::string m2 = "+PTN,N:M,X:8,Y:1,+BMP,HA,-BMP,-PTN\r\n";
  const auto part = [](const std::string& p) { return "+COMP,N:A,X:1,Y:1,B:1," + p + ",-COMP\r\n"; };
  const ReadCase cases[] = {
      {kHeader + m1 + m2 + part("P:M"), true, "ptn M 8x1 ff00; ptn M 8x1 8100; body 1x1 b1 R=U P=M#0; A->0"},
      {kHeader + part("P:M") + m1, true, "ptn M 8x1 ff00; body 1x1 b1 R=U; A->0"},
      {kHeader + m1 + part("P:Z"), true, "ptn M 8x1 ff00; body 1x1 b1 R=U; A->0"},
      {kHeader + m1 + part("P:M,P:"), true, "ptn M 8x1 ff00; body 1x1 b1 R=U; A->0"},
  };
  for (const auto& c : cases) ExpectReads(c);
}

TEST(TextLibraryReadTest, AliasesTakeTheBodyOfTheFirstEntryOfTheirPartName) {
  const std::string p = "+COMP,N:P,X:1,Y:1,B:1,-COMP\r\n";
  const std::string p2 = "+COMP,N:P,X:2,Y:2,B:1,-COMP\r\n";
  const auto alias = [](const std::string& fields) { return "+ALIAS," + fields + ",-ALIAS\r\n"; };
  const std::string one = "body 1x1 b1 R=U";
  const ReadCase cases[] = {
      {kHeader + p + alias("A:Q,N:P"), true, one + "; P->0; Q->0"},
      {kHeader + alias("A:Q,N:P") + p, true, one + "; P->0"},
      {kHeader + p + alias("A:Q,N:Z"), true, one + "; P->0"},
      {kHeader + p + alias("A:Q,N:P") + alias("A:R,N:Q"), true, one + "; P->0; Q->0; R->0"},
      {kHeader + p + p2 + alias("A:Q,N:P"), true, one + "; body 2x2 b1 R=U; P->0; P->1; Q->0"},
      {kHeader + p + alias("A:P,N:P"), true, one + "; P->0; P->0"},
      {kHeader + p + alias("A:Q,A:,N:P,+X,-X"), true, one + "; P->0; Q->0"},
      {kHeader + p + alias("A:Q"), false, ""},
      {kHeader + p + alias("N:P"), false, ""},
      {kHeader + p + alias("A:,N:P"), false, ""},
      {kHeader + p + "+ALIAS,A:Q,N:P,-COMP\r\n", false, ""},
      {kHeader + p + "+ALIAS,A:Q,N:P\r\n", false, ""},
  };
  for (const auto& c : cases) ExpectReads(c);
}

TEST(TextLibraryReadTest, ReadFromAFileThatCannotBeReadLeavesTheLibraryAlone) {
  text_test::TempDir dir;
  text_test::PutFile(dir / "bad.LB3", "+VELD3_LIB_V.1.0\r\n+COMP,N:A\r\n");
  for (const auto& path : {dir / "missing.LB3", dir.path(), dir / "bad.LB3"}) {
    Library library;
    library.AddPattern(std::make_unique<Pattern>("OLD", 1, 1));
    library.filePath = "/somewhere/old.LB3";
    EXPECT_FALSE(TextLibraryFormat::Read(path.string(), library)) << path;
    EXPECT_EQ(library.patterns.size(), 1u);
    EXPECT_EQ(library.filePath, "/somewhere/old.LB3");
  }
}

}  // namespace
}  // namespace zanli
