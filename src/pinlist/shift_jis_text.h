#pragma once

#include <string>
#include <string_view>

// Byte-level helpers for the Shift-JIS text of pasted pin lists. A
// double-byte character's second byte may look like an ASCII letter, so
// case changes walk the text character by character.
namespace zanli::sjis {

// True for the first byte of a double-byte character.
inline bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// ASCII letters to lower case; double-byte characters stay as they are.
std::string FoldCase(std::string_view text);
// ASCII letters to upper case; double-byte characters stay as they are.
std::string UpperCase(std::string_view text);
// Without the spaces and tabs at either end.
std::string_view Trim(std::string_view text);

}  // namespace zanli::sjis
