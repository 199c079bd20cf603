#include "fileio/binary_pin_codec.h"

namespace zanli {

namespace {

constexpr uint16_t kHiddenBit = 0x8000;
constexpr int kLetterShift = 10;
constexpr uint16_t kLetterMask = 0x1F;
constexpr uint16_t kNumberMask = 0x1FF;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

uint16_t BinaryPinCodec::EncodeNumber(std::string_view number) {
  if (number.empty()) return 0;
  uint16_t word = number.front() == 'H' ? kHiddenBit : 0;
  std::string_view text = number.substr(1);
  if (!text.empty() && IsAsciiLetter(text.front())) {
    const char upper = static_cast<char>(text.front() & ~0x20);
    word = static_cast<uint16_t>(word | ((upper - 0x40) << kLetterShift));
    text.remove_prefix(1);
  }
  // Wrapping in 32 bits keeps the low 9 bits exact for any number of digits.
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10u + static_cast<uint32_t>(c - '0');
  }
  return static_cast<uint16_t>(word | (value & kNumberMask));
}

std::string BinaryPinCodec::DecodeNumber(uint16_t word) {
  std::string text((word & kHiddenBit) ? "H" : "D");
  const int letter = (word >> kLetterShift) & kLetterMask;
  if (letter != 0) text.push_back(static_cast<char>(0x40 + letter));
  text += std::to_string(word & kNumberMask);
  return text;
}

std::string BinaryPinCodec::EncodeName(std::string_view name) {
  std::string stored;
  stored.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] != '\\') {
      stored.push_back(name[i]);
    } else if (i + 1 < name.size()) {
      stored.push_back(static_cast<char>(name[++i] | 0x80));
    }
  }
  return stored;
}

std::string BinaryPinCodec::DecodeName(std::string_view stored) {
  std::string name;
  name.reserve(stored.size() * 2);
  for (char c : stored) {
    if (c & 0x80) {
      name.push_back('\\');
      name.push_back(static_cast<char>(c & 0x7F));
    } else {
      name.push_back(c);
    }
  }
  return name;
}

}  // namespace zanli
