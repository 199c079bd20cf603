// Building the window: the controls of the dialog layout, the menu with its
// shortcuts, the tab order, and the resize rules.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>
#include <algorithm>

#include "app/dialog_units.h"
#include "app/main_window.h"
#include "app/part_clipboard.h"
#include "app/part_list_box.h"
#include "app/part_view.h"
#include "app/pin_panel.h"
#include "resources/window_texts.h"

namespace zanli {

namespace {

// Size of the client area in dialog units.
constexpr int kClientWidthDu = 282;
constexpr int kClientHeightDu = 228;

QFrame* MakeLine(QWidget* parent, QFrame::Shape shape, const QRect& rect, const char* name) {
  auto* line = new QFrame(parent);
  line->setObjectName(QString::fromLatin1(name));
  line->setFrameShape(shape);
  line->setFrameShadow(QFrame::Sunken);
  line->setLineWidth(1);
  // An etched separator is two pixels thick whatever the unit conversion says.
  if (shape == QFrame::HLine)
    line->setGeometry(rect.x(), rect.y(), rect.width(), 2);
  else
    line->setGeometry(rect.x(), rect.y(), 2, rect.height());
  return line;
}

}  // namespace

void MainWindow::CreateControls() {
  setFont(DialogUnits::DialogFont());
  const DialogUnits du(font());

  CreateFrame();

  menuLine_ = MakeLine(client(), QFrame::HLine, du.Rect(0, 0, 281, 1), "menuLine");
  columnLine_ = MakeLine(client(), QFrame::VLine, du.Rect(92, 2, 1, 226), "columnLine");
  viewLine_ = MakeLine(client(), QFrame::HLine, du.Rect(93, 101, 189, 1), "viewLine");
  blockLine_ = MakeLine(client(), QFrame::HLine, du.Rect(93, 21, 189, 1), "blockLine");

  filterField_ = new QLineEdit(client());
  filterField_->setObjectName(QStringLiteral("partFilter"));
  filterField_->setPlaceholderText(QString::fromUtf8(texts::kFilterPlaceholder));
  filterField_->setAccessibleName(QString::fromUtf8(texts::kFilterPlaceholder));
  filterField_->setClearButtonEnabled(true);
  partList_ = new PartListBox(client());
  partList_->setObjectName(QStringLiteral("partList"));
  partList_->setWindowTitle(QStringLiteral("Col&List"));
  partList_->setAccessibleName(QStringLiteral("部品ﾘｽﾄ"));
  partList_->SetDocument(&document_);
  partView_ = new PartView(client());
  partView_->setObjectName(QStringLiteral("partView"));
  partView_->setWindowTitle(QStringLiteral("&PartView"));
  partView_->setAccessibleName(QStringLiteral("部品図"));
  // The panel's controls stand in the right column above the part view.
  const QPoint panelOrigin(du.X(93) + columnLine_->width(), 0);
  pinPanel_ = new PinPanel(client(), du, panelOrigin, document_);
  pinPanel_->move(panelOrigin);

  minimumClientSize_ = QSize(du.X(kClientWidthDu), du.Y(kClientHeightDu));
  client()->setMinimumSize(minimumClientSize_);
  SetTabOrder();
}

void MainWindow::SetTabOrder() {
  // Lines are not tab stops; the panel's controls follow the layout order,
  // the part list and the part view come last.
  for (QWidget* w : {menuLine_, columnLine_, viewLine_, blockLine_}) w->setFocusPolicy(Qt::NoFocus);
  std::vector<QWidget*> order = pinPanel_->TabOrder();
  order.push_back(filterField_);
  order.push_back(partList_);
  order.push_back(partView_);
  for (size_t i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
  partList_->setFocusPolicy(Qt::StrongFocus);
  partView_->setFocusPolicy(Qt::StrongFocus);
}

void MainWindow::CreateMenu() {
  // The texts keep their tab and key name, so the menu shows exactly these;
  // the shortcuts make the keys work.
  QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  fileMenu_ = file;
  AddCommand(file, kFileNew, QStringLiteral("新規作成(&N)\tCtrl+N"), QKeySequence(Qt::CTRL | Qt::Key_N));
  AddCommand(file, kFileOpen, QStringLiteral("開く(&O)...\tCtrl+O"), QKeySequence(Qt::CTRL | Qt::Key_O));
  AddCommand(file, kFileSave, QStringLiteral("上書き保存(&S)\tCtrl+S"), QKeySequence(Qt::CTRL | Qt::Key_S));
  AddCommand(file, kFileSaveAs, QStringLiteral("名前を付けて保存(&A)..."));
  file->addSeparator();
  AddCommand(file, kExportPicture, QString::fromUtf8(texts::kExportPictureMenu));
  AddCommand(file, kExportCatalog, QString::fromUtf8(texts::kExportCatalogMenu));
  AddCommand(file, kImportKicad, QStringLiteral("ｲﾝﾎﾟｰﾄ (KiCad ｼﾝﾎﾞﾙ)…"));
  AddCommand(file, kExportKicad, QStringLiteral("ｴｸｽﾎﾟｰﾄ (KiCad ｼﾝﾎﾞﾙ)…"));
  file->addSeparator();
  AddCommand(file, kAppExit, QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"));

  QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
  AddCommand(edit, kEditUndo, QString(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  AddCommand(edit, kEditRedo, QString(), QKeySequence(Qt::CTRL | Qt::Key_Y));
  action(kEditRedo)->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  edit->addSeparator();
  AddCommand(edit, kEditCut, QStringLiteral("部品の切り取り(&T)\tCtrl+X"),
             QKeySequence(Qt::CTRL | Qt::Key_X));
  AddCommand(edit, kEditCopy, QStringLiteral("部品のｺﾋﾟｰ(&C)\tCtrl+C"), QKeySequence(Qt::CTRL | Qt::Key_C));
  AddCommand(edit, kEditPaste, QStringLiteral("部品の貼り付け(&P)\tCtrl+V"),
             QKeySequence(Qt::CTRL | Qt::Key_V));
  AddCommand(edit, kEditDelete, QStringLiteral("部品の削除(&D)\tDel"), QKeySequence(Qt::Key_Delete));
  edit->addSeparator();
  AddCommand(edit, kNewPart, QStringLiteral("新しい部品(&N)..."));
  AddCommand(edit, kNewPartFromPins, QStringLiteral("新しい部品 (ﾋﾟﾝ一覧から)(&L)..."));
  AddCommand(edit, kRenamePart, QStringLiteral("部品名の変更(&R)..."));
  AddCommand(edit, kNewAlias, QStringLiteral("新しい別名(&S)..."));
  AddCommand(edit, kPartAttributes, QStringLiteral("部品のｱﾄﾘﾋﾞｭｰﾄ(&A)..."));
  edit->addSeparator();
  AddCommand(edit, kCheckLibrary, QStringLiteral("ﾗｲﾌﾞﾗﾘのﾁｪｯｸ(&K)..."));

  QMenu* pin = menuBar()->addMenu(QStringLiteral("ﾋﾟﾝ(&P)"));
  AddCommand(pin, kInsertBlankPin, QStringLiteral("ｶｰｿﾙ位置に空白ﾋﾟﾝを挿入(&I)\tCtrl+I"),
             QKeySequence(Qt::CTRL | Qt::Key_I));
  AddCommand(pin, kDeletePinAndCloseUp, QStringLiteral("ｶｰｿﾙ位置のﾋﾟﾝを削除して詰める(&D)\tCtrl+D"),
             QKeySequence(Qt::CTRL | Qt::Key_D));
  pin->addSeparator();
  AddCommand(pin, kPinTable, QStringLiteral("ﾋﾟﾝ一覧(&T)\tCtrl+T"), QKeySequence(Qt::CTRL | Qt::Key_T));

  QMenu* pattern = menuBar()->addMenu(QStringLiteral("ﾊﾟﾀｰﾝ(&T)"));
  AddCommand(pattern, kEditPatterns, QStringLiteral("ﾊﾟﾀｰﾝの編集(&E)..."));

  QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
  AddCommand(help, kAppAbout, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(Zanli) (&A)..."));

  // Ctrl+F has no menu item: it only takes the keyboard to the filter.
  auto* find = new QAction(this);
  find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  addAction(find);
  RegisterCommand(find, kFindPart);

  for (QMenu* menu : {file, edit, pin, pattern, help})
    connect(menu, &QMenu::aboutToShow, this, &MainWindow::UpdateCommandStates);
  connect(edit, &QMenu::aboutToShow, this, &MainWindow::CheckClipboard);

  connect(action(kFileNew), &QAction::triggered, this, &MainWindow::NewLibrary);
  connect(action(kFileOpen), &QAction::triggered, this, [this] {
    if (SaveModified()) OpenLibrary();
  });
  connect(action(kFileSave), &QAction::triggered, this, [this] {
    if (library().hasFilePath)
      SaveLibrary();
    else
      SaveLibraryAs();
  });
  connect(action(kFileSaveAs), &QAction::triggered, this, &MainWindow::SaveLibraryAs);
  connect(action(kAppExit), &QAction::triggered, this, &QWidget::close);
  connect(action(kEditUndo), &QAction::triggered, undoStack_, &QUndoStack::undo);
  connect(action(kEditRedo), &QAction::triggered, undoStack_, &QUndoStack::redo);
  connect(action(kInsertBlankPin), &QAction::triggered, this, &MainWindow::InsertBlankPin);
  connect(action(kDeletePinAndCloseUp), &QAction::triggered, this, &MainWindow::DeletePinAndCloseUp);
  connect(action(kNewPart), &QAction::triggered, this, &MainWindow::NewPart);
  connect(action(kRenamePart), &QAction::triggered, this, &MainWindow::RenamePart);
  connect(action(kNewAlias), &QAction::triggered, this, &MainWindow::NewAlias);
  connect(action(kPartAttributes), &QAction::triggered, this, &MainWindow::EditPartAttributes);
  connect(action(kEditDelete), &QAction::triggered, this, &MainWindow::DeletePart);
  connect(action(kEditCopy), &QAction::triggered, this, &MainWindow::CopyPart);
  connect(action(kEditCut), &QAction::triggered, this, &MainWindow::CutPart);
  connect(action(kEditPaste), &QAction::triggered, this, &MainWindow::PastePart);
  connect(action(kCheckLibrary), &QAction::triggered, this, &MainWindow::CheckLibrary);
  connect(action(kAppAbout), &QAction::triggered, this, &MainWindow::ShowAbout);
  connect(action(kExportPicture), &QAction::triggered, this, &MainWindow::ExportPicture);
  connect(action(kExportCatalog), &QAction::triggered, this, &MainWindow::ExportCatalog);
  connect(action(kFindPart), &QAction::triggered, this, [this] {
    filterField_->setFocus(Qt::ShortcutFocusReason);
    filterField_->selectAll();
  });
  connect(filterField_, &QLineEdit::textChanged, partList_, &PartListBox::SetFilter);
  connect(action(kEditPatterns), &QAction::triggered, this, &MainWindow::EditPatterns);
  connect(action(kImportKicad), &QAction::triggered, this, &MainWindow::ImportKicad);
  connect(action(kExportKicad), &QAction::triggered, this, &MainWindow::ExportKicad);
  connect(action(kPinTable), &QAction::triggered, this, &MainWindow::ShowPinTable);
  connect(action(kNewPartFromPins), &QAction::triggered, this, &MainWindow::NewPartFromPins);
}

void MainWindow::UpdateUndoTexts() {
  // The texts keep their tab and key name, as every item of the menu does.
  const QString undo = undoStack_->undoText();
  const QString redo = undoStack_->redoText();
  action(kEditUndo)->setText(undo.isEmpty() ? QStringLiteral("元に戻す(&U)\tCtrl+Z")
                                            : QStringLiteral("元に戻す - %1(&U)\tCtrl+Z").arg(undo));
  action(kEditRedo)->setText(redo.isEmpty() ? QStringLiteral("やり直し(&Y)\tCtrl+Y")
                                            : QStringLiteral("やり直し - %1(&Y)\tCtrl+Y").arg(redo));
  action(kEditUndo)->setEnabled(undoStack_->canUndo());
  action(kEditRedo)->setEnabled(undoStack_->canRedo());
}

void MainWindow::UpdateCommandStates() {
  action(kEditUndo)->setEnabled(undoStack_->canUndo());
  action(kEditRedo)->setEnabled(undoStack_->canRedo());
  const bool hasSelection = partList_->GetCurSel() >= 0;
  for (int id : {kInsertBlankPin, kDeletePinAndCloseUp, kPartAttributes, kRenamePart, kNewAlias})
    action(id)->setEnabled(hasSelection);
  // The clipboard commands and the Delete key act on parts only while the
  // list has the keyboard focus; elsewhere the keys keep their usual meaning.
  const bool inList = ListHasFocus();
  for (int id : {kEditCut, kEditCopy, kEditDelete}) action(id)->setEnabled(inList && hasSelection);
  action(kEditPaste)->setEnabled(inList && clipboardOffersPart_);
  action(kEditPatterns)->setEnabled(true);
  action(kExportPicture)->setEnabled(hasSelection && partView_->Part() != nullptr);
  action(kExportCatalog)->setEnabled(true);
  action(kFindPart)->setEnabled(true);
  action(kImportKicad)->setEnabled(true);
  action(kExportKicad)->setEnabled(document_.EntryCount() > 0);
  action(kPinTable)->setEnabled(true);
  action(kNewPartFromPins)->setEnabled(true);
}

bool MainWindow::OfferKey(QObject* watched, const QKeyEvent& key) {
  UpdateCommandStates();
  // Ctrl+F finds from anywhere, the pin fields included.
  if (action(kFindPart)->shortcut().matches(QKeySequence(key.keyCombination())) == QKeySequence::ExactMatch)
    return false;
  // The pin fields keep the command keys for editing; a check box's
  // mnemonic wins over the menu title with the same letter.
  // The filter field keeps them too, so that Ctrl+Z there takes back typing.
  const bool textField = pinPanel_->IsTextField(watched) || watched == filterField_;
  return (textField && IsCommandKey(&key)) || pinPanel_->MnemonicBox(&key) != nullptr;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (CommandWindow::eventFilter(watched, event) || TakeZoomKey(watched, event) ||
      TakeFilterKey(watched, event))
    return true;
  // A check box's mnemonic ticks it at once, so a key typed right after it
  // (Enter, say) already sees the new state.
  if (event->type() == QEvent::KeyPress && IsOwnWidget(watched)) {
    if (QCheckBox* box = pinPanel_->MnemonicBox(static_cast<QKeyEvent*>(event))) {
      box->setFocus(Qt::ShortcutFocusReason);
      box->click();
      return true;
    }
  }
  return false;
}

void MainWindow::LayoutChildren() {
  const int w = client()->width();
  const int h = client()->height();
  menuLine_->setGeometry(0, 0, w, menuLine_->height());
  for (QFrame* line : {blockLine_, viewLine_})
    line->setGeometry(line->x(), line->y(), w - line->x(), line->height());
  columnLine_->setGeometry(columnLine_->x(), columnLine_->y(), columnLine_->width(), h - columnLine_->y());
  const int filterHeight = filterField_->sizeHint().height();
  filterField_->setGeometry(5, 7, columnLine_->x() - 10, filterHeight);
  const int listTop = 7 + filterHeight + 4;
  partList_->setGeometry(5, listTop, columnLine_->x() - 10, h - listTop - 5);
  const int viewLeft = viewLine_->x();
  const int viewTop = viewLine_->y() + viewLine_->height();
  partView_->setGeometry(viewLeft + 5, viewTop + 5, w - viewLeft - 10, h - viewTop - 10);
}

}  // namespace zanli
