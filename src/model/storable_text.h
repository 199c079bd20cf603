#pragma once

#include <cstddef>
#include <string_view>

// Which bytes a library can hold as text. Names, pin names, pin numbers and
// prefixes are Shift-JIS (the Windows variant) as the files store them: the
// printable ASCII characters, the half-width katakana, and the two-byte
// characters of the rows that have characters. A byte the code page has no
// character for (a control character, an unpaired lead byte, the converter's
// substitute 0xFC 0xFC, the user-defined rows) is not text the library can
// hold. The editor refuses such a character where it is typed; the checker
// reports one that came from a file.
namespace zanli {

// The length (1 or 2) of the character `text` starts with, or 0 when it does
// not start with a character the library can hold (or is empty).
size_t StorableCharacterLength(std::string_view text);
// Every byte belongs to a character the library can hold; empty text too.
bool IsStorableText(std::string_view text);

}  // namespace zanli
