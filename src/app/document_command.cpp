#include "app/document_command.h"

#include "document/library_document.h"

namespace zanli {

DocumentCommand::DocumentCommand(LibraryDocument& document, std::unique_ptr<DocumentChange> change,
                                 FocusHandler onFocus)
    : document_(document), change_(std::move(change)), onFocus_(std::move(onFocus)) {
  setText(StepName(change_->kind()));
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

QString DocumentCommand::StepName(StepKind kind) {
  switch (kind) {
    case StepKind::EditPin:
      return QStringLiteral("ﾋﾟﾝの変更");
    case StepKind::InsertBlankPin:
      return QStringLiteral("空白ﾋﾟﾝの挿入");
    case StepKind::DeletePin:
      return QStringLiteral("ﾋﾟﾝの削除");
    case StepKind::MoveEntry:
      return QStringLiteral("部品の移動");
    case StepKind::AddPart:
      return QStringLiteral("新しい部品");
    case StepKind::RenameEntry:
      return QStringLiteral("部品名の変更");
    case StepKind::AddAlias:
      return QStringLiteral("新しい別名");
    case StepKind::DeleteEntry:
      return QStringLiteral("部品の削除");
    case StepKind::CutEntry:
      return QStringLiteral("部品の切り取り");
    case StepKind::PastePart:
      return QStringLiteral("部品の貼り付け");
    case StepKind::SetAttributes:
      return QStringLiteral("部品のｱﾄﾘﾋﾞｭｰﾄ");
    case StepKind::EditPatterns:
      return QStringLiteral("ﾊﾟﾀｰﾝの編集");
  }
  return QString();
}

}  // namespace zanli
