// The library checker: its window, and showing a problem's part and pin.
#include <QUndoStack>
#include <algorithm>

#include "app/library_check_dialog.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/part_list_box.h"
#include "app/part_view.h"
#include "app/pin_panel.h"
#include "check/library_check.h"
#include "fileio/library_file.h"
#include "resources/check_texts.h"

namespace zanli {

void MainWindow::CheckLibrary() {
  if (checkDialog_ == nullptr) {
    checkDialog_ = new LibraryCheckDialog(this, [this] {
      const Library& library = document_.library();
      return LibraryCheck::Run(library, LibraryFile::FormatOf(library.filePath));
    });
    connect(checkDialog_, &LibraryCheckDialog::problemActivated, this, &MainWindow::ShowProblem);
    // Every change of the library is a step done, undone or redone (or a
    // new library, below).
    connect(undoStack_, &QUndoStack::indexChanged, checkDialog_, &LibraryCheckDialog::LibraryChanged);
  } else {
    checkDialog_->Refresh();
  }
  checkDialog_->show();
  checkDialog_->raise();
  checkDialog_->activateWindow();
}

void MainWindow::ShowProblem(const LibraryCheckDialog::Target& target) {
  if (target.entry == nullptr) return;  // a pattern's problem, or the library's
  const auto& entries = library().entries;
  const auto found = std::find_if(entries.begin(), entries.end(),
                                  [&target](const auto& entry) { return entry.get() == target.entry; });
  if (found == entries.end()) {
    ShowMessageBox(checkDialog_, QMessageBox::Information, QString::fromUtf8(texts::check::kPartGone));
    return;
  }
  const PinInfo* pin = nullptr;
  if (target.pin != nullptr) {
    const PartBody* body = (*found)->body;
    const auto pins = body != nullptr
                          ? std::find_if(body->pins.begin(), body->pins.end(),
                                         [&target](const auto& p) { return p.get() == target.pin; })
                          : decltype(body->pins.begin()){};
    if (body == nullptr || pins == body->pins.end()) {
      ShowMessageBox(checkDialog_, QMessageBox::Information, QString::fromUtf8(texts::check::kPinGone));
      return;
    }
    pin = pins->get();
  }
  const int row = static_cast<int>(found - entries.begin());
  partList_->SetCurSel(row);
  partList_->EnsureVisible(row);
  MarkBodyRows(row);
  ShowPart(row);
  if (pin != nullptr) {
    if (target.block > 0) {
      partView_->SetBlock(target.block - 1);
      cursor_.block = partView_->GetBlock();
    }
    // Where the pin is now: steps since the check may have moved it.
    PlaceCursor(pin->edge, pin->position);
  }
  UpdateCommandStates();
}

}  // namespace zanli
