// Pin names, prefixes and part names between KiCad's texts and the library's.
#include "kicad/kicad_text.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "kicad/kicad_messages.h"
#include "kicad/kicad_names.h"
#include "model/name_set.h"

namespace zanli {
namespace {

TEST(KicadText, PinNamesFromKicad) {
  const struct {
    const char* kicad;
    const char* name;
    bool changed;
  } cases[] = {
      {"~", "", false},
      {"~{AB}", "\\A\\B", false},
      {"A~{B}C", "A\\BC", false},
      {"~{A\\B}", "\\A\\\\\\B", false},  // a barred backslash
      {"a~b", "a~b", false},
      {"~{open", "\\o\\p\\e\\n", false},
      {"A\\B", "A?B", true},
      {"\xc2\xb5"
       "A",
       "?A", true},
      {"tab\there", "tab?here", true},
  };
  for (const auto& c : cases) {
    bool changed = false;
    EXPECT_EQ(KicadText::PinNameFromKicad(c.kicad, changed), c.name) << c.kicad;
    EXPECT_EQ(changed, c.changed) << c.kicad;
  }
}

TEST(KicadText, PinNamesThatKicadCanSayComeBackAsTheyWere) {
  // Random names over the characters that matter to the bar notation.
  std::mt19937 random(21);
  const std::string alphabet = "AB~{}\\ ";
  int exact = 0;
  for (int round = 0; round < 2000; ++round) {
    std::string name;
    for (int i = std::uniform_int_distribution<int>(0, 6)(random); i > 0; --i)
      name += alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(random)];
    bool lossy = false, changed = false;
    const std::string kicad = KicadText::PinNameToKicad(name, nullptr, lossy);
    if (lossy) continue;
    ++exact;
    EXPECT_EQ(KicadText::PinNameFromKicad(kicad, changed), name) << name << " -> " << kicad;
  }
  EXPECT_GT(exact, 1000);
  bool lossy = false;
  EXPECT_EQ(KicadText::PinNameToKicad("\xb1", nullptr, lossy), "\xef\xbd\xb1");  // half-width katakana
  EXPECT_FALSE(lossy);
  EXPECT_EQ(KicadText::PinNameToKicad("~", nullptr, lossy), "~");
  EXPECT_TRUE(lossy);
}

TEST(KicadText, PrefixesAndMillimetres) {
  EXPECT_EQ(KicadText::PrefixFromReference("#PWR"), "PWR");
  EXPECT_EQ(KicadText::PrefixFromReference("U?"), "U");
  EXPECT_EQ(KicadText::PrefixFromReference("#"), "U");
  EXPECT_EQ(KicadMessages::Millimetres(12700), "1.27");
  EXPECT_EQ(KicadMessages::Millimetres(-6096), "-0.6096");
  EXPECT_EQ(KicadMessages::Millimetres(1), "0.0001");
  EXPECT_EQ(KicadMessages::Millimetres(0), "0");
}

TEST(KicadNames, NamesKeepTheRulesAndTakeTheLowestFreeNumber) {
  EXPECT_EQ(KicadNames::ValidPartName("two words{}"), "two_words__");
  EXPECT_EQ(KicadNames::ValidPartName("Conn_01x02_MountingPin"), "Conn_01x02_Moun");
  EXPECT_EQ(KicadNames::ValidPartName("\xce\xa9"
                                      "1"),
            "_1");
  EXPECT_EQ(KicadNames::ValidPartName(""), "_");
  EXPECT_EQ(KicadNames::ValidPatternName("Q_NPN_BEC"), "Q_NPN_BE");
  NameSet taken;
  for (const char* name : {"LM358", "LM358_1", "LM358_3", "ABCDEFGH", "ABCDEF_1"}) taken.Add(name);
  EXPECT_EQ(KicadNames::UniquePartName("LM358", taken), "LM358_2");
  EXPECT_EQ(KicadNames::UniquePartName("FREE", taken), "FREE");
  EXPECT_EQ(KicadNames::UniquePatternName("ABCDEFGH", taken), "ABCDEF_2");
  EXPECT_EQ(KicadNames::UniqueName("ABCDEFGHIJKLMNO", 15, taken), "ABCDEFGHIJKLMNO");
  taken.Add("ABCDEFGHIJKLMNO");
  EXPECT_EQ(KicadNames::UniqueName("ABCDEFGHIJKLMNO", 15, taken), "ABCDEFGHIJKLM_1");
}

TEST(KicadMessages, EveryNoteHasItsOwnIdAndAText) {
  std::set<std::string> ids;
  for (int k = 0; k <= static_cast<int>(KicadNote::Kind::AliasReference); ++k) {
    const KicadNote note(static_cast<KicadNote::Kind>(k), "S", "D", 7, 8, 9);
    const std::string id = KicadMessages::NoteId(note.kind);
    EXPECT_FALSE(id.empty()) << k;
    EXPECT_TRUE(ids.insert(id).second) << id;
    EXPECT_FALSE(KicadMessages::Describe(note).empty()) << id;
  }
  EXPECT_EQ(KicadMessages::Describe(KicadNote(KicadNote::Kind::PinsMoved, {}, {}, 12700, 0, 3)),
            "ﾋﾟﾝ 3 本を動かしました (最大 1.27 mm)");
}

}  // namespace
}  // namespace zanli
