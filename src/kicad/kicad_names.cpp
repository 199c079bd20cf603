#include "kicad/kicad_names.h"

#include "model/limits.h"
#include "model/names.h"

namespace zanli {

namespace {

// The rules' own test, one byte at a time: a one-byte name is valid exactly
// when its byte is a name byte.
bool IsNameByte(char c) { return IsValidPatternName(std::string_view(&c, 1)); }

std::string ValidName(std::string_view text, size_t maxLength) {
  std::string out;
  for (size_t i = 0; i < text.size() && out.size() < maxLength;) {
    const auto c = static_cast<unsigned char>(text[i]);
    size_t next = i + 1;
    if (c >= 0x80)  // one UTF-8 character, one replacement
      while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) ++next;
    out += c < 0x80 && IsNameByte(static_cast<char>(c)) ? static_cast<char>(c) : '_';
    i = next;
  }
  return out.empty() ? std::string("_") : out;
}

}  // namespace

std::string KicadNames::ValidPartName(std::string_view utf8) {
  return ValidName(utf8, limits::kMaxPartNameLength);
}

std::string KicadNames::ValidPatternName(std::string_view partName) {
  return ValidName(partName, limits::kMaxPatternNameLength);
}

std::string KicadNames::UniqueName(std::string_view valid, size_t maxLength, const NameLookup& taken,
                                   unsigned long long first) {
  if (!taken.IsNameTaken(valid)) return std::string(valid);
  // Numbers grow until one is free; a name's end gives way to longer ones,
  // down to no stem at all, so this ends while fewer than 10^maxLength names
  // are taken.
  for (unsigned long long i = first;; ++i) {
    const std::string suffix = std::string("_").append(std::to_string(i));
    const std::string number = std::to_string(i);
    std::string candidate;
    if (suffix.size() < maxLength)
      candidate = std::string(valid.substr(0, maxLength - suffix.size())).append(suffix);
    else if (number.size() <= maxLength)
      candidate = number;
    else
      return std::string(valid);  // unreachable for any real lookup
    if (!taken.IsNameTaken(candidate)) return candidate;
  }
}

std::string KicadNames::UniquePartName(std::string_view valid, const NameLookup& taken) {
  return UniqueName(valid, limits::kMaxPartNameLength, taken);
}

std::string KicadNames::UniquePatternName(std::string_view valid, const NameLookup& taken) {
  return UniqueName(valid, limits::kMaxPatternNameLength, taken);
}

}  // namespace zanli
