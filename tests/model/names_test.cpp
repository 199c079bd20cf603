#include "model/names.h"

#include <gtest/gtest.h>

#include "model/name_set.h"

namespace zanli {
namespace {

TEST(NameRulesTest, PartAndPatternNamesFollowLengthAndCharacterRules) {
  struct Case {
    std::string name;
    bool part, pattern;
  };
  const Case cases[] = {
      {"A|B", true, true},
      {"A~B", true, true},
      {"A{B", false, false},
      {"A}B", false, false},
      {"A B", false, false},
      {"", false, false},
      {"!", true, true},
      {std::string("A\x7F"), false, false},
      {std::string("A\x80"), false, false},
      {std::string("\x83\x41"), false, false},  // a double-byte character
      {std::string("A\tB"), false, false},
      {"ABCDEFGH", true, true},
      {"ABCDEFGHI", true, false},
      {"ABCDEFGHIJKLMNO", true, false},
      {"ABCDEFGHIJKLMNOP", false, false},
      {"abc", true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidPartName(c.name), c.part) << c.name;
    EXPECT_EQ(IsValidPatternName(c.name), c.pattern) << c.name;
  }
}

TEST(UniqueNameTest, FillsTheLowestFreeNumber) {
  NameSet names;
  EXPECT_EQ(UniquePartName(names), "NEWNAME0");
  EXPECT_EQ(UniquePatternName(names), "NEW_0");
  names.Add("NEWNAME0");
  names.Add("NEWNAME2");
  names.Add("NEW_0");
  names.Add("NEW_1");
  EXPECT_EQ(UniquePartName(names), "NEWNAME1");
  EXPECT_EQ(UniquePatternName(names), "NEW_2");
  names.Add("newname1");  // case-sensitive: does not take NEWNAME1
  EXPECT_EQ(UniquePartName(names), "NEWNAME1");
}

TEST(UniqueNameTest, ReturnsTheLastCandidateWhenAllThousandAreTaken) {
  NameSet names;
  for (int i = 0; i < 999; ++i) {
    names.Add("NEWNAME" + std::to_string(i));
    names.Add("NEW_" + std::to_string(i));
  }
  EXPECT_EQ(UniquePartName(names), "NEWNAME999");
  EXPECT_EQ(UniquePatternName(names), "NEW_999");
  names.Add("NEWNAME999");
  names.Add("NEW_999");
  names.Add("NEWNAME1000");
  EXPECT_EQ(UniquePartName(names), "NEWNAME999");
  EXPECT_EQ(UniquePatternName(names), "NEW_999");
  names.Remove("NEWNAME500");
  EXPECT_EQ(UniquePartName(names), "NEWNAME500");
}

TEST(NameSetTest, NameStaysTakenWhileAnyHolderRemains) {
  NameSet names;
  names.Add("A");
  names.Add("A");
  EXPECT_EQ(names.Count("A"), 2u);
  names.Remove("A");
  EXPECT_TRUE(names.IsNameTaken("A"));
  names.Remove("A");
  EXPECT_FALSE(names.IsNameTaken("A"));
  names.Remove("A");  // removing an absent name is harmless
  EXPECT_EQ(names.Count("A"), 0u);
}

}  // namespace
}  // namespace zanli
