#include "model/storable_text.h"

#include <cstdint>

namespace zanli {

namespace {

// Lead bytes of the rows that hold characters: symbols, alphabets and kana
// (0x81-0x84), the special characters (0x87), the two kanji levels
// (0x88-0x9F, 0xE0-0xEA) and the extended kanji (0xED-0xEE, 0xFA-0xFC).
// Rows 0x85-0x86, 0xEB-0xEC and 0xEF are empty, 0xF0-0xF9 user-defined.
bool IsLeadOfACharacterRow(uint8_t b) {
  return (b >= 0x81 && b <= 0x84) || (b >= 0x87 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEA) ||
         (b >= 0xED && b <= 0xEE) || (b >= 0xFA && b <= 0xFC);
}

bool IsTrail(uint8_t lead, uint8_t b) {
  if (b < 0x40 || b == 0x7F || b > 0xFC) return false;
  return lead != 0xFC || b <= 0x4B;  // the last row ends early
}

}  // namespace

size_t StorableCharacterLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto lead = static_cast<uint8_t>(text[0]);
  if ((lead >= 0x20 && lead <= 0x7E) || (lead >= 0xA1 && lead <= 0xDF)) return 1;
  if (!IsLeadOfACharacterRow(lead) || text.size() < 2) return 0;
  return IsTrail(lead, static_cast<uint8_t>(text[1])) ? 2 : 0;
}

bool IsStorableText(std::string_view text) {
  while (!text.empty()) {
    const size_t length = StorableCharacterLength(text);
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return true;
}

}  // namespace zanli
