#include "kicad/kicad_text.h"

namespace zanli {

namespace {

bool IsPrintable(unsigned char c) { return c >= 0x20 && c <= 0x7E; }

// Walks UTF-8 text one character at a time: ASCII bytes as they are, every
// other character (or stray byte) as one replacement.
template <typename Emit>
void ForEachCharacter(std::string_view utf8, const Emit& emit) {
  for (size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      emit(static_cast<char>(c), true);
      ++i;
      continue;
    }
    size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    size_t j = 1;
    while (j < length && i + j < utf8.size() && (static_cast<unsigned char>(utf8[i + j]) & 0xC0) == 0x80) ++j;
    emit('?', false);
    i += j;
  }
}

void AppendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::string KicadText::AsciiFromKicad(std::string_view utf8, bool& changed) {
  std::string out;
  out.reserve(utf8.size());
  ForEachCharacter(utf8, [&](char c, bool ascii) {
    const bool keep = ascii && IsPrintable(static_cast<unsigned char>(c));
    changed |= !keep;
    out += keep ? c : '?';
  });
  return out;
}

std::string KicadText::PinNameFromKicad(std::string_view utf8, bool& changed) {
  if (utf8 == "~") return {};
  std::string out;
  out.reserve(utf8.size() * 2);
  bool barred = false;
  for (size_t i = 0; i < utf8.size();) {
    if (!barred && utf8.compare(i, 2, "~{") == 0) {
      barred = true;
      i += 2;
      continue;
    }
    if (barred && utf8[i] == '}') {
      barred = false;
      ++i;
      continue;
    }
    // One character: ASCII as it is, anything else as '?'.
    size_t next = i + 1;
    char c = utf8[i];
    if (static_cast<unsigned char>(c) >= 0x80) {
      while (next < utf8.size() && (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80) ++next;
      c = '?';
      changed = true;
    } else if (!IsPrintable(static_cast<unsigned char>(c)) || (c == '\\' && !barred)) {
      // An unbarred backslash would bar the next character.
      c = '?';
      changed = true;
    }
    if (barred) out += '\\';
    out += c;
    i = next;
  }
  return out;
}

std::string KicadText::PinNameToKicad(std::string_view name, const Decoder& decoder, bool& lossy) {
  if (name.empty()) return "~";
  // Split into (character, barred) pairs first, as the renderer reads them.
  std::string plain;
  std::string bars;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\') {
      if (i + 1 >= name.size()) {
        lossy = true;  // a trailing backslash bars nothing and draws nothing
        break;
      }
      plain += name[++i];
      bars += '1';
    } else {
      plain += name[i];
      bars += '0';
    }
  }
  if (plain == "~" && bars == "0") lossy = true;  // "~" alone means no name
  std::string out;
  bool open = false;
  for (size_t i = 0; i < plain.size(); ++i) {
    const bool barred = bars[i] == '1';
    if (barred != open) {
      out += barred ? "~{" : "}";
      open = barred;
    }
    const char c = plain[i];
    // "~{" would open a bar, "}" would close one: neither can be written as
    // itself in those places.
    if ((c == '~' && !open && i + 1 < plain.size() && plain[i + 1] == '{') || (c == '}' && open))
      lossy = true;
    if (static_cast<unsigned char>(c) >= 0x80) {
      // A Shift-JIS character may take two bytes; decode it as one.
      size_t length = 1;
      const auto lead = static_cast<unsigned char>(c);
      if (((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) && i + 1 < plain.size())
        length = 2;
      std::string utf8;
      if (!ToUtf8(plain.substr(i, length), decoder, utf8)) lossy = true;
      out += utf8;
      i += length - 1;
    } else {
      out += c;
    }
  }
  if (open) out += '}';
  return out;
}

bool KicadText::ToUtf8(std::string_view bytes, const Decoder& decoder, std::string& utf8) {
  utf8.clear();
  bool ascii = true;
  for (char c : bytes) ascii &= static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    utf8.assign(bytes);
    return true;
  }
  if (decoder ? decoder(bytes, utf8) : DecodeBasic(bytes, utf8)) return true;
  utf8.clear();
  for (char c : bytes) utf8 += static_cast<unsigned char>(c) < 0x80 ? c : '?';
  return false;
}

bool KicadText::DecodeBasic(std::string_view bytes, std::string& utf8) {
  utf8.clear();
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80)
      utf8 += c;
    else if (b >= 0xA1 && b <= 0xDF)
      AppendUtf8(utf8, 0xFF61 + (b - 0xA1));
    else
      return false;
  }
  return true;
}

std::string KicadText::PrefixFromReference(std::string_view reference) {
  std::string prefix;
  for (char c : reference)
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) prefix += c;
  return prefix.empty() ? std::string("U") : prefix;
}

}  // namespace zanli
