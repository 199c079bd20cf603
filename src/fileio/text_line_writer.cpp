#include "fileio/text_line_writer.h"

#include <charconv>

namespace zanli {

namespace {

constexpr size_t kFlushSize = 64 * 1024;

inline bool NeedsEscape(uint8_t c) { return (c >= 0x01 && c <= 0x20) || c == '%' || c == ','; }

}  // namespace

TextLineWriter::TextLineWriter(Sink& sink) : sink_(sink) { buffer_.reserve(kFlushSize + 1024); }

TextLineWriter::~TextLineWriter() = default;

void TextLineWriter::BeginField() {
  if (!atLineStart_) buffer_.push_back(',');
  atLineStart_ = false;
}

void TextLineWriter::AppendEscaped(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const char* run = p;
    while (p < end && !NeedsEscape(static_cast<uint8_t>(*p))) ++p;
    buffer_.append(run, p);
    if (p == end) break;
    const auto c = static_cast<uint8_t>(*p++);
    const char escape[3] = {'%', kHex[c >> 4], kHex[c & 0xF]};
    buffer_.append(escape, 3);
  }
}

bool TextLineWriter::FlushIfFull() { return buffer_.size() < kFlushSize ? !failed_ : Flush(); }

bool TextLineWriter::WriteField(std::string_view key, std::string_view value) {
  if (failed_) return false;
  BeginField();
  AppendEscaped(key);
  AppendEscaped(value);
  return FlushIfFull();
}

bool TextLineWriter::WriteField(std::string_view key, int32_t value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  return WriteField(key, std::string_view(digits, static_cast<size_t>(result.ptr - digits)));
}

bool TextLineWriter::EndLine() {
  if (failed_) return false;
  buffer_.append("\r\n", 2);
  atLineStart_ = true;
  return FlushIfFull();
}

bool TextLineWriter::Flush() {
  if (failed_) return false;
  if (!buffer_.empty() && !sink_.Append(buffer_)) failed_ = true;
  buffer_.clear();
  return !failed_;
}

}  // namespace zanli
