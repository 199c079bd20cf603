#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "document/document_edit.h"
#include "model/pin_info.h"

namespace zanli {

class LibraryDocument;

// What a step is, for the name the editor gives it in its menu.
enum class StepKind {
  EditPin,
  InsertBlankPin,
  DeletePin,
  MoveEntry,
  AddPart,
  RenameEntry,
  AddAlias,
  DeleteEntry,
  CutEntry,
  PastePart,
  SetAttributes,
  EditPatterns,
  InsertPart,
  ImportKicad,
  AdoptSaved,
  MovePin,
  DeletePins,
  InsertPinRow,
  PastePins,
  AddPartFromPins,
};
constexpr int kStepKindCount = static_cast<int>(StepKind::AddPartFromPins) + 1;

// The step's short name as the Edit menu shows it ("元に戻す - %1"), UTF-8.
const char* StepName(StepKind kind);

// Where the views go after a step is undone or redone: the entry to select
// (none: leave the selection; -1: no entry) and, for pin steps, the pin
// position to put the cursor on.
struct DocumentFocus {
  std::optional<int> row;
  bool hasPin = false;
  PinEdge edge = PinEdge::Left;
  int32_t position = 0;
};

// One undoable step: the edits a document operation made, already applied.
// It keeps only what its edits hold (the old pin, the removed entry and its
// body, ...), so a step costs memory in proportion to what it touched.
class DocumentChange {
 public:
  DocumentChange(StepKind kind, std::vector<DocumentEdit> edits, DocumentFocus undoFocus,
                 DocumentFocus redoFocus);

  void Undo(LibraryDocument& document);
  void Redo(LibraryDocument& document);

  StepKind kind() const { return kind_; }
  const DocumentFocus& undoFocus() const { return undoFocus_; }
  const DocumentFocus& redoFocus() const { return redoFocus_; }

 private:
  StepKind kind_;
  std::vector<DocumentEdit> edits_;
  DocumentFocus undoFocus_;
  DocumentFocus redoFocus_;
};

}  // namespace zanli
