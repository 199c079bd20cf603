#pragma once

#include <string>
#include <string_view>

#include "model/library.h"

namespace zanli::cli {

// JSON for byte strings: printable ASCII stays, every other byte (and '"'
// and '\') becomes \u00XX, so any Shift-JIS text round-trips exactly.
void AppendJsonString(std::string& out, std::string_view bytes);
// The same for a name in a report: one longer than messages show
// (LibraryFileMessages::ShownPart) is cut there and ends in \u2026 ("…"), a
// character no byte of a name gives, so the cut cannot pass for a name.
void AppendJsonName(std::string& out, std::string_view bytes);
// JSON for UTF-8 text: only '"', '\' and control characters are escaped.
void AppendJsonText(std::string& out, std::string_view text);
// Lowercase hex of every byte, row padding included.
void AppendHex(std::string& out, const uint8_t* bytes, size_t size);
// {"name","edge","position","flags","numbers"}
void AppendPinJson(std::string& out, const PinInfo& pin);
// {"name","width","height","bits"}
void AppendPatternJson(std::string& out, const Pattern& pattern);

}  // namespace zanli::cli
