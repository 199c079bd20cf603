#include "pinlist/shift_jis_text.h"

namespace zanli::sjis {

namespace {

template <typename Map>
std::string MapAscii(std::string_view text, const Map& map) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    const auto byte = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(byte)) {
      ++i;  // the trail byte is no letter
      continue;
    }
    out[i] = map(out[i]);
  }
  return out;
}

}  // namespace

std::string FoldCase(std::string_view text) {
  return MapAscii(text, [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
}

std::string UpperCase(std::string_view text) {
  return MapAscii(text, [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace zanli::sjis
