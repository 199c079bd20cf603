#include "app/pattern_editor/pattern_editor.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>

#include "app/dialog_units.h"
#include "app/message_box.h"
#include "app/pattern_editor/pattern_canvas.h"
#include "app/pattern_editor/pattern_clipboard.h"
#include "app/pattern_editor/pattern_in_use_dialog.h"
#include "app/pattern_editor/pattern_name_dialog.h"
#include "app/pattern_editor/pattern_size_dialog.h"
#include "app/pattern_editor/text_order.h"
#include "app/pattern_list_text.h"
#include "model/library.h"
#include "model/name_set.h"
#include "pattern/pattern_bitmap.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/message_texts.h"

// The pictures are compiled into the static app library; a static library's
// resources register only when asked to.
static void InitPatternEditorResources() { Q_INIT_RESOURCE(pattern_editor); }

namespace zanli {

namespace {

constexpr int kClientWidthDu = 154;
constexpr int kClientHeightDu = 121;
// A new pattern covers a 2 × 2 body outline.
constexpr int32_t kNewPatternSize = 21;
// Tool buttons: 16 × 15 pictures on buttons of the usual toolbar size.
constexpr QSize kToolImage(16, 15);
constexpr QSize kToolButton(23, 22);

struct ToolCommand {
  int id;
  PatternTool tool;
  const char* tip;
  const char* buttonName;
};

constexpr ToolCommand kToolCommands[] = {
    {PatternEditor::kToolSelect, PatternTool::Select, "選択", "selectTool"},
    {PatternEditor::kToolPen, PatternTool::Pen, "ﾍﾟﾝ", "penTool"},
    {PatternEditor::kToolLine, PatternTool::Line, "直線", "lineTool"},
    {PatternEditor::kToolEllipse, PatternTool::Ellipse, "楕円", "ellipseTool"},
};

}  // namespace

PatternEditor::PatternEditor(const Library& library, const Pattern* initial, QWidget* parent)
    : CommandWindow(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      library_(library) {
  InitPatternEditorResources();
  setObjectName(QStringLiteral("patternEditor"));
  setWindowTitle(QStringLiteral("ﾊﾟﾀｰﾝの編集"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/zanli_134.png")));
  setSizeGripEnabled(false);
  for (const auto& pattern : library.patterns) patterns_.push_back({pattern.get(), pattern->Clone()});

  CreateControls();
  CreateMenu();
  StartAtLayoutSize();
  LayoutChildren();

  for (WorkingPattern& working : patterns_) InsertItem(working.copy.get());
  if (patternBox_->count() > 0) {
    int index = 0;
    for (const WorkingPattern& working : patterns_)
      if (initial != nullptr && working.original == initial) index = IndexOfItem(working.copy.get());
    SelectItem(index);
    canvas_->LoadPattern(ItemPattern(index));
  }
  connect(patternBox_, &QComboBox::currentIndexChanged, this, &PatternEditor::OnItemChosen);
  WatchEvents();
  UpdateCommandStates(false);
}

PatternEditor::~PatternEditor() {
  StopWatchingEvents();
  // The canvas goes with the Qt children, after the copies it edits.
  canvas_->LoadPattern(nullptr);
}

// --- Building ----------------------------------------------------------------

void PatternEditor::CreateControls() {
  setFont(DialogUnits::DialogFont());
  const DialogUnits du(font());
  CreateFrame();

  menuLine_ = new QFrame(client());
  menuLine_->setObjectName(QStringLiteral("menuLine"));
  menuLine_->setFrameShape(QFrame::HLine);
  menuLine_->setFrameShadow(QFrame::Sunken);
  menuLine_->setGeometry(0, 0, du.X(kClientWidthDu), 2);

  patternBox_ = new QComboBox(client());
  patternBox_->setObjectName(QStringLiteral("patternBox"));
  patternBox_->setMaxVisibleItems(
      std::max(1, du.Y(118 - 14) / std::max(1, patternBox_->fontMetrics().height())));
  const QRect box = du.Rect(1, 3, 85, 12);
  patternBox_->setGeometry(box.x(), box.y(), box.width(),
                           std::max(box.height(), patternBox_->sizeHint().height()));

  CreateToolBar();
  canvas_ = new PatternCanvas(client());
  canvas_->setObjectName(QStringLiteral("canvas"));
  canvas_->setWindowTitle(QStringLiteral("&Ptneditor"));
  canvas_->setAccessibleName(QStringLiteral("ﾊﾟﾀｰﾝ図"));

  client()->setMinimumSize(du.X(kClientWidthDu), du.Y(kClientHeightDu));
  setTabOrder(patternBox_, canvas_);
}

void PatternEditor::CreateToolBar() {
  const QPixmap strip(QStringLiteral(":/pattern_editor/pattern_tools.xpm"));
  toolBar_ = new QWidget(client());
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  const QRect box = patternBox_->geometry();
  // From 4 pixels right of the pattern box, 2 above its top, 100 × 26.
  toolBar_->setGeometry(box.x() + box.width() + 4, box.y() - 2, 100, 26);
  auto* row = new QHBoxLayout(toolBar_);
  row->setContentsMargins(0, 2, 0, 2);
  row->setSpacing(0);
  tools_ = new QActionGroup(this);
  tools_->setExclusive(true);
  int i = 0;
  for (const ToolCommand& command : kToolCommands) {
    auto* action =
        new QAction(QIcon(strip.copy(i * kToolImage.width(), 0, kToolImage.width(), kToolImage.height())),
                    QString::fromUtf8(command.tip), this);
    action->setCheckable(true);
    action->setToolTip(QString::fromUtf8(command.tip));
    tools_->addAction(action);
    RegisterCommand(action, command.id);
    auto* button = new QToolButton(toolBar_);
    button->setObjectName(QString::fromLatin1(command.buttonName));
    button->setDefaultAction(action);
    button->setIconSize(kToolImage);
    button->setFixedSize(kToolButton);
    button->setFocusPolicy(Qt::NoFocus);
    row->addWidget(button);
    const int id = command.id;
    connect(action, &QAction::triggered, this, [this, id] { ChooseTool(id); });
    ++i;
  }
  row->addStretch(1);
  // The style's own checked look is a shade apart from the others: the
  // chosen tool must read as pressed at a glance.
  toolBar_->setStyleSheet(QStringLiteral(
      "QToolButton { border: 1px solid palette(mid); border-radius: 2px; background: palette(button); }"
      "QToolButton:checked { border: 1px solid palette(shadow); background: palette(mid); }"));
  action(kToolSelect)->setChecked(true);
}

void PatternEditor::CreateMenu() {
  // The texts keep their tab and key name, so the menu shows exactly these;
  // the shortcuts make the keys work.
  QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
  AddCommand(edit, kUndo, QStringLiteral("元に戻す(&U)\tCtrl+Z"), QKeySequence(Qt::CTRL | Qt::Key_Z));
  edit->addSeparator();
  AddCommand(edit, kCut, QStringLiteral("切り取り(&T)\tCtrl+X"), QKeySequence(Qt::CTRL | Qt::Key_X));
  AddCommand(edit, kCopy, QStringLiteral("ｺﾋﾟｰ(&C)\tCtrl+C"), QKeySequence(Qt::CTRL | Qt::Key_C));
  AddCommand(edit, kPaste, QStringLiteral("貼り付け(&P)\tCtrl+V"), QKeySequence(Qt::CTRL | Qt::Key_V));
  AddCommand(edit, kDeleteSelection, QStringLiteral("選択範囲の削除(&D)\tDel"), QKeySequence(Qt::Key_Delete));
  edit->addSeparator();
  AddCommand(edit, kNewPattern, QStringLiteral("新しいﾊﾟﾀｰﾝ(&N)..."));
  AddCommand(edit, kRenamePattern, QStringLiteral("ﾊﾟﾀｰﾝ名の変更(&R)..."));
  AddCommand(edit, kResizePattern, QStringLiteral("ﾊﾟﾀｰﾝのｻｲｽﾞ変更(&S)..."));
  edit->addSeparator();
  AddCommand(edit, kDeletePattern, QStringLiteral("ﾊﾟﾀｰﾝの削除(&L)..."));
  QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  AddCommand(view, kZoomIn, QStringLiteral("ｽﾞｰﾑｲﾝ(&I)"));
  AddCommand(view, kZoomOut, QStringLiteral("ｽﾞｰﾑｱｳﾄ(&O)"));
  for (QMenu* menu : {edit, view})
    connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommandStates(true); });

  connect(action(kUndo), &QAction::triggered, canvas_, &PatternCanvas::Undo);
  connect(action(kCut), &QAction::triggered, canvas_, &PatternCanvas::CutSelection);
  connect(action(kCopy), &QAction::triggered, canvas_, &PatternCanvas::CopySelection);
  connect(action(kPaste), &QAction::triggered, this, &PatternEditor::Paste);
  connect(action(kDeleteSelection), &QAction::triggered, canvas_, &PatternCanvas::DeleteSelection);
  connect(action(kNewPattern), &QAction::triggered, this, &PatternEditor::NewPattern);
  connect(action(kRenamePattern), &QAction::triggered, this, &PatternEditor::RenamePattern);
  connect(action(kResizePattern), &QAction::triggered, this, &PatternEditor::ResizePattern);
  connect(action(kDeletePattern), &QAction::triggered, this, &PatternEditor::DeletePattern);
  connect(action(kZoomIn), &QAction::triggered, canvas_, &PatternCanvas::ZoomIn);
  connect(action(kZoomOut), &QAction::triggered, canvas_, &PatternCanvas::ZoomOut);
}

void PatternEditor::LayoutChildren() {
  const int w = client()->width();
  const int h = client()->height();
  menuLine_->setGeometry(0, 0, w, menuLine_->height());
  const int top = std::max(toolBar_->geometry().bottom(), patternBox_->geometry().bottom()) + 1 + 3;
  canvas_->setGeometry(4, top, std::max(0, w - 8), std::max(0, h - top - 4));
}

// --- Commands ----------------------------------------------------------------

void PatternEditor::UpdateCommandStates(bool askClipboard) {
  const bool pattern = canvas_->HasPattern();
  for (int id : {kZoomIn, kZoomOut, kRenamePattern, kResizePattern, kDeletePattern})
    action(id)->setEnabled(pattern);
  const bool selection = canvas_->HasFloatingSelection();
  for (int id : {kCut, kCopy, kDeleteSelection}) action(id)->setEnabled(selection);
  if (askClipboard) action(kPaste)->setEnabled(pattern && PatternClipboard::Offered());
  action(kUndo)->setEnabled(canvas_->CanUndo());
}

void PatternEditor::ChooseTool(int id) {
  for (const ToolCommand& command : kToolCommands)
    if (command.id == id) {
      action(id)->setChecked(true);
      canvas_->SetTool(command.tool);
    }
}

void PatternEditor::Paste() {
  if (!canvas_->HasPattern()) return;
  // Pasting puts the canvas in Select, so its button shows pressed.
  action(kToolSelect)->setChecked(true);
  canvas_->PasteBitmap();
}

void PatternEditor::NewPattern() {
  canvas_->CommitSelection();
  NameSet taken;
  for (const WorkingPattern& working : patterns_) taken.Add(working.copy->name);
  PatternNameDialog dialog(std::string(), taken, QStringLiteral("新しいﾊﾟﾀｰﾝ"), this);
  if (RunModal(dialog) != QDialog::Accepted) return;
  patterns_.push_back({nullptr, std::make_unique<Pattern>(dialog.Name(), kNewPatternSize, kNewPatternSize)});
  Pattern* pattern = patterns_.back().copy.get();
  SelectItem(InsertItem(pattern));
  canvas_->LoadPattern(pattern);
}

void PatternEditor::RenamePattern() {
  Pattern* pattern = ItemPattern(patternBox_->currentIndex());
  if (pattern == nullptr) return;
  canvas_->CommitSelection();
  NameSet taken;
  for (const WorkingPattern& working : patterns_) taken.Add(working.copy->name);
  PatternNameDialog dialog(pattern->name, taken, QString(), this);
  if (RunModal(dialog) != QDialog::Accepted) return;
  pattern->name = dialog.Name();
  // The new text may sort elsewhere; the canvas keeps the pattern and its undo.
  {
    const QSignalBlocker quiet(patternBox_);
    patternBox_->removeItem(IndexOfItem(pattern));
  }
  SelectItem(InsertItem(pattern));
}

void PatternEditor::ResizePattern() {
  Pattern* pattern = ItemPattern(patternBox_->currentIndex());
  if (pattern == nullptr) return;
  canvas_->CommitSelection();
  PatternSizeDialog dialog(pattern->width, pattern->height, this);
  if (RunModal(dialog) != QDialog::Accepted) return;
  if (dialog.PatternWidth() == pattern->width && dialog.PatternHeight() == pattern->height) return;
  // The canvas lets go of the bitmap before it changes size under it.
  canvas_->LoadPattern(nullptr);
  PatternBitmap::ResizePattern(*pattern, dialog.PatternWidth(), dialog.PatternHeight());
  {
    const QSignalBlocker quiet(patternBox_);
    patternBox_->removeItem(IndexOfItem(pattern));
  }
  SelectItem(InsertItem(pattern));
  canvas_->LoadPattern(pattern);
}

void PatternEditor::DeletePattern() {
  const int index = patternBox_->currentIndex();
  Pattern* pattern = ItemPattern(index);
  if (pattern == nullptr) return;
  canvas_->CommitSelection();
  const QStringList users = UsersOf(pattern);
  if (!users.isEmpty()) {
    PatternInUseDialog dialog(users, this);
    RunModal(dialog);
    return;
  }
  if (ShowMessageBox(this, QMessageBox::Question, QStringLiteral("作業中のﾊﾟﾀｰﾝを削除します"),
                     QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                     QMessageBox::No) != QMessageBox::Yes)
    return;
  {
    const QSignalBlocker quiet(patternBox_);
    patternBox_->removeItem(index);
  }
  const int next = std::min(index, patternBox_->count() - 1);
  SelectItem(next);
  // The canvas moves on before the copy it shows is destroyed.
  canvas_->LoadPattern(ItemPattern(next));
  std::erase_if(patterns_,
                [pattern](const WorkingPattern& working) { return working.copy.get() == pattern; });
}

QStringList PatternEditor::UsersOf(const Pattern* copy) const {
  QStringList names;
  const auto it = std::find_if(patterns_.begin(), patterns_.end(),
                               [copy](const WorkingPattern& working) { return working.copy.get() == copy; });
  // A pattern made in this session is no part's yet.
  if (it == patterns_.end() || it->original == nullptr) return names;
  for (const auto& entry : library_.entries)
    if (entry->body != nullptr && entry->body->pattern == it->original)
      names << ShiftJisCodec::Decode(entry->name);
  return names;
}

// --- The pattern box ---------------------------------------------------------

int PatternEditor::InsertItem(Pattern* pattern) {
  const QString text = PatternListText(*pattern);
  int index = 0;
  while (index < patternBox_->count() && !TextOrder::Less(text, patternBox_->itemText(index))) ++index;
  const QSignalBlocker quiet(patternBox_);
  patternBox_->insertItem(index, text, QVariant::fromValue(reinterpret_cast<quintptr>(pattern)));
  return index;
}

int PatternEditor::IndexOfItem(const Pattern* pattern) const {
  for (int i = 0; i < patternBox_->count(); ++i)
    if (ItemPattern(i) == pattern) return i;
  return -1;
}

Pattern* PatternEditor::ItemPattern(int index) const {
  if (index < 0 || index >= patternBox_->count()) return nullptr;
  return reinterpret_cast<Pattern*>(patternBox_->itemData(index).value<quintptr>());
}

void PatternEditor::SelectItem(int index) {
  const QSignalBlocker quiet(patternBox_);
  patternBox_->setCurrentIndex(index);
}

void PatternEditor::OnItemChosen(int index) { canvas_->LoadPattern(ItemPattern(index)); }

const Pattern* PatternEditor::CurrentPattern() const { return canvas_->State().GetPattern(); }

// --- The session -------------------------------------------------------------

std::vector<PatternReplacement> PatternEditor::Result() const {
  std::vector<PatternReplacement> result;
  result.reserve(patterns_.size());
  for (const WorkingPattern& working : patterns_) {
    const Pattern& p = *working.copy;
    result.push_back({working.original, PatternContent{p.name, p.width, p.height, p.bits}});
  }
  return result;
}

void PatternEditor::closeEvent(QCloseEvent* event) {
  // A selection still floating belongs to the picture the user leaves.
  canvas_->CommitSelection();
  event->accept();
  QDialog::done(QDialog::Accepted);
}

void PatternEditor::reject() {}

void PatternEditor::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

bool PatternEditor::OfferKey(QObject*, const QKeyEvent& key) {
  // The clipboard is asked only for the paste key: another program may be
  // slow to answer.
  UpdateCommandStates(action(kPaste)->shortcut().matches(QKeySequence(key.keyCombination())) ==
                      QKeySequence::ExactMatch);
  return false;
}

}  // namespace zanli
