// The library checker: its window, and showing a problem's part and pin.
#include "app/library_check_dialog.h"
#include "app/main_window.h"
#include "app/part_list_box.h"
#include "app/part_view.h"
#include "app/pin_panel.h"
#include "check/library_check.h"
#include "fileio/library_file.h"

namespace zanli {

void MainWindow::CheckLibrary() {
  if (checkDialog_ == nullptr) {
    checkDialog_ = new LibraryCheckDialog(this, [this] {
      const Library& library = document_.library();
      return LibraryCheck::Run(library, LibraryFile::FormatOf(library.filePath));
    });
    connect(checkDialog_, &LibraryCheckDialog::problemActivated, this, &MainWindow::ShowProblem);
  } else {
    checkDialog_->Refresh();
  }
  checkDialog_->show();
  checkDialog_->raise();
  checkDialog_->activateWindow();
}

void MainWindow::ShowProblem(const CheckProblem& problem) {
  // The list may be older than the library: a row that is gone shows nothing.
  if (!problem.HasEntry() || problem.entryIndex >= static_cast<size_t>(partList_->GetCount())) return;
  const int row = static_cast<int>(problem.entryIndex);
  partList_->SetCurSel(row);
  partList_->EnsureVisible(row);
  MarkBodyRows(row);
  ShowPart(row);
  if (problem.HasPin()) {
    if (problem.block > 0) {
      partView_->SetBlock(problem.block - 1);
      cursor_.block = partView_->GetBlock();
    }
    PlaceCursor(problem.pinEdge, problem.pinPosition);
  }
  UpdateCommandStates();
}

}  // namespace zanli
