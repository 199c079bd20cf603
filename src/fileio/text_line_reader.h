#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zanli {

// Splits the bytes of a text library into fields.
//
// A field ends at a comma, CR or LF, which is consumed. Tabs, spaces, CRs and
// LFs before a field are skipped, so ",," yields an empty field while a line
// break after a comma does not. "%" and two characters stand for one byte. A
// field holds at most kMaxFieldLength bytes; the byte after a full field is
// consumed (dropped unless it is the separator). A 0x1A byte ends the input,
// as text-mode reading does.
//
// The bytes come either all at once from memory or piece by piece from a
// Source, of which the reader holds a window: the field being read and the
// bytes after it. A file is then never held whole while its library is
// built, and both ways give the same fields.
class TextLineReader {
 public:
  static constexpr size_t kMaxFieldLength = 32768;
  // What the reader asks of a source at a time, and so about what it holds.
  static constexpr size_t kChunkBytes = size_t{64} << 10;

  // The bytes of an input that is not in memory.
  class Source {
   public:
    virtual ~Source() = default;
    // Up to `size` further bytes into `out`; how many. 0 means the input has
    // ended (or failed, which the source keeps to itself to tell later).
    virtual size_t Read(char* out, size_t size) = 0;
  };

  // `input` must outlive the reader.
  explicit TextLineReader(std::string_view input);
  // Reads `source` (which must outlive the reader) `chunkBytes` at a time; a
  // field longer than that widens the window.
  explicit TextLineReader(Source& source, size_t chunkBytes = kChunkBytes);
  TextLineReader(const TextLineReader&) = delete;
  TextLineReader& operator=(const TextLineReader&) = delete;

  // The next field with its escapes decoded, or false at the end of the input.
  // The view stays valid until the next call. An escape whose two characters
  // hold a separator or run past the end ends the input: that field and all
  // that follow are lost. Once the end is reported it stays reported.
  inline bool ReadField(std::string_view& field);

  // Reads fields until one equals `opening` with its first byte replaced by
  // '-'. There is no nesting count: the first matching field ends the skip.
  // False when the input ends first.
  bool SkipBlock(std::string_view opening);

  // The byte an escape's two characters stand for: they are read as a base-16
  // integer the way the C library does (leading white space and a sign
  // allowed, stopping at the first non-digit, no digits giving 0), and the low
  // 8 bits are kept.
  static uint8_t DecodeEscape(char first, char second);

 private:
  // Byte classes: kStop ends the plain run of a field (a separator or an
  // escape), kLead is skipped before a field.
  static constexpr uint8_t kStop = 1;
  static constexpr uint8_t kLead = 2;
  static uint8_t ClassOf(char c);

  bool ReadEscapedField(const char* start, const char* escape, std::string_view& field);
  bool ReachEnd();
  // Moves the bytes from `keep` to the end of the window to its front (a
  // full window grows), points `keep` at them and fills the window behind
  // them. Once the source ends, the window holds the rest of the input.
  void Refill(const char*& keep);

  const char* pos_;
  const char* end_;
  bool atEnd_ = false;
  // The window ends where the input does: nothing more to read.
  bool final_ = true;
  Source* source_ = nullptr;
  std::unique_ptr<char[]> window_;
  size_t windowSize_ = 0;
  std::string scratch_;  // decoded text of a field that holds escapes
};

namespace text_line_detail {

constexpr std::array<uint8_t, 256> MakeByteClasses(uint8_t stop, uint8_t lead) {
  std::array<uint8_t, 256> classes{};
  classes[','] = stop;
  classes['%'] = stop;
  classes['\r'] = stop | lead;
  classes['\n'] = stop | lead;
  classes[' '] = lead;
  classes['\t'] = lead;
  return classes;
}

}  // namespace text_line_detail

inline uint8_t TextLineReader::ClassOf(char c) {
  static constexpr std::array<uint8_t, 256> kClasses = text_line_detail::MakeByteClasses(kStop, kLead);
  return kClasses[static_cast<uint8_t>(c)];
}

// Inline: this runs once per field and most fields are a few plain bytes.
bool TextLineReader::ReadField(std::string_view& field) {
  for (;;) {
    if (atEnd_) return ReachEnd();
    const char* p = pos_;
    while (p < end_ && (ClassOf(*p) & kLead)) ++p;
    if (p == end_) {
      if (final_) return ReachEnd();
      pos_ = p;
      Refill(pos_);
      continue;
    }
    const char* start = p;
    const char* limit = static_cast<size_t>(end_ - start) > kMaxFieldLength ? start + kMaxFieldLength : end_;
    while (p < limit && !(ClassOf(*p) & kStop)) ++p;
    if (p < limit && *p == '%') return ReadEscapedField(start, p, field);
    if (p == end_ && !final_) {
      // The field may go on past the window: read it again from its start.
      pos_ = start;
      Refill(pos_);
      continue;
    }
    field = std::string_view(start, static_cast<size_t>(p - start));
    // Stopped at a separator or at the length limit: either way that byte goes.
    pos_ = p < end_ ? p + 1 : p;
    return true;
  }
}

}  // namespace zanli
