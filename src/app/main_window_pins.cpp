// The pin table beside the window and new parts made from a pin list.
#include <QApplication>
#include <QClipboard>

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/part_list_box.h"
#include "app/part_name_dialog.h"
#include "app/pin_list_paste_dialog.h"
#include "app/pin_panel.h"
#include "app/pin_table_window.h"
#include "model/names.h"
#include "pinlist/pin_list_edits.h"
#include "qtshared/pin_list_text.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/message_texts.h"
#include "resources/pin_table_texts.h"

namespace zanli {

void MainWindow::ShowPinAtCursor() {
  pinPanel_->ShowPinAtCursor(cursor_);
  if (pinTable_) pinTable_->ShowCursor(cursor_);
}

void MainWindow::ShowPinTable() {
  if (pinTable_ == nullptr) {
    pinTable_ = new PinTableWindow(this, document_, [this](EditResult result) {
      CommitStep(std::move(result));
      // The panel shows what the table changed at the cursor.
      ShowPinAtCursor();
    });
    connect(pinTable_, &PinTableWindow::cursorRequested, this, &MainWindow::PlaceCursor);
    // Beside the window, where there is room.
    pinTable_->move(frameGeometry().topRight() + QPoint(8, 0));
    pinTable_->ShowCursor(cursor_);
  }
  pinTable_->show();
  pinTable_->raise();
  pinTable_->activateWindow();
}

void MainWindow::NewPartFromPins() {
  const QString clipboard = QApplication::clipboard()->text();
  const QString bad = FirstUnstorableInPinList(clipboard);
  if (!bad.isEmpty()) {
    ShowMessageBox(this, QMessageBox::Warning, QString::fromUtf8(texts::kUnstorableCharacter).arg(bad));
    return;
  }
  const int selected = partList_->GetCurSel();
  PartNameDialog names(this, UniquePartName(document_.EntryNames()), document_.EntryNames(),
                       QStringLiteral("新しい部品 (ﾋﾟﾝ一覧から)"));
  if (RunModal(names) != QDialog::Accepted) return;
  const PartBody body;
  PinListPasteDialog paste(this, ShiftJisCodec::Encode(clipboard), body, std::nullopt);
  if (RunModal(paste) != QDialog::Accepted) return;
  EditResult result = AddPartFromPinList(document_, selected, names.Name(), selected, paste.plan());
  if (result.status == EditStatus::Refused) {
    ShowMessageBox(this, QMessageBox::Warning, QString::fromUtf8(texts::kPinListRefused));
    return;
  }
  CommitStep(std::move(result), true);
}

}  // namespace zanli
