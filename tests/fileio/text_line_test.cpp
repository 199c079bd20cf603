#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "fileio/text_line_reader.h"
#include "fileio/text_line_writer.h"
#include "text_test_support.h"

namespace zanli {
namespace {

using namespace std::string_literals;

// With `scanAhead`, the separators ahead are taken afresh before every
// field, as a reader does at the start of a line.
std::vector<std::string> AllFields(TextLineReader& reader, bool scanAhead = false) {
  std::vector<std::string> fields;
  std::string_view field;
  for (;;) {
    if (scanAhead) reader.ScanAhead();
    if (!reader.ReadField(field)) return fields;
    fields.emplace_back(field);
  }
}

// Every field up to the end; the end itself is marked by the caller seeing
// the list stop. Read from a source through windows of a few bytes, so that
// every field and escape is cut somewhere, or scanning ahead before every
// field, the fields must be the same.
std::vector<std::string> Fields(std::string_view input) {
  TextLineReader whole(input);
  const std::vector<std::string> fields = AllFields(whole);
  TextLineReader rescanned(input);
  EXPECT_EQ(AllFields(rescanned, true), fields) << "scanning ahead";
  for (size_t window :
       {size_t{1}, size_t{2}, size_t{3}, size_t{7}, size_t{64}, TextLineReader::kChunkBytes}) {
    text_test::PieceSource source(input, window % 2 ? 1 : 5);
    TextLineReader reader(source, window);
    EXPECT_EQ(AllFields(reader, window >= 64), fields) << "window " << window;
  }
  return fields;
}

using FieldList = std::vector<std::string>;

TEST(TextLineReaderTest, SplitsFieldsAtSeparatorsAndSkipsLeadingWhiteSpace) {
  const struct {
    std::string input;
    FieldList fields;
  } cases[] = {
      {"", {}},
      {" \t\r\n", {}},
      {"a,b", {"a", "b"}},
      {"a,,b", {"a", "", "b"}},
      {"a, \t,b", {"a", "", "b"}},
      {"a,\r\nb", {"a", "b"}},      // a line break after a comma gives no field
      {"a\r\n,b", {"a", "", "b"}},  // but a comma after a line break does
      {"a\rb\nc\r\n\r\nd", {"a", "b", "c", "d"}},
      {"a , b", {"a ", "b"}},    // spaces before a separator belong to the field
      {"\t  a\tb ", {"a\tb "}},  // a field ended by the end of the input is a field
      {"a,", {"a"}},
      {"x:1,+PTN,-X", {"x:1", "+PTN", "-X"}},
      {std::string("a\0b,c", 5), {std::string("a\0b", 3), "c"}},
      {"\x80\xFF\x82\xA0,\x7F", {"\x80\xFF\x82\xA0", "\x7F"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Fields(c.input), c.fields) << c.input;
}

TEST(TextLineReaderTest, DecodesEscapesAndEndsTheInputAtBrokenOnes) {
  const struct {
    std::string input;
    FieldList fields;
  } cases[] = {
      {"A%2CB", {"A,B"}},
      {"%20x%25", {" x%"}},
      {"%0D%0A,%1A", {"\r\n", "\x1A"}},
      {"%e3%81", {"\xE3\x81"}},
      {"%00", {std::string(1, '\0')}},
      {"%2BPTN", {"+PTN"}},
      // A separator among the two characters, or the end of the input cutting
      // them off, ends the input: that field and the rest are lost.
      {"x,a%,b", {"x"}},
      {"x,a%4,b", {"x"}},
      {"x,a%4\r\nb", {"x"}},
      {"x,a%\nA,b", {"x"}},
      {"x,a%4", {"x"}},
      {"x,a%", {"x"}},
      {"x,ab%41%4", {"x"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Fields(c.input), c.fields) << c.input;

  TextLineReader reader("a%,b,c");
  std::string_view field;
  EXPECT_FALSE(reader.ReadField(field));
  EXPECT_FALSE(reader.ReadField(field)) << "the end, once reported, stays";
}

TEST(TextLineReaderTest, EscapeDigitsAreReadLikeTheCLibraryDoesInBase16) {
  const struct {
    const char* chars;
    int byte;
  } cases[] = {
      {"41", 0x41},  {"ff", 0xFF}, {"Fe", 0xFE}, {"00", 0x00}, {" F", 0x0F}, {"\tF", 0x0F},
      {"\v7", 0x07}, {"+F", 0x0F}, {"-1", 0xFF}, {"-F", 0xF1}, {"1G", 0x01}, {"G1", 0x00},
      {"0x", 0x00},  {"--", 0x00}, {"- ", 0x00}, {"  ", 0x00}, {"F ", 0x0F}, {"zz", 0x00},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextLineReader::DecodeEscape(c.chars[0], c.chars[1]), c.byte) << c.chars;
  EXPECT_EQ(Fields("%-1%+F%1G%G1"), FieldList({"\xFF\x0F\x01\x00"s}));
}

TEST(TextLineReaderTest, ByteEndOfFileEndsTheInput) {
  EXPECT_EQ(Fields("a,b\x1A,c,d"), FieldList({"a", "b"}));
  EXPECT_EQ(Fields("\x1A"s + "a"), FieldList{});
  EXPECT_EQ(Fields("a,b%4\x1A"s + "1"), FieldList({"a"})) << "an escape cut off by 0x1A ends the input";
}

TEST(TextLineReaderTest, FullFieldEndsAndTheNextByteIsDropped) {
  const size_t max = TextLineReader::kMaxFieldLength;
  const std::string full(max, 'a');
  const struct {
    std::string input;
    FieldList fields;
  } cases[] = {
      {full, {full}},
      {full + ",c", {full, "c"}},
      {full + "bc,d", {full, "c", "d"}},
      {full + "\r\n,c", {full, "", "c"}},
      // The dropped byte is a plain byte even when it starts an escape.
      {full + "%41,c", {full, "41", "c"}},
      // Escapes count as one byte.
      // After a dropped byte a comma opens an empty field.
      {std::string(max - 1, 'a') + "%41x,c", {std::string(max - 1, 'a') + "A", "", "c"}},
      {std::string("%41").append(max, 'b') + ",c", {std::string("A").append(max - 1, 'b'), "", "c"}},
      {std::string(max - 1, 'a') + ",b", {std::string(max - 1, 'a'), "b"}},
      {full + "\x1A,c", {full}},  // the byte after a full field may end the input
  };
  for (const auto& c : cases) {
    const FieldList got = Fields(c.input);
    ASSERT_EQ(got.size(), c.fields.size()) << c.input.substr(c.input.size() - 8);
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], c.fields[i]) << i;
  }
}

// Stop bytes are found many at a time: each kind lands on every offset of a
// 16- and 64-byte block, and Fields() also reads through windows so small
// that every field is cut by a refill.
TEST(TextLineReaderTest, StopBytesCountAtEveryOffsetOfABlock) {
  for (size_t k = 0; k < 140; ++k) {
    const std::string run(k, 'a');
    const std::string trace = "offset " + std::to_string(k);
    EXPECT_EQ(Fields("x," + run + ",b"), FieldList({"x", run, "b"})) << trace;
    EXPECT_EQ(Fields("x,y" + run + "\r\n \tb"), FieldList({"x", "y" + run, "b"})) << trace;
    EXPECT_EQ(Fields("x,y" + run + "\r\nb,c"), FieldList({"x", "y" + run, "b", "c"})) << trace;
    EXPECT_EQ(Fields("x," + run + "%41" + run + ",c"), FieldList({"x", run + "A" + run, "c"})) << trace;
    EXPECT_EQ(Fields("x," + run + ",%41,y,z%42"), FieldList({"x", run, "A", "y", "zB"})) << trace;
    EXPECT_EQ(Fields("x," + run + "\x1A" + "b,c"), k == 0 ? FieldList{"x"} : FieldList({"x", run})) << trace;
    EXPECT_EQ(Fields("x," + run + "%4\x1A" + "1,c"), FieldList{"x"}) << trace;
  }
}

// Random text of the bytes that matter, read whole (many bytes at a time)
// and through windows of a few bytes (one at a time): the same fields.
TEST(TextLineReaderTest, ReadingWholeOrInPiecesAgreesOnRandomText) {
  std::mt19937 random(20261208);
  const std::string alphabet = "ab,,\r\n \t%4F\x1A";
  for (int round = 0; round < 300; ++round) {
    std::string input(random() % 200, 'a');
    for (char& c : input) c = alphabet[random() % (round % 3 == 0 ? alphabet.size() : alphabet.size() - 1)];
    Fields(input);
  }
}

TEST(TextLineReaderTest, SkipBlockStopsAtTheFirstClosingFieldWithoutNesting) {
  TextLineReader reader("N:1,+X,-Y,-X,-X,after");
  std::string_view field;
  ASSERT_TRUE(reader.SkipBlock("+X"));
  ASSERT_TRUE(reader.ReadField(field));
  EXPECT_EQ(field, "-X");
  ASSERT_TRUE(reader.ReadField(field));
  EXPECT_EQ(field, "after");

  TextLineReader escaped("+%41,a%2Cb,-A,next");
  ASSERT_TRUE(escaped.ReadField(field));
  ASSERT_EQ(field, "+A");
  ASSERT_TRUE(escaped.SkipBlock(field)) << "the opening field may live in the reader's own buffer";
  ASSERT_TRUE(escaped.ReadField(field));
  EXPECT_EQ(field, "next");

  TextLineReader unclosed("a,-XX,- X,-x");
  EXPECT_FALSE(unclosed.SkipBlock("+X"));
}

class StringSink : public TextLineWriter::Sink {
 public:
  bool Append(std::string_view bytes) override {
    if (failAfter_ == 0) return false;
    --failAfter_;
    text += bytes;
    return true;
  }
  std::string text;
  int failAfter_ = -1;
};

TEST(TextLineWriterTest, EscapesControlBytesSpacePercentAndComma) {
  const struct {
    std::string value;
    std::string written;
  } cases[] = {
      {"OUT Y", "OUT%20Y"},
      {"100%", "100%25"},
      {"A,B", "A%2CB"},
      {"\x01\x1F\x20\r\n\t\x1A", "%01%1F%20%0D%0A%09%1A"},
      {"\x7F\x80\xFF\x82\xA0", "\x7F\x80\xFF\x82\xA0"},
      {"+-:\\", "+-:\\"},
  };
  for (const auto& c : cases) {
    StringSink sink;
    TextLineWriter writer(sink);
    ASSERT_TRUE(writer.WriteField("N:", c.value));
    ASSERT_TRUE(writer.Flush());
    EXPECT_EQ(sink.text, "N:" + c.written);
    // What the writer escapes, the reader restores.
    TextLineReader reader(sink.text);
    std::string_view field;
    ASSERT_TRUE(reader.ReadField(field));
    EXPECT_EQ(field, "N:" + c.value);
  }
}

TEST(TextLineWriterTest, JoinsFieldsWithCommasAndEndsLinesWithCrLf) {
  StringSink sink;
  TextLineWriter writer(sink);
  writer.WriteField("+PIN");
  writer.WriteField("L:", "L1");
  writer.WriteField("X:", -42);
  writer.EndLine();
  writer.WriteField("-COMP");
  writer.EndLine();
  writer.EndLine();
  ASSERT_TRUE(writer.Flush());
  EXPECT_EQ(sink.text, "+PIN,L:L1,X:-42\r\n-COMP\r\n\r\n");
}

TEST(TextLineWriterTest, AFailedSinkWriteIsReportedAndSticks) {
  StringSink sink;
  sink.failAfter_ = 0;
  TextLineWriter writer(sink);
  EXPECT_TRUE(writer.WriteField("A:", "x")) << "buffered, not yet handed over";
  EXPECT_FALSE(writer.Flush());
  EXPECT_FALSE(writer.WriteField("B:", "y"));
  EXPECT_FALSE(writer.EndLine());
  EXPECT_FALSE(writer.Flush());
}

}  // namespace
}  // namespace zanli
