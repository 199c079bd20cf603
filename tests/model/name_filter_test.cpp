// The part list's filter: which names a text matches, and which rows show.
#include "model/name_filter.h"

#include <gtest/gtest.h>

#include "support/library_builder.h"

namespace zanli {
namespace {

TEST(NameFilterTest, MatchesNamesContainingTheTextWithWildcardsIgnoringCase) {
  const struct {
    const char* text;
    const char* name;
    bool matches;
  } cases[] = {
      {"", "74HC00", true},
      {"*", "74HC00", true},
      {"HC0", "74HC00", true},
      {"hc0", "74HC00", true},
      {"74hc00", "74HC00", true},
      {"HC01", "74HC00", false},
      {"74*00", "74HC00", true},
      {"74*00", "74LS00A", true},
      {"74*00", "7400", true},
      {"74*00", "74HC01", false},
      {"74??00", "74HC00", true},
      {"74??00", "74HCT00", false},
      {"?", "A", true},
      {"??", "A", false},
      {"*0*0*", "74HC00", true},
      {"a*b*c", "XAYBZC", true},
      {"a*b*c", "XAYCZB", false},
      {"x", "", false},
      {"*HC*", "74AHCT1G00", true},
      {"00*", "74HC00", true},
      {"[", "[", true},
      {"-", "IN+", false},
      // A double-byte character is one character for "?", and its second
      // byte (here 0x41, "A") is no letter for the case rule.
      {"?", "\x83\x41", true},
      {"a", "\x83\x41", false},
      {"\x83\x61", "\x83\x41", false},
      {"X?Y", "X\x83\x41Y", true},
      {"X??Y", "X\x83\x41Y", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NameFilter(c.text).Matches(c.name), c.matches) << '"' << c.text << "\" on \"" << c.name << '"';
}

TEST(NameFilterTest, RowsShowEachMatchingPartWithAllItsNamesInListOrder) {
  Library library;
  PartBody* nand = testing::AddPart(library, "74HC00");  // row 0
  testing::AddPart(library, "OPAMP");                    // row 1
  testing::AddEntry(library, "QUAD_NAND", nand);         // row 2, an alias away from its part
  PartBody* reg = testing::AddPart(library, "LM317");    // row 3
  testing::AddEntry(library, "REG_ADJ", reg);            // row 4
  const struct {
    const char* text;
    std::vector<int> rows;
  } cases[] = {
      {"", {0, 1, 2, 3, 4}}, {"*", {0, 1, 2, 3, 4}}, {"hc", {0, 2}},  // the part matches: its alias shows too
      {"quad", {0, 2}},                                               // the alias matches: its part shows too
      {"adj", {3, 4}},       {"?M", {1, 3, 4}},                       // OPAMP and LM317, with its alias
      {"zzz", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(NameFilter(c.text).Rows(library), c.rows) << c.text;
}

}  // namespace
}  // namespace zanli
