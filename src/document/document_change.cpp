#include "document/document_change.h"

#include <utility>

namespace zanli {

DocumentChange::DocumentChange(StepKind kind, std::vector<DocumentEdit> edits, DocumentFocus undoFocus,
                               DocumentFocus redoFocus)
    : kind_(kind), edits_(std::move(edits)), undoFocus_(undoFocus), redoFocus_(redoFocus) {}

void DocumentChange::Undo(LibraryDocument& document) {
  for (auto it = edits_.rbegin(); it != edits_.rend(); ++it) it->Apply(document);
}

void DocumentChange::Redo(LibraryDocument& document) {
  for (auto& edit : edits_) edit.Apply(document);
}

}  // namespace zanli
