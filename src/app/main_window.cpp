#include "app/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>

#include "app/about_dialog.h"
#include "app/part_list_box.h"
#include "app/part_view.h"
#include "app/shift_jis_codec.h"

// The icons are compiled into the static app library; a static library's
// resources register only when asked to.
static void InitEditorResources() { Q_INIT_RESOURCE(zanli); }

namespace zanli {

MainWindow::MainWindow(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
  InitEditorResources();
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(QStringLiteral("Zanli"));
  setSizeGripEnabled(false);
  CreateControls();
  CreateMenu();

  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/zanli_128.png"));
  icon.addFile(QStringLiteral(":/icons/zanli_134.png"));
  setWindowIcon(icon);
  UpdateTitle();

  // Both children queue their notifications, so these answers run after the
  // child's own handling has finished.
  connect(partList, &PartListBox::selectionChanged, this, &MainWindow::OnListSelectionChanged);
  connect(partList, &PartListBox::orderChanged, this, &MainWindow::OnListOrderChanged);
  connect(partView, &PartView::cursorMoved, this, &MainWindow::OnViewCursorMoved);
  connect(blankPinBox_, &QCheckBox::clicked, this, &MainWindow::OnBlankPinClicked);
  for (QCheckBox* box : {nearBodyBox_, clockBox_, negativeLogicBox_})
    connect(box, &QCheckBox::clicked, this, [this, box](bool checked) { OnFlagBoxClicked(box, checked); });
  connect(blockBox_, &QSpinBox::valueChanged, this, &MainWindow::OnBlockChanged);
  connect(pinNumberEdit_, &QLineEdit::textEdited, this, &MainWindow::OnPinNumberEdited);
  connect(updatePinButton_, &QPushButton::clicked, this, &MainWindow::accept);
  connect(cancelPinButton_, &QPushButton::clicked, this, &MainWindow::reject);
  connect(qApp, &QApplication::focusChanged, this, &MainWindow::UpdateCommandStates);
  qApp->installEventFilter(this);

  // The window starts at its layout size, which is also its smallest.
  resize(minimumSizeHint().expandedTo(sizeHint()));
  setMinimumSize(size());
  LayoutChildren();

  partView->SetCursor(PinEdge::Left, 0);
  UpdateBlockBox();
  blankPinBox_->setChecked(true);
  EnablePinFields(true);
  LoadPinFields(nullptr);
  UpdateCommandStates();
  partList->setFocus();
}

MainWindow::~MainWindow() {
  // Hiding the dialog below moves the focus; this object is half gone by then.
  qApp->removeEventFilter(this);
  disconnect(qApp, nullptr, this, nullptr);
  // The children outlive the library by a moment; leave them nothing to use.
  partView->SetPart(nullptr);
  partList->ResetContent();
}

void MainWindow::UpdateTitle() {
  setWindowTitle(QStringLiteral("Zanli - ") +
                 QFile::decodeName(QByteArray::fromStdString(library_.fileTitle)));
}

void MainWindow::MarkBodyRows(int row) {
  const PartBody* body = partList->GetItemBody(row);
  const int count = partList->GetCount();
  for (int i = 0; i < count; ++i) {
    const bool same = body != nullptr && partList->GetItemBody(i) == body;
    partList->SetItemColor(i, same ? QColor(255, 0, 0) : QColor());
  }
}

void MainWindow::ShowPart(PartBody* body) {
  partView->SetPart(body);
  UpdateBlockBox();
  ShowPinAtCursor();
}

void MainWindow::FillPartListFromEntries() {
  partList->SetRedraw(false);
  for (const auto& entry : library_.entries) partList->InsertItem(-1, entry->name, entry->body);
  if (partList->GetCount() > 0) {
    partList->SetCurSel(0);
    MarkBodyRows(0);
    partView->SetPart(partList->GetItemBody(0));
  } else {
    partView->SetPart(nullptr);
  }
  UpdateBlockBox();
  ShowPinAtCursor();
  partList->SetRedraw(true);
  update();
  partList->viewport()->update();
  partView->viewport()->update();
  UpdateCommandStates();
}

void MainWindow::RebuildEntriesFromList() {
  library_.entries.clear();
  const int count = partList->GetCount();
  for (int i = 0; i < count; ++i)
    library_.AddEntry(std::make_unique<PartEntry>(partList->GetItemText(i), partList->GetItemBody(i)));
}

void MainWindow::OnListSelectionChanged() {
  const int row = partList->GetCurSel();
  MarkBodyRows(row);
  ShowPart(row >= 0 ? partList->GetItemBody(row) : nullptr);
  UpdateCommandStates();
}

void MainWindow::OnListOrderChanged() { library_.modified = true; }

void MainWindow::OnViewCursorMoved() { ShowPinAtCursor(); }

void MainWindow::accept() { UpdatePin(); }

void MainWindow::reject() { CancelPinChange(); }

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
  CancelPinChange();
  event->accept();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) { event->accept(); }

void MainWindow::ShowAbout() {
  AboutDialog about(this);
  RunModal(about);
}

int MainWindow::RunModal(QDialog& dialog) {
  const int result = dialog.exec();
  TakeKeyboardOnX();
  return result;
}

void MainWindow::TakeKeyboardOnX() {
  if (QGuiApplication::platformName() == QStringLiteral("xcb") && isVisible() && !isActiveWindow())
    activateWindow();
}

void MainWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  TakeKeyboardOnX();
}

}  // namespace zanli
