#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zanli {

// How the binary library stores a pin's numbers and name.
//
// A number is one 16-bit word: bit 15 hidden, bits 10-14 an optional letter
// ("A" = 1 ... "Z" = 26), bits 0-8 the number. A name is stored without its
// bar marks: the backslash is dropped and the barred character gets bit 7.
class BinaryPinCodec {
 public:
  // "H12" -> hidden 12; "DA3" -> shown A3. Only the low 9 bits of the number
  // survive, whatever its length; anything after the digits is lost.
  static uint16_t EncodeNumber(std::string_view number);
  // Always "D" or "H", the letter if any, then the number in decimal.
  static std::string DecodeNumber(uint16_t word);

  // The stored characters (without the length byte). A trailing backslash
  // marks nothing and is dropped, so "\" stores no character at all.
  static std::string EncodeName(std::string_view name);
  // Each byte with bit 7 becomes a backslash and the byte without it; other
  // bytes, a raw backslash included, are kept as stored.
  static std::string DecodeName(std::string_view stored);
};

}  // namespace zanli
