#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/first_match_index.h"
#include "fileio/text_library_budget.h"
#include "fileio/text_library_sink.h"
#include "fileio/text_line_reader.h"
#include "model/library.h"
#include "model/limits.h"

namespace zanli {

// Parses the blocks of a text library into a fresh Library, or hands its
// parts and aliases to a TextLibrarySink as it reads them (SendTo). Used
// once per read; on failure the library holds whatever was complete so far
// and the caller drops it. What it builds is charged to a TextLibraryBudget,
// the same with a sink, so that both refuse the same texts.
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

  enum class Status { Ok, Malformed, OverBudget, Stopped };

  // Over bytes in memory, which must outlive the reader.
  TextLibraryReader(std::string_view bytes, Library& library);
  // Over a source of `inputBytes` bytes (what the budget allows for),
  // read a window of about `chunkBytes` at a time.
  TextLibraryReader(TextLineReader::Source& source, size_t inputBytes, Library& library,
                    size_t chunkBytes = TextLineReader::kChunkBytes);

  // Before Read: parts and aliases go to `sink` as they are read, and the
  // library gets only the patterns. Stopped when the sink stops the read.
  void SendTo(TextLibrarySink& sink);

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
  // The entry, of its own body (`part` none) or of the one of entry `part`.
  bool AddEntry(std::string name, PartBody* body, size_t part = kNoPart);
  // A name the sink's entries keep for the index, which their library would hold.
  std::string_view KeepName(std::string_view name);
  // Charges the budget; false (and overBudget_ set) once it is spent.
  bool Spend(size_t bytes);

  TextLineReader lines_;
  Library& library_;
  TextLibraryBudget budget_;
  bool overBudget_ = false;
  bool trailerLast_ = false;
  static constexpr size_t kNoPart = static_cast<size_t>(-1);

  // The first pattern and the part (the first entry naming its body) of the
  // first entry of each name read so far: a later duplicate never shadows
  // the first one.
  FirstMatchIndex<std::string_view, Pattern*> patternsByName_;
  FirstMatchIndex<std::string_view, size_t> partsByName_;
  size_t entryCount_ = 0;
  // With a sink: the one body each part is read into in turn, and the
  // entries' names, in blocks that never move.
  TextLibrarySink* sink_ = nullptr;
  bool stopped_ = false;
  std::unique_ptr<PartBody> scratchBody_;
  std::vector<std::unique_ptr<char[]>> nameBlocks_;
  char* nameFree_ = nullptr;
  size_t nameRoom_ = 0;
  std::vector<std::unique_ptr<PinInfo>> pins_;  // of the part being read
  // The numbers of the pin being read once they outgrow the pin's own room,
  // one after the other, and where each ends: the pin takes them at its end.
  std::string numberText_;
  std::vector<size_t> numberEnds_;
  std::vector<std::string_view> numberViews_;
};

}  // namespace zanli
