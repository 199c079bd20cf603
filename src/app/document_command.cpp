#include "app/document_command.h"

#include "document/library_document.h"

namespace zanli {

DocumentCommand::DocumentCommand(LibraryDocument& document, std::unique_ptr<DocumentChange> change,
                                 FocusHandler onFocus)
    : document_(document), change_(std::move(change)), onFocus_(std::move(onFocus)) {
  setText(QString::fromUtf8(StepName(change_->kind())));
}

void DocumentCommand::undo() {
  change_->Undo(document_);
  done_ = false;
  if (onFocus_) onFocus_(change_->undoFocus());
}

void DocumentCommand::redo() {
  if (done_) return;
  change_->Redo(document_);
  done_ = true;
  if (onFocus_) onFocus_(change_->redoFocus());
}

}  // namespace zanli
