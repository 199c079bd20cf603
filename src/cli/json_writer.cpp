#include "cli/json_writer.h"

#include "fileio/library_file_messages.h"

namespace zanli::cli {

namespace {
constexpr char kHex[] = "0123456789abcdef";
}

void AppendJsonString(std::string& out, std::string_view bytes) {
  out += '"';
  for (char ch : bytes) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 0x20 && c <= 0x7E && c != '"' && c != '\\') {
      out += ch;
    } else {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  out += '"';
}

void AppendJsonName(std::string& out, std::string_view bytes) {
  const std::string_view part = LibraryFileMessages::ShownPart(bytes);
  AppendJsonString(out, part);
  if (part.size() < bytes.size()) out.insert(out.size() - 1, "\\u2026");
}

void AppendJsonText(std::string& out, std::string_view text) {
  out += '"';
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  out += '"';
}

void AppendHex(std::string& out, const uint8_t* bytes, size_t size) {
  out.reserve(out.size() + 2 * size);
  for (size_t i = 0; i < size; ++i) {
    out += kHex[bytes[i] >> 4];
    out += kHex[bytes[i] & 15];
  }
}

void AppendPinJson(std::string& out, const PinInfo& pin) {
  out += "{\"name\":";
  AppendJsonString(out, pin.name);
  out += ",\"edge\":" + std::to_string(static_cast<int>(pin.edge));
  out += ",\"position\":" + std::to_string(pin.position);
  out += ",\"flags\":" + std::to_string(pin.flags);
  out += ",\"numbers\":[";
  for (size_t i = 0; i < pin.numbers.size(); ++i) {
    if (i) out += ',';
    AppendJsonString(out, pin.numbers[i]);
  }
  out += "]}";
}

void AppendPatternJson(std::string& out, const Pattern& pattern) {
  out += "{\"name\":";
  AppendJsonString(out, pattern.name);
  out += ",\"width\":" + std::to_string(pattern.width);
  out += ",\"height\":" + std::to_string(pattern.height);
  out += ",\"bits\":\"";
  AppendHex(out, pattern.bits.data(), pattern.bits.size());
  out += "\"}";
}

}  // namespace zanli::cli
