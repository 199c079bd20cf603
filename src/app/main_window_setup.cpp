// Building the window: the controls of the dialog layout, the menu with its
// shortcuts, the tab order, and the resize rules.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialog_units.h"
#include "app/main_window.h"
#include "app/part_list_box.h"
#include "app/part_view.h"

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

QCheckBox* MakeCheckBox(QWidget* parent, const QString& text, const QRect& rect, const char* name) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QString::fromLatin1(name));
  // The layout was drawn for a narrower font; a text never gets cut short.
  box->setGeometry(rect.x(), rect.y(), std::max(rect.width(), box->sizeHint().width()), rect.height());
  return box;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& rect, const char* name) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setGeometry(rect.x(), rect.y(), std::max(rect.width(), label->sizeHint().width()), rect.height());
  return label;
}

}  // namespace

void MainWindow::CreateControls() {
  setFont(DialogUnits::DialogFont());
  const DialogUnits du(font());

  menuBar_ = new QMenuBar(this);
  menuBar_->setObjectName(QStringLiteral("menuBar"));
  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("client"));
  auto* frame = new QVBoxLayout(this);
  frame->setContentsMargins(0, 0, 0, 0);
  frame->setSpacing(0);
  frame->setMenuBar(menuBar_);
  frame->addWidget(client_);

  // In the order of the dialog layout, which is also the tab order.
  blankPinBox_ = MakeCheckBox(client_, QStringLiteral("空白ﾋﾟﾝ(&U)"), du.Rect(98, 29, 50, 10), "blankPin");
  pinNameLabel_ = MakeLabel(client_, QStringLiteral("名前(&V):"), du.Rect(98, 48, 29, 10), "pinNameLabel");
  pinNameEdit_ = new QLineEdit(client_);
  pinNameEdit_->setObjectName(QStringLiteral("pinName"));
  pinNameEdit_->setGeometry(du.Rect(130, 43, 60, 15));
  nearBodyBox_ = MakeCheckBox(client_, QStringLiteral("番号をﾊﾟｰﾂに寄せる(&S)"), du.Rect(99, 65, 83, 10),
                              "numberNearBody");
  clockBox_ = MakeCheckBox(client_, QStringLiteral("ｸﾛｯｸ(&C)"), du.Rect(191, 65, 40, 10), "clock");
  negativeLogicBox_ =
      MakeCheckBox(client_, QStringLiteral("負論理(&N)"), du.Rect(234, 65, 45, 10), "negativeLogic");
  pinNumberLabel_ =
      MakeLabel(client_, QStringLiteral("番号(&M):"), du.Rect(99, 86, 30, 10), "pinNumberLabel");
  pinNumberEdit_ = new QLineEdit(client_);
  pinNumberEdit_->setObjectName(QStringLiteral("pinNumber"));
  pinNumberEdit_->setGeometry(du.Rect(131, 81, 30, 15));
  pinNumberEdit_->setMaxLength(16);
  hideNumberBox_ =
      MakeCheckBox(client_, QStringLiteral("番号の非表示(&H)"), du.Rect(166, 83, 66, 12), "hideNumber");
  updatePinButton_ = new QPushButton(QStringLiteral("ﾋﾟﾝの更新"), client_);
  updatePinButton_->setObjectName(QStringLiteral("updatePin"));
  updatePinButton_->setGeometry(du.Rect(209, 27, 65, 14));
  updatePinButton_->setDefault(true);
  cancelPinButton_ = new QPushButton(QStringLiteral("ﾋﾟﾝ変更のｷｬﾝｾﾙ"), client_);
  cancelPinButton_->setObjectName(QStringLiteral("cancelPin"));
  cancelPinButton_->setGeometry(du.Rect(209, 45, 65, 14));
  blockLabel_ = MakeLabel(client_, QStringLiteral("ﾌﾞﾛｯｸ(&B) : "), du.Rect(98, 7, 34, 10), "blockLabel");
  // The read-only block field and its up-down arrows, as one spin box whose
  // text cannot be typed into.
  blockBox_ = new QSpinBox(client_);
  blockBox_->setObjectName(QStringLiteral("block"));
  blockBox_->setGeometry(du.Rect(135, 3, 33, 15));
  blockBox_->setRange(1, 1);
  blockBox_->setKeyboardTracking(false);
  if (auto* field = blockBox_->findChild<QLineEdit*>()) field->setReadOnly(true);
  line1000_ = MakeLine(client_, QFrame::HLine, du.Rect(0, 0, 281, 1), "line1000");
  line1003_ = MakeLine(client_, QFrame::VLine, du.Rect(92, 2, 1, 226), "line1003");
  line1008_ = MakeLine(client_, QFrame::HLine, du.Rect(93, 101, 189, 1), "line1008");
  line1011_ = MakeLine(client_, QFrame::HLine, du.Rect(93, 21, 189, 1), "line1011");

  pinNameLabel_->setBuddy(pinNameEdit_);
  pinNumberLabel_->setBuddy(pinNumberEdit_);
  blockLabel_->setBuddy(blockBox_);

  partList = new PartListBox(client_);
  partList->setObjectName(QStringLiteral("partList"));
  partList->setWindowTitle(QStringLiteral("Col&List"));
  partList->setAccessibleName(QStringLiteral("Col&List"));
  partView = new PartView(client_);
  partView->setObjectName(QStringLiteral("partView"));
  partView->setWindowTitle(QStringLiteral("&PartView"));
  partView->setAccessibleName(QStringLiteral("&PartView"));

  minimumClientSize_ = QSize(du.X(kClientWidthDu), du.Y(kClientHeightDu));
  client_->setMinimumSize(minimumClientSize_);
  client_->installEventFilter(this);
  SetTabOrder();
}

