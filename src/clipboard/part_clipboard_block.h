#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "model/part_body.h"
#include "model/pattern.h"

namespace zanli {

// The private clipboard data block that carries one part between editors:
// a 28-byte header, one record per pin, the pattern record when the body has
// a pattern, then a string area of NUL-terminated strings. Every number is a
// signed 32-bit little-endian integer and every string reference an offset
// from the start of the block.
class PartClipboardBlock {
 public:
  // A part as read from a block. `body->pattern` is left null: the decoded
  // pattern travels beside it so that the paste command can either adopt it
  // or use an equal pattern the library already holds.
  struct Part {
    std::string name;
    std::unique_ptr<PartBody> body;
    std::unique_ptr<Pattern> pattern;  // null when the block has none
  };

  static constexpr size_t kHeaderSize = 28;
  static constexpr size_t kPatternRecordSize = 12;

  // The block for `body` copied under `entryName`. Strings are stored in
  // model form; a string is cut at an embedded NUL, since that is where a
  // reader would end it anyway. Every pin gets exactly blockCount numbers
  // (missing ones are stored empty) and the bitmap exactly height rows of
  // the pattern's stride (missing bytes are stored as 0), so the records
  // always agree with the header. Empty when the block would not fit the
  // 32-bit offsets.
  static std::string Build(std::string_view entryName, const PartBody& body);

  // Decodes a block that comes from another process and so is untrusted.
  // The block is refused as a whole (false; `out` untouched) when an offset,
  // count, size, edge or position is out of range, a record or string does
  // not lie inside the block, or offsets that share strings would decode to
  // more than 16 MiB plus 16 times the block's size (a built block stores
  // every string once; the bound stops a small hostile block from claiming
  // unbounded memory). Bytes after the last string are ignored, since
  // clipboard memory may be rounded up.
  static bool Read(std::string_view block, Part& out);
  // Which rule a refused block breaks.
  enum class Refusal {
    None,
    TooShort,         // shorter than its header
    BodySize,         // a size outside 1..kMaxSize
    BlockCount,       // outside 1..kMaxBlockCount
    PinCount,         // negative, or more pin records than the block holds
    PinEdge,          // a pin's edge outside 0..3
    PinPosition,      // a pin's position outside 0..kMaxSize
    StringOutside,    // a string starts outside the block or has no NUL in it
    StringsTooLarge,  // shared strings decode to more than the bound above
    PatternRecord,    // the pattern record lies outside the block
    PatternSize,      // a pattern side outside 1..kMaxSize
    PatternBitmap,    // the bitmap does not fit in the block
  };
  // The same, saying why in `refusal` when it refuses.
  static bool Read(std::string_view block, Part& out, Refusal& refusal);
  // The rule in the editor's words (UTF-8), for a block of `blockSize` bytes.
  static std::string Why(Refusal refusal, size_t blockSize);

  // Whether two decoded parts carry the same data: name, body fields, pins in
  // order, and the pattern with its bitmap byte for byte, padding included.
  // A block read, built again and read again must give the same content.
  static bool SameContent(const Part& a, const Part& b);
};

}  // namespace zanli
