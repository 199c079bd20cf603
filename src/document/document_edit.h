#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "model/library.h"
#include "model/part_body.h"
#include "model/part_entry.h"
#include "model/pattern.h"
#include "model/pin_info.h"

namespace zanli {

class LibraryDocument;

// A pattern's content apart from its identity: bodies point at Pattern
// objects, so an edit swaps the content and keeps the object.
struct PatternContent {
  std::string name;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> bits;
};

// One reversible change of a library. Applying an edit performs it through
// the document's primitives and turns the edit into its own inverse, so a
// step undoes by applying its edits backwards and redoes by applying them
// forwards, the same code both ways. Objects taken out of the library (an
// entry, a body, a pattern, a pin) are held by the edit, never destroyed, so
// every pointer that other steps keep stays valid for as long as those steps
// can run.
class DocumentEdit {
 public:
  static DocumentEdit InsertEntry(int row, std::unique_ptr<PartEntry> entry);
  static DocumentEdit RemoveEntry(int row);
  static DocumentEdit MoveEntry(int from, int to);
  static DocumentEdit RenameEntry(int row, std::string name);
  static DocumentEdit InsertBody(int index, std::unique_ptr<PartBody> body);
  static DocumentEdit RemoveBody(int index);
  static DocumentEdit InsertPattern(int index, std::unique_ptr<Pattern> pattern);
  static DocumentEdit RemovePattern(int index);
  static DocumentEdit SetPatternContent(Pattern* pattern, PatternContent content);
  static DocumentEdit InsertPin(PartBody* body, int index, std::unique_ptr<PinInfo> pin);
  static DocumentEdit RemovePin(PartBody* body, int index);
  // Gives the pin at `index` the name, flags and numbers of `pin`.
  static DocumentEdit ReplacePin(PartBody* body, int index, PinData pin);
  // Moves every pin on `edge` at `from` or beyond by `delta` positions.
  static DocumentEdit ShiftPins(PartBody* body, PinEdge edge, int32_t from, int32_t delta);
  // Gives the body these attributes; a new block count reshapes every pin's
  // numbers as PartBody::SetBlockCount does.
  static DocumentEdit SetAttributes(PartBody* body, PartAttributes attributes);
  // Exchanges the library's patterns, bodies and entries for those of
  // `library` (its file name stays).
  static DocumentEdit SwapContents(std::unique_ptr<Library> library);

  void Apply(LibraryDocument& document);

 private:
  struct InsertEntryData {
    int row;
    std::unique_ptr<PartEntry> entry;
  };
  struct RemoveEntryData {
    int row;
  };
  struct MoveEntryData {
    int from;
    int to;
  };
  struct RenameEntryData {
    int row;
    std::string name;
  };
  struct InsertBodyData {
    int index;
    std::unique_ptr<PartBody> body;
  };
  struct RemoveBodyData {
    int index;
  };
  struct InsertPatternData {
    int index;
    std::unique_ptr<Pattern> pattern;
  };
  struct RemovePatternData {
    int index;
  };
  struct PatternContentData {
    Pattern* pattern;
    PatternContent content;
  };
  struct InsertPinData {
    PartBody* body;
    int index;
    std::unique_ptr<PinInfo> pin;
  };
  struct RemovePinData {
    PartBody* body;
    int index;
  };
  struct ReplacePinData {
    PartBody* body;
    int index;
    PinData pin;
  };
  struct ShiftPinsData {
    PartBody* body;
    PinEdge edge;
    int32_t from;
    int32_t delta;
  };
  // `numbers` is empty until a change of the block count has reshaped the
  // pins' numbers; then it holds their old numbers for the way back.
  struct AttributesData {
    PartBody* body;
    PartAttributes attributes;
    std::vector<PinNumbers> numbers;
  };
  struct ContentsData {
    std::unique_ptr<Library> library;
  };
  using Data =
      std::variant<InsertEntryData, RemoveEntryData, MoveEntryData, RenameEntryData, InsertBodyData,
                   RemoveBodyData, InsertPatternData, RemovePatternData, PatternContentData, InsertPinData,
                   RemovePinData, ReplacePinData, ShiftPinsData, AttributesData, ContentsData>;
  // Performs one kind of edit and answers its inverse.
  struct Perform;

  explicit DocumentEdit(Data data) : data_(std::move(data)) {}

  Data data_;
};

}  // namespace zanli
