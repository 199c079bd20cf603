#include "model/storable_text.h"

#include <gtest/gtest.h>

namespace zanli {
namespace {

TEST(StorableTextTest, CharactersOfTheCodePageOnly) {
  const struct {
    const char* what;
    std::string_view bytes;
    bool storable;
  } cases[] = {
      {"nothing", "", true},
      {"ASCII with a space", "A b~", true},
      {"half-width katakana", "\xB1\xDF", true},
      {"kanji", "\x8A\xBF", true},
      {"a circled digit", "\x87\x40", true},
      {"the last character", "\xFC\x4B", true},
      {"kanji then ASCII", "\x8A\xBFx", true},
      {"a tab", "A\tB", false},
      {"delete", "\x7F", false},
      {"unpaired lead byte at the end", "A\x81", false},
      {"lead byte before ASCII", "\x81 ", false},
      {"the converter's substitute", "A\xFC\xFC", false},
      {"past the last row's end", "\xFC\x4C", false},
      {"an empty row", "\x85\x40", false},
      {"a user-defined row", "\xF0\x40", false},
      {"trail 0x7F", "\x88\x7F", false},
      {"no character at 0x80", "\x80", false},
      {"no character at 0xA0", "\xA0", false},
      {"no character at 0xFD", "\xFD", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsStorableText(c.bytes), c.storable) << c.what;
  EXPECT_EQ(StorableCharacterLength("\x8A\xBF"), 2u);
  EXPECT_EQ(StorableCharacterLength("\xB1"), 1u);
  EXPECT_EQ(StorableCharacterLength(""), 0u);
}

}  // namespace
}  // namespace zanli
