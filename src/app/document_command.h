#pragma once

#include <QString>
#include <QUndoCommand>
#include <functional>
#include <memory>

#include "document/document_change.h"

namespace zanli {

class LibraryDocument;

// One step of the editor's history: a document change that is already done
// when it is pushed. Undo and redo run the change and then hand its focus to
// the window, which selects the entry and puts the cursor on the pin.
class DocumentCommand : public QUndoCommand {
 public:
  using FocusHandler = std::function<void(const DocumentFocus&)>;

  DocumentCommand(LibraryDocument& document, std::unique_ptr<DocumentChange> change, FocusHandler onFocus);

  void undo() override;
  void redo() override;

 private:
  LibraryDocument& document_;
  std::unique_ptr<DocumentChange> change_;
  FocusHandler onFocus_;
  bool done_ = true;  // the push's own redo has nothing left to do
};

}  // namespace zanli
