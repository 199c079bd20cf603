#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/first_match_index.h"
#include "fileio/text_library_budget.h"
#include "fileio/text_line_reader.h"
#include "model/library.h"
#include "model/limits.h"

namespace zanli {

// Parses the blocks of a text library into a fresh Library. Used once per
// read; on failure the library holds whatever was complete so far and the
// caller drops it. What it builds is charged to a TextLibraryBudget.
//
// Empty values: a field such as "N:" (colon last) is an empty value. Part
// blocks take it ("R:" gives an empty prefix, "N:" an empty name that fails
// the part, "X:" and "B:" read as 0); pattern, pin and alias blocks ignore
// it, so an "M:" takes no block. An empty field (",,") has no colon and is
// ignored everywhere except in a bitmap, where it is an all-blank row.
class TextLibraryReader {
 public:
  static constexpr const char* kHeader = "+VELD3_LIB_V.1.0";
  // Largest pattern or body size and block count taken, the model's: larger
  // values fail the read, which keeps every later width, height and
  // allocation within reach.
  static constexpr int32_t kMaxSize = limits::kMaxSize;
  static constexpr int32_t kMaxBlocks = limits::kMaxBlocks;
  static constexpr const char* kTrailer = "-VELD3_LIB_V.1.0";

  enum class Status { Ok, Malformed, OverBudget };

  // Over bytes in memory, which must outlive the reader.
  TextLibraryReader(std::string_view bytes, Library& library);
  // Over a source of `inputBytes` bytes (what the budget allows for),
  // read a window of about `chunkBytes` at a time.
  TextLibraryReader(TextLineReader::Source& source, size_t inputBytes, Library& library,
                    size_t chunkBytes = TextLineReader::kChunkBytes);

  Status Read();
  // After a successful read: no closing line ends the library. The format
  // does not require one, but its absence is how a cut-off file shows.
  bool MissingTrailer() const { return !trailerLast_; }

  // The leading decimal integer of `text` as the C library reads it (white
  // space, sign, digits, stop at anything else; 0 without digits), clamped to
  // the 32-bit range.
  static int32_t ParseInt(std::string_view text);

 private:
  bool ReadPattern();
  bool ReadBitmap(int32_t width, int32_t height, std::vector<uint8_t>& bits);
  bool ReadPart();
  // Fills `pin`, made with `blocks` empty numbers; adds what its numbers
  // cost to `numberCost`.
  bool ReadPin(int32_t blocks, PinInfo& pin, size_t& numberCost);
  // Gives the pin the numbers of its "M" fields, collected in numberText_.
  void SetNumbers(int32_t blocks, PinInfo& pin);
  bool ReadAlias();
  // The next field inside a block; false at the end of the input. Blocks the
  // caller does not know (any '+' field but `knownBlock`) are skipped, so the
  // caller sees only key fields, closing fields and its own sub-block.
  bool NextField(std::string_view& field, std::string_view knownBlock = {});
  // Skips `field`'s block and those that follow it up to the next other field.
  bool SkipBlocks(std::string_view& field, std::string_view knownBlock);
  bool AddEntry(std::string name, PartBody* body);
  // Charges the budget; false (and overBudget_ set) once it is spent.
  bool Spend(size_t bytes);

  TextLineReader lines_;
  Library& library_;
  TextLibraryBudget budget_;
  bool overBudget_ = false;
  bool trailerLast_ = false;
  // The first pattern and the first entry's body of each name read so far:
  // a later duplicate never shadows the first one.
  FirstMatchIndex<std::string_view, Pattern*> patternsByName_;
  FirstMatchIndex<std::string_view, PartBody*> bodiesByName_;
  std::vector<std::unique_ptr<PinInfo>> pins_;  // of the part being read
  // The numbers of the pin being read once they outgrow the pin's own room,
  // one after the other, and where each ends: the pin takes them at its end.
  std::string numberText_;
  std::vector<size_t> numberEnds_;
  std::vector<std::string_view> numberViews_;
};

}  // namespace zanli
