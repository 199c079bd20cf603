#include "model/storable_text.h"

#include <gtest/gtest.h>

namespace zanli {
namespace {

// The edges of the code page that no field can type and the checker's
// table does not plant: row and byte boundaries.
TEST(StorableTextTest, CharactersOfTheCodePageOnly) {
  const struct {
    const char* what;
    std::string_view bytes;
    bool storable;
  } cases[] = {
      {"nothing", "", true},
      {"a circled digit", "\x87\x40", true},
      {"the last character", "\xFC\x4B", true},
      {"kanji then ASCII", "\x8A\xBFx", true},
      {"lead byte before ASCII", "\x81 ", false},
      {"past the last row's end", "\xFC\x4C", false},
      {"an empty row", "\x85\x40", false},
      {"a user-defined row", "\xF0\x40", false},
      {"trail 0x7F", "\x88\x7F", false},
      {"no character at 0x80", "\x80", false},
      {"no character at 0xA0", "\xA0", false},
      {"no character at 0xFD", "\xFD", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsStorableText(c.bytes), c.storable) << c.what;
}

}  // namespace
}  // namespace zanli
