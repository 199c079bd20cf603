#include "fileio/text_line_reader.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace zanli {

namespace {

inline bool IsSeparator(char c) { return c == ',' || c == '\r' || c == '\n'; }
// isspace() in the C locale.
inline bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

inline int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

TextLineReader::TextLineReader(std::string_view input)
    : pos_(input.data()), end_(input.data() + input.size()) {}

TextLineReader::TextLineReader(Source& source, size_t chunkBytes)
    : final_(false),
      source_(&source),
      window_(std::make_unique_for_overwrite<char[]>(std::max<size_t>(chunkBytes, 1))),
      windowSize_(std::max<size_t>(chunkBytes, 1)) {
  pos_ = end_ = window_.get();
}

void TextLineReader::Refill(const char*& keep) {
  const size_t kept = static_cast<size_t>(end_ - keep);
  if (kept == windowSize_) {
    // Only a plain field longer than the window fills it (an escaped one
    // is decoded as it goes), so the window grows to the longest field.
    auto wider = std::make_unique_for_overwrite<char[]>(windowSize_ * 2);
    std::memcpy(wider.get(), keep, kept);
    window_ = std::move(wider);
    windowSize_ *= 2;
  } else if (kept > 0) {
    std::memmove(window_.get(), keep, kept);
  }
  char* const fresh = window_.get() + kept;
  size_t got = 0;
  while (kept + got < windowSize_) {
    const size_t n = source_->Read(fresh + got, windowSize_ - kept - got);
    if (n == 0) {
      final_ = true;
      break;
    }
    got += n;
  }
  keep = window_.get();
  end_ = fresh + got;
  pending_ = 0;
}

uint8_t TextLineReader::DecodeEscape(char first, char second) {
  const char chars[2] = {first, second};
  int i = 0;
  while (i < 2 && IsCSpace(chars[i])) ++i;
  bool negative = false;
  if (i < 2 && (chars[i] == '+' || chars[i] == '-')) negative = chars[i++] == '-';
  int value = 0;
  for (int digit; i < 2 && (digit = HexDigit(chars[i])) >= 0; ++i) value = value * 16 + digit;
  if (negative) value = -value;
  return static_cast<uint8_t>(value & 0xFF);
}

bool TextLineReader::ReadFieldSlowly(std::string_view& field) {
  // Most fields that come here only run past the block already scanned (or
  // start after it): scan the 64 bytes from the field's start.
  if (const char* p = pos_; end_ - p >= 65) {
    p += *p == '\n';
    if (!(ClassOf(*p) & kLead)) {
      const uint64_t bits = SeparatorBits(p);
      if (bits != 0) {
        const char* stop = p + std::countr_zero(bits);
        fieldInScratch_ = false;
        field = std::string_view(p, static_cast<size_t>(stop - p));
        pos_ = stop + 1;
        blockStart_ = p;
        pending_ = bits & (bits - 1);
        return true;
      }
    }
  }
  pending_ = 0;  // pos_ moves by other means from here on
  for (;;) {
    if (atEnd_) return ReachEnd();
    const char* p = pos_;
    while (p < end_ && (ClassOf(*p) & kLead)) ++p;
    EndAtEndOfFile(p);
    if (p == end_) {
      if (final_) return ReachEnd();
      pos_ = p;
      Refill(pos_);
      continue;
    }
    const char* start = p;
    const char* limit = static_cast<size_t>(end_ - start) > kMaxFieldLength ? start + kMaxFieldLength : end_;
    p = FindStop(p, limit);
    if (p < limit && *p == '%') return ReadEscapedField(start, p, field);
    // Also past a full field: the byte that would be dropped may end the input.
    EndAtEndOfFile(p);
    if (p == end_ && !final_) {
      // The field may go on past the window: read it again from its start.
      pos_ = start;
      Refill(pos_);
      continue;
    }
    fieldInScratch_ = false;
    field = std::string_view(start, static_cast<size_t>(p - start));
    // Stopped at a separator or at the length limit: either way that byte goes.
    pos_ = p < end_ ? p + 1 : p;
    return true;
  }
}

bool TextLineReader::ReachEnd() {
  pos_ = end_;
  atEnd_ = true;
  pending_ = 0;  // the fast path of ReadField must not go on
  return false;
}

bool TextLineReader::ReadEscapedField(const char* start, const char* p, std::string_view& field) {
  scratch_.assign(start, p);
  size_t length = scratch_.size();
  for (;;) {
    EndAtEndOfFile(p);
    if (p == end_) {
      if (final_) break;
      // What is decoded so far is in scratch_; the window need keep nothing.
      Refill(p);
      continue;
    }
    if (length == kMaxFieldLength) {
      ++p;
      break;
    }
    const char c = *p;
    if (IsSeparator(c)) {
      ++p;
      break;
    }
    if (c == '%') {
      if (end_ - p < 3 && !final_) {
        Refill(p);
        continue;
      }
      // The end-of-file byte among the two characters cuts them off.
      if (end_ - p < 3 || IsSeparator(p[1]) || IsSeparator(p[2]) || p[1] == kEndOfFile || p[2] == kEndOfFile)
        return ReachEnd();
      scratch_.push_back(static_cast<char>(DecodeEscape(p[1], p[2])));
      p += 3;
    } else {
      // Copy the run up to the next special byte in one go.
      const char* run = p;
      const size_t room = kMaxFieldLength - length;
      const char* limit = static_cast<size_t>(end_ - run) > room ? run + room : end_;
      p = FindStop(p, limit);
      scratch_.append(run, p);
      length += static_cast<size_t>(p - run);
      continue;
    }
    ++length;
  }
  pos_ = p;
  fieldInScratch_ = true;
  field = scratch_;
  return true;
}

bool TextLineReader::SkipBlock(std::string_view opening) {
  // The opening field may live in scratch_, which the next read overwrites.
  std::string closing(opening);
  if (!closing.empty()) closing[0] = '-';
  std::string_view field;
  while (ReadField(field))
    if (field == closing) return true;
  return false;
}

}  // namespace zanli
