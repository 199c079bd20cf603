#include "app/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSettings>
#include <QUndoStack>

#include "app/about_dialog.h"
#include "app/document_command.h"
#include "app/part_clipboard.h"
#include "app/part_list_box.h"
#include "app/part_view.h"
#include "app/pin_panel.h"
#include "app/pin_table_window.h"

// The icons are compiled into the static app library; a static library's
// resources register only when asked to.
static void InitEditorResources() { Q_INIT_RESOURCE(zanli); }

namespace zanli {

MainWindow::MainWindow(QWidget* parent)
    : CommandWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
  InitEditorResources();
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(QStringLiteral("Zanli"));
  setSizeGripEnabled(false);
  undoStack_ = new QUndoStack(this);
  CreateControls();
  CreateMenu();
  document_.AddObserver(this);

  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/zanli_128.png"));
  icon.addFile(QStringLiteral(":/icons/zanli_134.png"));
  setWindowIcon(icon);
  UpdateTitle();

  // The list and the view queue their notifications, so these answers run
  // after the child's own handling has finished.
  connect(partList_, &PartListBox::selectionChanged, this, &MainWindow::OnListSelectionChanged);
  connect(partList_, &PartListBox::moveRequested, this, &MainWindow::OnListMoveRequested);
  connect(partView_, &PartView::cursorMoved, this, &MainWindow::OnViewCursorMoved);
  connect(pinPanel_, &PinPanel::editRequested, this, &MainWindow::OnPinEditRequested);
  connect(pinPanel_, &PinPanel::blockChanged, this, &MainWindow::OnPinBlockChanged);
  connect(pinPanel_, &PinPanel::cancelRequested, this, &MainWindow::reject);
  connect(undoStack_, &QUndoStack::cleanChanged, this, [this](bool clean) { setWindowModified(!clean); });
  connect(undoStack_, &QUndoStack::indexChanged, this, &MainWindow::UpdateUndoTexts);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now == partList_) CheckClipboard();
    UpdateCommandStates();
  });
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &MainWindow::CheckClipboard);
  WatchEvents();
  RestorePartViewZoom();

  // The window starts at its layout size, which is also its smallest, or
  // where and as large as the user last left it.
  StartAtLayoutSize();
  restoreGeometry(QSettings().value(QStringLiteral("mainWindow/geometry")).toByteArray());
  LayoutChildren();
  UpdateRecentMenu();

  ShowPinAtCursor();
  UpdateUndoTexts();
  CheckClipboard();
  partList_->setFocus();
}

MainWindow::~MainWindow() {
  QSettings().setValue(QStringLiteral("mainWindow/geometry"), saveGeometry());
  StorePartViewZoom();
  // Hiding the dialog below moves the focus; this object is half gone by then.
  StopWatchingEvents();
  disconnect(qApp, nullptr, this, nullptr);
  document_.RemoveObserver(this);
  // The steps hold parts of the library; the views must not outlive either.
  undoStack_->clear();
  partView_->SetPart(nullptr);
  partList_->SetDocument(nullptr);
}

void MainWindow::CheckClipboard() {
  clipboardOffersPart_ = PartClipboard::Offers(QApplication::clipboard()->mimeData());
  UpdateCommandStates();
}

bool MainWindow::IsModified() const { return !undoStack_->isClean(); }

void MainWindow::UpdateTitle() {
  // Qt shows the placeholder as "*" while the window is marked modified.
  setWindowTitle(QStringLiteral("Zanli - ") +
                 QFile::decodeName(QByteArray::fromStdString(library().fileTitle)) + QStringLiteral("[*]"));
  setWindowModified(IsModified());
}

void MainWindow::MarkBodyRows(int row) { partList_->MarkBody(partList_->GetItemBody(row)); }

void MainWindow::ShowPart(int row) {
  PartBody* body = document_.BodyOf(row);
  cursor_ = PinCursor{body != nullptr ? row : -1};
  partView_->SetPart(body);
  ShowPinAtCursor();
}

void MainWindow::PlaceCursor(PinEdge edge, int32_t position) {
  partView_->SetCursor(edge, position);
  partView_->ScrollIntoView(edge, position);
  cursor_.edge = partView_->CursorEdge();
  cursor_.position = partView_->CursorPosition();
  ShowPinAtCursor();
}

void MainWindow::FollowEntryRows() {
  const PartBody* shown = partView_->Part();
  const int selected = partList_->GetCurSel();
  if (shown == nullptr || document_.BodyOf(selected) == shown)
    cursor_.row = shown != nullptr ? selected : -1;
  else
    // The view must never draw a body that left the library; the step that
    // removed it shows the new selection right after.
    ShowPart(-1);
}

void MainWindow::CommitStep(EditResult result, bool show, int block) {
  if (result.status != EditStatus::Done || !result.change) return;
  const DocumentFocus focus = result.change->redoFocus();
  undoStack_->push(new DocumentCommand(document_, std::move(result.change),
                                       [this, block](const DocumentFocus& f) { ApplyFocus(f, block); }));
  if (show) ApplyFocus(focus, block);
}

