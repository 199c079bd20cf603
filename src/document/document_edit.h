#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

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

// The plain attributes of a body; the block count has an edit of its own
// because it reshapes every pin's numbers.
struct BodyAttributes {
  std::string numberPrefix;
  int32_t xSize = 1;
  int32_t ySize = 1;
  Pattern* pattern = nullptr;
};

// One reversible change of a library. Applying an edit performs it and turns
// the edit into its own inverse, so a step undoes by applying its edits
// backwards and redoes by applying them forwards, the same code both ways.
// Objects taken out of the library (an entry, a body, a pattern, a pin) are
// held by the edit, never destroyed, so every pointer that other steps keep
// stays valid for as long as those steps can run.
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
  static DocumentEdit ReplacePin(PartBody* body, int index, std::unique_ptr<PinInfo> pin);
  // Moves every pin on `edge` at `from` or beyond by `delta` positions.
  static DocumentEdit ShiftPins(PartBody* body, PinEdge edge, int32_t from, int32_t delta);
  static DocumentEdit SetAttributes(PartBody* body, BodyAttributes attributes);
  static DocumentEdit SetBlockCount(PartBody* body, int32_t blockCount);

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
    std::unique_ptr<PinInfo> pin;
  };
  struct ShiftPinsData {
    PartBody* body;
    PinEdge edge;
    int32_t from;
    int32_t delta;
  };
  struct AttributesData {
    PartBody* body;
    BodyAttributes attributes;
  };
  // Going forward `numbers` is empty and the count is applied through
  // PartBody::SetBlockCount; going back it holds every pin's old numbers.
  struct BlockCountData {
    PartBody* body;
    int32_t blockCount;
    std::vector<PinNumbers> numbers;
  };
  using Data =
      std::variant<InsertEntryData, RemoveEntryData, MoveEntryData, RenameEntryData, InsertBodyData,
                   RemoveBodyData, InsertPatternData, RemovePatternData, PatternContentData, InsertPinData,
                   RemovePinData, ReplacePinData, ShiftPinsData, AttributesData, BlockCountData>;

  explicit DocumentEdit(Data data) : data_(std::move(data)) {}

  Data data_;
};

}  // namespace zanli