void MainWindow::SetTabOrder() {
  // Labels, lines and the arrows are not tab stops; everything else follows
  // the layout order, the part list and the part view last.
  for (QWidget* w : std::initializer_list<QWidget*>{pinNameLabel_, pinNumberLabel_, blockLabel_, line1000_,
                                                    line1003_, line1008_, line1011_})
    w->setFocusPolicy(Qt::NoFocus);
  const QWidget* order[] = {blankPinBox_,      pinNameEdit_,   nearBodyBox_,   clockBox_,
                            negativeLogicBox_, pinNumberEdit_, hideNumberBox_, updatePinButton_,
                            cancelPinButton_,  blockBox_,      partList,       partView};
  for (size_t i = 0; i + 1 < std::size(order); ++i)
    QWidget::setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
  partList->setFocusPolicy(Qt::StrongFocus);
  partView->setFocusPolicy(Qt::StrongFocus);
}

QAction* MainWindow::AddCommand(QMenu* menu, int id, const QString& text, const QKeySequence& key) {
  auto* action = menu->addAction(text);
  action->setObjectName(QStringLiteral("command%1").arg(id));
  action->setData(id);
  if (!key.isEmpty()) action->setShortcut(key);
  actions_[id] = action;
  return action;
}

QAction* MainWindow::action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::CreateMenu() {
  // The texts keep their tab and key name, so the menu shows exactly these;
  // the shortcuts make the keys work.
  QMenu* file = menuBar_->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  AddCommand(file, kFileNew, QStringLiteral("新規作成(&N)\tCtrl+N"), QKeySequence(Qt::CTRL | Qt::Key_N));
  AddCommand(file, kFileOpen, QStringLiteral("開く(&O)...\tCtrl+O"), QKeySequence(Qt::CTRL | Qt::Key_O));
  AddCommand(file, kFileSave, QStringLiteral("上書き保存(&S)\tCtrl+S"), QKeySequence(Qt::CTRL | Qt::Key_S));
  AddCommand(file, kFileSaveAs, QStringLiteral("名前を付けて保存(&A)..."));
  file->addSeparator();
  AddCommand(file, kAppExit, QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"));

  QMenu* edit = menuBar_->addMenu(QStringLiteral("編集(&E)"));
  AddCommand(edit, kEditCut, QStringLiteral("部品の切り取り(&T)\tCtrl+X"),
             QKeySequence(Qt::CTRL | Qt::Key_X));
  AddCommand(edit, kEditCopy, QStringLiteral("部品のｺﾋﾟｰ(&C)\tCtrl+C"), QKeySequence(Qt::CTRL | Qt::Key_C));
  AddCommand(edit, kEditPaste, QStringLiteral("部品の貼り付け(&P)\tCtrl+V"),
             QKeySequence(Qt::CTRL | Qt::Key_V));
  AddCommand(edit, kEditDelete, QStringLiteral("部品の削除(&D)\tDel"), QKeySequence(Qt::Key_Delete));
  edit->addSeparator();
  AddCommand(edit, kNewPart, QStringLiteral("新しい部品(&N)..."));
  AddCommand(edit, kRenamePart, QStringLiteral("部品名の変更(&R)..."));
  AddCommand(edit, kNewAlias, QStringLiteral("新しい別名(&S)..."));
  AddCommand(edit, kPartAttributes, QStringLiteral("部品のｱﾄﾘﾋﾞｭｰﾄ(&A)..."));

  QMenu* pin = menuBar_->addMenu(QStringLiteral("ﾋﾟﾝ(&P)"));
  AddCommand(pin, kInsertBlankPin, QStringLiteral("ｶｰｿﾙ位置に空白ﾋﾟﾝを挿入(&I)\tCtrl+I"),
             QKeySequence(Qt::CTRL | Qt::Key_I));
  AddCommand(pin, kDeletePinAndCloseUp, QStringLiteral("ｶｰｿﾙ位置のﾋﾟﾝを削除して詰める(&D)\tCtrl+D"),
             QKeySequence(Qt::CTRL | Qt::Key_D));

  QMenu* pattern = menuBar_->addMenu(QStringLiteral("ﾊﾟﾀｰﾝ(&T)"));
  AddCommand(pattern, kEditPatterns, QStringLiteral("ﾊﾟﾀｰﾝの編集(&E)..."));

  QMenu* help = menuBar_->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
  AddCommand(help, kAppAbout, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(Zanli) (&A)..."));

  for (QMenu* menu : {file, edit, pin, pattern, help})
    connect(menu, &QMenu::aboutToShow, this, &MainWindow::UpdateCommandStates);

  connect(action(kFileNew), &QAction::triggered, this, &MainWindow::NewLibrary);
  connect(action(kFileOpen), &QAction::triggered, this, [this] {
    if (SaveModified()) OpenLibrary();
  });
  connect(action(kFileSave), &QAction::triggered, this, [this] {
    if (library_.hasFilePath)
      SaveLibrary();
    else
      SaveLibraryAs();
  });
  connect(action(kFileSaveAs), &QAction::triggered, this, &MainWindow::SaveLibraryAs);
  connect(action(kAppExit), &QAction::triggered, this, &QWidget::close);
  connect(action(kInsertBlankPin), &QAction::triggered, this, &MainWindow::InsertBlankPin);
  connect(action(kDeletePinAndCloseUp), &QAction::triggered, this, &MainWindow::DeletePinAndCloseUp);
  connect(action(kAppAbout), &QAction::triggered, this, &MainWindow::ShowAbout);
}

void MainWindow::UpdateCommandStates() {
  const bool hasSelection = partList->GetCurSel() >= 0;
  action(kInsertBlankPin)->setEnabled(hasSelection);
  action(kDeletePinAndCloseUp)->setEnabled(hasSelection);
  // The part, clipboard and pattern commands stay greyed until their
  // handlers exist; a greyed item's key then does nothing.
  for (int id : {kEditCut, kEditCopy, kEditPaste, kEditDelete, kNewPart, kRenamePart, kNewAlias,
                 kPartAttributes, kEditPatterns})
    action(id)->setEnabled(false);
}

bool MainWindow::IsAcceleratorKey(const QKeyEvent* event) const {
  const QKeySequence pressed(event->keyCombination());
  for (const auto& [id, act] : actions_)
    if (!act->shortcut().isEmpty() && act->shortcut().matches(pressed) == QKeySequence::ExactMatch)
      return true;
  return false;
}

QCheckBox* MainWindow::MnemonicBox(const QKeyEvent* event) const {
  if (event->modifiers() != Qt::AltModifier) return nullptr;
  const QKeySequence pressed(event->keyCombination());
  for (QCheckBox* box : {blankPinBox_, nearBodyBox_, clockBox_, negativeLogicBox_, hideNumberBox_})
    if (box->isEnabled() && box->isVisible() &&
        QKeySequence::mnemonic(box->text()).matches(pressed) == QKeySequence::ExactMatch)
      return box;
  return nullptr;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) {
    LayoutChildren();
    return false;
  }
  // Qt offers every key to the focus widget as a shortcut override before it
  // looks for a shortcut: the moment to re-evaluate the enabling rules, and
  // the place where the pin fields claim the command keys for editing.
  if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    UpdateCommandStates();
    const auto* key = static_cast<QKeyEvent*>(event);
    if (((watched == pinNameEdit_ || watched == pinNumberEdit_) && IsAcceleratorKey(key)) ||
        MnemonicBox(key) != nullptr) {
      event->accept();
      return true;
    }
  }
  // A check box's mnemonic ticks it at once, so a key typed right after it
  // (Enter, say) already sees the new state; and while the box is enabled it
  // wins over the menu title with the same letter.
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    if (QCheckBox* box = MnemonicBox(static_cast<QKeyEvent*>(event))) {
      box->setFocus(Qt::ShortcutFocusReason);
      box->click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void MainWindow::LayoutChildren() {
  const int w = client_->width();
  const int h = client_->height();
  line1000_->setGeometry(0, 0, w, line1000_->height());
  for (QFrame* line : {line1011_, line1008_})
    line->setGeometry(line->x(), line->y(), w - line->x(), line->height());
  line1003_->setGeometry(line1003_->x(), line1003_->y(), line1003_->width(), h - line1003_->y());
  partList->setGeometry(5, 7, line1003_->x() - 10, h - 12);
  const int viewLeft = line1008_->x();
  const int viewTop = line1008_->y() + line1008_->height();
  partView->setGeometry(viewLeft + 5, viewTop + 5, w - viewLeft - 10, h - viewTop - 10);
}

}  // namespace zanli