void MainWindow::ApplyFocus(const DocumentFocus& focus, int block) {
  if (focus.row) {
    const int row = *focus.row < partList_->GetCount() ? *focus.row : partList_->GetCount() - 1;
    partList_->SetCurSel(row);
    partList_->EnsureVisible(row);
    MarkBodyRows(row);
    ShowPart(row);
    if (focus.hasPin && partView_->Part()) {
      if (block > 0) {
        partView_->SetBlock(block - 1);
        cursor_.block = partView_->GetBlock();
      }
      PlaceCursor(focus.edge, focus.position);
    }
  } else {
    // The selection stays; what it shows may have changed.
    partView_->viewport()->update();
    ShowPinAtCursor();
  }
  UpdateCommandStates();
}

void MainWindow::EntryInserted(int row) {
  partList_->EntryInserted(row);
  FollowEntryRows();
}

void MainWindow::EntryRemoved(int row) {
  partList_->EntryRemoved(row);
  FollowEntryRows();
}

void MainWindow::EntryMoved(int from, int to) {
  partList_->EntryMoved(from, to);
  FollowEntryRows();
}

void MainWindow::EntryRenamed(int row) { partList_->EntryRenamed(row); }

void MainWindow::PinChanged(const PartBody* body, PinEdge edge, int32_t position) {
  if (body == partView_->Part()) partView_->InvalidatePin(edge, position);
  if (pinTable_) pinTable_->BodyChanged(body);
}

void MainWindow::BodyChanged(const PartBody* body) {
  if (body == partView_->Part()) partView_->viewport()->update();
  if (pinTable_) pinTable_->BodyChanged(body);
}

void MainWindow::PatternsChanged() { partView_->viewport()->update(); }

void MainWindow::LibraryReplaced() {
  // Another library starts unfiltered.
  filterField_->blockSignals(true);
  filterField_->clear();
  filterField_->blockSignals(false);
  if (checkDialog_ != nullptr) checkDialog_->LibraryChanged();
  if (pinTable_) pinTable_->LibraryReplaced();
  partList_->ResetView();
  if (partList_->GetCount() > 0) {
    partList_->SetCurSel(0);
    MarkBodyRows(0);
  }
  ShowPart(0);
  UpdateTitle();
  update();
  UpdateCommandStates();
}

void MainWindow::OnListSelectionChanged() {
  const int row = partList_->GetCurSel();
  MarkBodyRows(row);
  ShowPart(row);
  UpdateCommandStates();
}

void MainWindow::ShowSelectedRow() {
  partList_->EnsureVisible(partList_->GetCurSel());
  OnListSelectionChanged();
}

bool MainWindow::TakeFilterKey(QObject* watched, QEvent* event) {
  if (watched != filterField_ || event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  switch (key->key()) {
    case Qt::Key_Escape:
      // Not the dialog's Esc, which would drop the pin edit.
      if (filterField_->text().isEmpty())
        partList_->setFocus(Qt::OtherFocusReason);
      else
        filterField_->clear();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
    case Qt::Key_PageDown:
      partList_->setFocus(Qt::OtherFocusReason);
      return true;
    default:
      return false;
  }
}

void MainWindow::OnListMoveRequested(int from, int to) { CommitStep(document_.MoveEntry(from, to)); }

void MainWindow::OnViewCursorMoved() {
  cursor_.edge = partView_->CursorEdge();
  cursor_.position = partView_->CursorPosition();
  ShowPinAtCursor();
}

void MainWindow::OnPinBlockChanged(int block) {
  partView_->SetBlock(block);
  cursor_.block = partView_->GetBlock();
}

void MainWindow::OnPinEditRequested(const std::optional<PinData>& pin) {
  EditResult result = document_.EditPin(cursor_.row, cursor_.edge, cursor_.position, pin);
  if (result.status == EditStatus::Refused) QApplication::beep();
  CommitStep(std::move(result), false, cursor_.block + 1);
  partView_->setFocus();
}

void MainWindow::CancelPinChange() {
  if (partView_->Part() == nullptr) return;
  ShowPinAtCursor();
  partView_->setFocus();
}

void MainWindow::InsertBlankPin() {
  if (partView_->Part() == nullptr) return;
  EditResult result = document_.InsertBlankPin(cursor_.row, cursor_.edge, cursor_.position);
  if (result.status == EditStatus::Refused) {
    // A pin on the last position of the edge has nowhere to go.
    QApplication::beep();
    return;
  }
  CommitStep(std::move(result));
  ShowPinAtCursor();
}

void MainWindow::DeletePinAndCloseUp() {
  if (partView_->Part() == nullptr) return;
  CommitStep(document_.DeletePinAndCloseUp(cursor_.row, cursor_.edge, cursor_.position));
  ShowPinAtCursor();
}

void MainWindow::accept() { pinPanel_->UpdatePin(); }

void MainWindow::reject() {
  if (closing_) QDialog::reject();
  CancelPinChange();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closing_) {
    QDialog::closeEvent(event);
    return;
  }
  if (!SaveModified()) {
    event->ignore();
    return;
  }
  closing_ = true;
  // Ends the dialog through the Cancel command, as every close does.
  reject();
  event->accept();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) { event->accept(); }

void MainWindow::ShowAbout() {
  AboutDialog about(this);
  RunModal(about);
}

}  // namespace zanli
