// The part commands of the Edit menu: new part, rename, new alias, the
// attributes, and delete, cut, copy and paste through the system clipboard.
// Each is one document operation and so one step of the history.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/part_attribute_dialog.h"
#include "app/part_clipboard.h"
#include "app/part_list_box.h"
#include "app/part_name_dialog.h"
#include "app/part_view.h"
#include "clipboard/part_clipboard_block.h"
#include "model/names.h"
#include "model/validity.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/message_texts.h"

namespace zanli {

namespace {

// The message texts keep the CR LF of their originals; a label breaks on LF.
QString MessageText(const char* text) {
  return QString::fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

bool MainWindow::ListHasFocus() const { return partList_->hasFocus() || LastClientFocus() == partList_; }

void MainWindow::NewPart() {
  const int selected = partList_->GetCurSel();
  PartNameDialog dialog(this, UniquePartName(document_.EntryNames()), document_.EntryNames(),
                        QString::fromUtf8(texts::kNewPartCaption));
  if (RunModal(dialog) != QDialog::Accepted) return;
  CommitStep(document_.AddPart(selected, dialog.Name(), selected), true);
}

void MainWindow::RenamePart() {
  const int row = partList_->GetCurSel();
  if (row < 0) return;
  PartNameDialog dialog(this, document_.Entry(row)->name, document_.EntryNames());
  if (RunModal(dialog) != QDialog::Accepted) return;
  // The row keeps its selection, the view and the panel stay as they are.
  CommitStep(document_.RenameEntry(row, dialog.Name()));
}

void MainWindow::NewAlias() {
  const int row = partList_->GetCurSel();
  if (row < 0) return;
  PartNameDialog dialog(this, UniquePartName(document_.EntryNames()), document_.EntryNames(),
                        QString::fromUtf8(texts::kNewAliasCaption));
  if (RunModal(dialog) != QDialog::Accepted) return;
  CommitStep(document_.AddAlias(row, dialog.Name()), true);
}

void MainWindow::EditPartAttributes() {
  const int row = partList_->GetCurSel();
  PartBody* body = partView_->Part();
  if (row < 0 || body == nullptr || document_.BodyOf(row) != body) return;
  PartAttributeDialog dialog(this, body->Attributes(), library().patterns);
  if (RunModal(dialog) != QDialog::Accepted) return;
  CommitStep(document_.SetAttributes(row, dialog.Attributes()));
  // The view starts afresh on the body (cursor at Left 0, first block).
  ShowPart(row);
}

void MainWindow::DeletePart() {
  const int row = partList_->GetCurSel();
  if (row < 0) return;
  CommitRemoval(document_.DeleteEntry(row));
}

void MainWindow::CommitRemoval(EditResult result) {
  // Under a filter the next row in the library may be a hidden one; the
  // list has already moved its selection to the next row it shows.
  const bool filtered = partList_->Filtered();
  CommitStep(std::move(result), !filtered);
  if (filtered) ShowSelectedRow();
}

void MainWindow::CopyPart() {
  const int row = partList_->GetCurSel();
  const PartEntry* entry = document_.Entry(row);
  if (entry == nullptr) return;
  QApplication::clipboard()->setMimeData(PartClipboard::MakeMimeData(entry->name, *entry->body));
}

void MainWindow::CutPart() {
  const int row = partList_->GetCurSel();
  if (row < 0) return;
  CopyPart();
  CommitRemoval(document_.DeleteEntry(row, StepKind::CutEntry));
}

void MainWindow::PastePart() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!PartClipboard::Offers(data)) return;
  const QByteArray block = PartClipboard::Block(data);
  // Another program may have put anything there: the reader decides.
  PartClipboardBlock::Part part;
  PartClipboardBlock::Refusal refusal = PartClipboardBlock::Refusal::None;
  if (!PartClipboardBlock::Read(std::string_view(block.constData(), static_cast<size_t>(block.size())), part,
                                refusal)) {
    ShowMessageBox(
        this, QMessageBox::Warning,
        QString::fromUtf8(texts::kPasteDataDamaged) + QLatin1Char('\n') +
            QString::fromStdString(PartClipboardBlock::Why(refusal, static_cast<size_t>(block.size()))));
    return;
  }
  // Values no library may hold (a pin beyond the last position, a number
  // without its display letter) are damage too; nothing is asked then.
  if (!IsValidBody(*part.body)) {
    ShowMessageBox(this, QMessageBox::Warning, QString::fromUtf8(texts::kPasteDataDamaged));
    return;
  }
  PasteDecodedPart(std::move(part.name), std::move(part.body), std::move(part.pattern));
}

void MainWindow::PasteDecodedPart(std::string name, std::unique_ptr<PartBody> body,
                                  std::unique_ptr<Pattern> pattern) {
  // A name the library holds already, or none at all (which no format could
  // store and read back), makes way for the lowest free default name.
  if (name.empty() || document_.EntryNames().IsNameTaken(name)) {
    const std::string fresh = UniquePartName(document_.EntryNames());
    ShowMessageBox(this, QMessageBox::NoIcon,
                   name.empty() ? MessageText(texts::kPastedPartNamed).arg(ShiftJisCodec::Decode(fresh))
                                : MessageText(texts::kPastedPartRenamed)
                                      .arg(ShiftJisCodec::Decode(name), ShiftJisCodec::Decode(fresh)));
    name = fresh;
  }
  PastedPart pasted;
  pasted.name = std::move(name);
  pasted.body = std::move(body);
  if (pattern) {
    const Pattern* equal = nullptr;
    for (const auto& p : library().patterns)
      if (PatternsEqual(*p, *pattern)) {
        equal = p.get();
        break;
      }
    bool shared = false;
    if (equal) {
      shared = ShowMessageBox(this, QMessageBox::NoIcon, MessageText(texts::kUseExistingPattern),
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    }
    if (shared) {
      pasted.existingPattern = const_cast<Pattern*>(equal);
    } else {
      if (pattern->name.empty() || document_.PatternNames().IsNameTaken(pattern->name)) {
        const std::string fresh = UniquePatternName(document_.PatternNames());
        ShowMessageBox(this, QMessageBox::NoIcon,
                       MessageText(texts::kPastedPatternRenamed)
                           .arg(ShiftJisCodec::Decode(pattern->name), ShiftJisCodec::Decode(fresh)));
        pattern->name = fresh;
      }
      pasted.newPattern = std::move(pattern);
    }
  }
  const int selected = partList_->GetCurSel();
  EditResult result = document_.PastePart(selected, std::move(pasted), selected);
  if (result.status == EditStatus::Refused) {
    ShowMessageBox(this, QMessageBox::Warning, QString::fromUtf8(texts::kPasteDataDamaged));
    return;
  }
  CommitStep(std::move(result), true);
}

}  // namespace zanli
