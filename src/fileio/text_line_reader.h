#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zanli {

// Splits the bytes of a text library into fields.
//
// A field ends at a comma, CR or LF, which is consumed. Tabs, spaces, CRs and
// LFs before a field are skipped, so ",," yields an empty field while a line
// break after a comma does not. "%" and two characters stand for one byte. A
// field holds at most kMaxFieldLength bytes; the byte after a full field is
// consumed (dropped unless it is the separator). A 0x1A byte ends the input,
// as text-mode reading does; it is found by the same scan that finds the
// separators, so the bytes are passed over once.
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

  // Takes the separators of the 64 bytes ahead afresh, so that the fields
  // among them are read without running out of known ones. Running out is
  // a guess the processor gets wrong; a reader about to read a short line
  // of fields calls this where running out would otherwise fall mid-line.
  inline void ScanAhead();

  // How many bytes may be read from `at`, a byte of the field last read, on:
  // a short field can then be copied by a fixed-size move, with no branch on
  // its length. 0 when that field held escapes.
  size_t ReadableFrom(const char* at) const { return fieldInScratch_ ? 0 : static_cast<size_t>(end_ - at); }

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
  // Byte classes: kStop ends the plain run of a field (a separator, an
  // escape or the end-of-file byte), kLead is skipped before a field.
  static constexpr uint8_t kStop = 1;
  static constexpr uint8_t kLead = 2;
  static constexpr char kEndOfFile = 0x1A;
  static uint8_t ClassOf(char c);
  // The first byte in [p, limit) that ends a plain run, or `limit`; reads
  // only within the range.
  static inline const char* FindStop(const char* p, const char* limit);
#if defined(__SSE2__)
  // Bit i set when byte i of the 16 at `p` ends a plain run.
  static inline unsigned StopMask16(const char* p);
#endif
  // The separators among the 64 bytes at `p` (bit i for byte i), found
  // together once so that each field of the block then costs a bit search;
  // only those before the first escape or end-of-file byte, so that the
  // field holding it goes the careful way.
  static inline uint64_t SeparatorBits(const char* p);
  // Makes `p` the end of the input when it holds the end-of-file byte.
  inline void EndAtEndOfFile(const char* p);

  bool ReadEscapedField(const char* start, const char* escape, std::string_view& field);
  bool ReachEnd();
  // ReadField for all but a plain field that starts at once (or after one
  // LF) and ends with a separator inside the block already scanned.
  bool ReadFieldSlowly(std::string_view& field);
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
  std::string scratch_;          // decoded text of a field that holds escapes
  bool fieldInScratch_ = false;  // may be left set while fields are plain
  // The separators of the block at blockStart_ from pos_ on (bit i for
  // byte i of the block), or 0 when none is known; emptied whenever pos_
  // moves by other means or the window moves. Fields are taken off it bit by
  // bit, so finding where the next field starts never waits for the bytes.
  const char* blockStart_ = nullptr;
  uint64_t pending_ = 0;
};

namespace text_line_detail {

constexpr std::array<uint8_t, 256> MakeByteClasses(uint8_t stop, uint8_t lead) {
  std::array<uint8_t, 256> classes{};
  classes[','] = stop;
  classes['%'] = stop;
  classes[0x1A] = stop;
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

#if defined(__SSE2__)
unsigned TextLineReader::StopMask16(const char* p) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i hits = _mm_or_si128(
      _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(',')), _mm_cmpeq_epi8(v, _mm_set1_epi8('%'))),
      _mm_or_si128(
          _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))),
          _mm_cmpeq_epi8(v, _mm_set1_epi8(kEndOfFile))));
  return static_cast<unsigned>(_mm_movemask_epi8(hits));
}
#endif

const char* TextLineReader::FindStop(const char* p, const char* limit) {
#if defined(__SSE2__)
  for (; limit - p >= 16; p += 16)
    if (const unsigned mask = StopMask16(p)) return p + std::countr_zero(mask);
#endif
  while (p < limit && !(ClassOf(*p) & kStop)) ++p;
  return p;
}

uint64_t TextLineReader::SeparatorBits(const char* p) {
  uint64_t separators = 0;
  uint64_t specials = 0;
#if defined(__SSE2__)
  const auto scan16 = [&](int i) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    const __m128i separator = _mm_or_si128(
        _mm_cmpeq_epi8(v, _mm_set1_epi8(',')),
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))));
    const __m128i special =
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('%')), _mm_cmpeq_epi8(v, _mm_set1_epi8(kEndOfFile)));
    separators |= uint64_t{static_cast<unsigned>(_mm_movemask_epi8(separator))} << (16 * i);
    specials |= uint64_t{static_cast<unsigned>(_mm_movemask_epi8(special))} << (16 * i);
  };
  // Written out rather than looped: GCC keeps the loop, with shifts by a
  // variable count, and this runs for every line of pins.
  scan16(0);
  scan16(1);
  scan16(2);
  scan16(3);
#else
  for (int i = 0; i < 64; ++i) {
    separators |= uint64_t{p[i] == ',' || p[i] == '\r' || p[i] == '\n'} << i;
    specials |= uint64_t{p[i] == '%' || p[i] == kEndOfFile} << i;
  }
#endif
  // Every bit below the first special byte (all of them without one).
  return separators & ((specials & (~specials + 1)) - 1);
}

void TextLineReader::EndAtEndOfFile(const char* p) {
  if (p < end_ && *p == kEndOfFile) {
    end_ = p;
    final_ = true;
  }
}

void TextLineReader::ScanAhead() {
  if (end_ - pos_ < 64) return;
  blockStart_ = pos_;
  pending_ = SeparatorBits(pos_);
}

// Inline: this runs once per field and most fields are a few plain bytes
// that end with a separator inside the block whose separators are known.
bool TextLineReader::ReadField(std::string_view& field) {
  // A known separator lies ahead, so the bytes up to it may be read.
  uint64_t bits = pending_;
  if (bits == 0) return ReadFieldSlowly(field);
  const char* p = pos_;
  // The LF of a CR LF, a separator of its own: lines are short, so most
  // fields follow one.
  if (*p == '\n') {
    bits &= bits - 1;
    ++p;
    if (bits == 0) return ReadFieldSlowly(field);
  }
  if (ClassOf(*p) & kLead) return ReadFieldSlowly(field);
  const char* stop = blockStart_ + std::countr_zero(bits);
  field = std::string_view(p, static_cast<size_t>(stop - p));
  pos_ = stop + 1;
  pending_ = bits & (bits - 1);
  return true;
}

}  // namespace zanli
