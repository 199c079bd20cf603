#include "app/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QIcon>
#include <QSettings>
#include <QUndoStack>

#include "app/about_dialog.h"
#include "app/document_command.h"
#include "app/part_clipboard.h"
#include "app/part_list_box.h"
#include "app/part_view.h"
#include "app/pin_panel.h"

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
  connect(pinPanel_, &PinPanel::updateRequested, this, &MainWindow::accept);
  connect(pinPanel_, &PinPanel::cancelRequested, this, &MainWindow::reject);
  connect(undoStack_, &QUndoStack::cleanChanged, this, [this](bool clean) { setWindowModified(!clean); });
  connect(undoStack_, &QUndoStack::indexChanged, this, &MainWindow::UpdateUndoTexts);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now == partList_) CheckClipboard();
    UpdateCommandStates();
  });
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &MainWindow::CheckClipboard);
  qApp->installEventFilter(this);
  RestorePartViewZoom();

  // The window starts at its layout size, which is also its smallest, or
  // where and as large as the user last left it.
  resize(minimumSizeHint().expandedTo(sizeHint()));
  setMinimumSize(size());
  restoreGeometry(QSettings().value(QStringLiteral("mainWindow/geometry")).toByteArray());
  LayoutChildren();
  UpdateRecentMenu();

  partView_->SetCursor(PinEdge::Left, 0);
  pinPanel_->UpdateBlockBox();
  pinPanel_->ShowPinAtCursor();
  UpdateUndoTexts();
  CheckClipboard();
  partList_->setFocus();
}

MainWindow::~MainWindow() {
  QSettings().setValue(QStringLiteral("mainWindow/geometry"), saveGeometry());
  StorePartViewZoom();
  // Hiding the dialog below moves the focus; this object is half gone by then.
  qApp->removeEventFilter(this);
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

void MainWindow::ShowPart(PartBody* body) {
  partView_->SetPart(body);
  pinPanel_->UpdateBlockBox();
  pinPanel_->ShowPinAtCursor();
}

void MainWindow::CommitStep(EditResult result, bool show) {
  if (result.status != EditStatus::Done || !result.change) return;
  const DocumentFocus focus = result.change->redoFocus();
  undoStack_->push(new DocumentCommand(document_, std::move(result.change),
                                       [this](const DocumentFocus& f) { ApplyFocus(f); }));
  if (show) ApplyFocus(focus);
}

void MainWindow::ApplyFocus(const DocumentFocus& focus) {
  if (focus.row) {
    const int row = *focus.row < partList_->GetCount() ? *focus.row : partList_->GetCount() - 1;
    partList_->SetCurSel(row);
    partList_->EnsureVisible(row);
    MarkBodyRows(row);
    ShowPart(partList_->GetItemBody(row));
    if (focus.hasPin && partView_->Part()) {
      partView_->SetCursor(focus.edge, focus.position);
      partView_->ScrollIntoView(focus.edge, focus.position);
      pinPanel_->ShowPinAtCursor();
    }
  } else {
    // The selection stays; what it shows may have changed.
    partView_->viewport()->update();
    pinPanel_->ShowPinAtCursor();
  }
  UpdateCommandStates();
}

void MainWindow::EntryInserted(int row) { partList_->EntryInserted(row); }

void MainWindow::EntryRemoved(int row) {
  partList_->EntryRemoved(row);
  // The view must never draw a body that left the library; the step that
  // removed it shows the new selection right after.
  const PartBody* shown = partView_->Part();
  if (shown && partList_->GetItemBody(partList_->GetCurSel()) != shown) ShowPart(nullptr);
}

void MainWindow::EntryMoved(int from, int to) { partList_->EntryMoved(from, to); }

void MainWindow::EntryRenamed(int row) { partList_->EntryRenamed(row); }

void MainWindow::PinChanged(const PartBody* body, PinEdge edge, int32_t position) {
  if (body == partView_->Part()) partView_->InvalidatePin(edge, position);
}

void MainWindow::BodyChanged(const PartBody* body) {
  if (body == partView_->Part()) partView_->viewport()->update();
}

void MainWindow::PatternsChanged() { partView_->viewport()->update(); }

void MainWindow::LibraryReplaced() {
  partList_->ResetView();
  if (partList_->GetCount() > 0) {
    partList_->SetCurSel(0);
    MarkBodyRows(0);
  }
  ShowPart(partList_->GetItemBody(0));
  UpdateTitle();
  update();
  UpdateCommandStates();
}

void MainWindow::OnListSelectionChanged() {
  const int row = partList_->GetCurSel();
  MarkBodyRows(row);
  ShowPart(row >= 0 ? partList_->GetItemBody(row) : nullptr);
  UpdateCommandStates();
}

void MainWindow::OnListMoveRequested(int from, int to) { CommitStep(document_.MoveEntry(from, to)); }

void MainWindow::OnViewCursorMoved() { pinPanel_->ShowPinAtCursor(); }

void MainWindow::accept() { pinPanel_->UpdatePin(); }

void MainWindow::reject() {
  if (closing_) QDialog::reject();
  pinPanel_->CancelPinChange();
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
