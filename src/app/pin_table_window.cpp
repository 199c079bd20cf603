#include "app/pin_table_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "app/command_window.h"
#include "app/message_box.h"
#include "app/pin_list_paste_dialog.h"
#include "app/pin_table_model.h"
#include "app/storable_text_validator.h"
#include "model/part_body.h"
#include "pinlist/pin_list_edits.h"
#include "pinlist/pin_list_problem_text.h"
#include "pinlist/pin_table_text.h"
#include "qtshared/pin_list_text.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/message_texts.h"
#include "resources/pin_table_texts.h"

namespace zanli {

namespace {

// As many characters as the pin panel's number field takes.
constexpr int kMaxNumberLength = 16;

int32_t EdgeLength(const PartBody& body, PinEdge edge) {
  return edge == PinEdge::Left || edge == PinEdge::Right ? body.ySize : body.xSize;
}

PinData DataOf(const PinInfo& pin, int32_t blocks) {
  PinData data{pin.name, pin.flags, pin.numbers};
  // A pin read from a broken file may hold fewer numbers than blocks.
  data.numbers.Resize(static_cast<size_t>(std::max(blocks, 0)), "D");
  return data;
}

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// Cell editors take only characters the library can hold, as the pin
// panel's fields do.
class StorableCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* field = qobject_cast<QLineEdit*>(editor)) new StorableTextValidator(field);
    return editor;
  }
};

}  // namespace

PinTableWindow::PinTableWindow(QWidget* parent, LibraryDocument& document, Commit commit)
    : QDialog(parent, Qt::Window), document_(document), commit_(std::move(commit)) {
  setWindowTitle(Text(texts::kPinTableTitle).arg(QString()));
  model_ = new PinTableModel(this);
  view_ = new QTableView(this);
  view_->setModel(model_);
  view_->setItemDelegate(new StorableCellDelegate(view_));
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::SelectedClicked);
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);

  const auto command = [this](const QString& text, const QKeySequence& key,
                              void (PinTableWindow::*handler)()) {
    auto* action = new QAction(text, view_);
    action->setShortcut(key);
    // The window holds the table alone; a cell's editor keeps its own keys.
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, handler);
    view_->addAction(action);
  };
  command(QStringLiteral("ｺﾋﾟｰ(&C)"), QKeySequence::Copy, &PinTableWindow::CopyRows);
  command(QStringLiteral("貼り付け(&P)..."), QKeySequence::Paste, &PinTableWindow::PasteRows);
  command(QStringLiteral("行の挿入(&I)"), QKeySequence(Qt::Key_Insert), &PinTableWindow::InsertRow);
  command(QStringLiteral("行の削除(&D)"), QKeySequence::Delete, &PinTableWindow::DeleteRows);

  // Once the cell's editor has closed: a refusal's message box must not
  // run inside the editor's commit, and the rows may be read again.
  connect(model_, &PinTableModel::editRequested, this, &PinTableWindow::OnEditRequested,
          Qt::QueuedConnection);
  connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &PinTableWindow::OnCurrentRowChanged);
  resize(640, 480);
  view_->setFocus();
}

PinTableWindow::~PinTableWindow() = default;

void PinTableWindow::ShowCursor(const PinCursor& cursor) {
  const PartBody* body = document_.BodyOf(cursor.row);
  cursor_ = cursor;
  if (body != model_->body()) {
    model_->SetBody(body);
    // Qt measures a sample of the rows, so a large part costs no more.
    view_->resizeColumnsToContents();
    const PartEntry* entry = document_.Entry(cursor.row);
    setWindowTitle(Text(texts::kPinTableTitle).arg(entry ? ShiftJisCodec::Decode(entry->name) : QString()));
  }
  SelectCursorRow();
}

void PinTableWindow::LibraryReplaced() {
  // The old bodies are gone; a new one may stand at the same address.
  model_->SetBody(nullptr);
}

void PinTableWindow::BodyChanged(const PartBody* body) {
  if (body != model_->body() || refreshPending_) return;
  // A paste tells of every pin; the rows are read once, after it.
  refreshPending_ = true;
  QTimer::singleShot(0, this, &PinTableWindow::Refresh);
}

void PinTableWindow::Refresh() {
  refreshPending_ = false;
  // The body may have left the library since; the cursor's entry says.
  const PartBody* body = document_.BodyOf(cursor_.row);
  if (body != model_->body()) {
    model_->SetBody(body);
  } else {
    model_->Refresh();
  }
  SelectCursorRow();
}

void PinTableWindow::SelectCursorRow() {
  // The row the user chose stays chosen, also when the cursor cannot reach
  // its pin (a pin beyond its side).
  if (syncing_) return;
  syncing_ = true;
  const int row = model_->RowAt(cursor_.edge, cursor_.position);
  if (row < 0) {
    view_->selectionModel()->clear();
  } else {
    const QModelIndex index = model_->index(row, std::max(view_->currentIndex().column(), 0));
    view_->selectionModel()->setCurrentIndex(index,
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_->scrollTo(index);
  }
  syncing_ = false;
}

void PinTableWindow::OnCurrentRowChanged() {
  if (syncing_) return;
  const PinInfo* pin = model_->PinAt(view_->currentIndex().row());
  if (pin == nullptr) return;
  syncing_ = true;
  emit cursorRequested(pin->edge, pin->position);
  syncing_ = false;
}

void PinTableWindow::Refuse(const QString& reason) { ShowMessageBox(this, QMessageBox::Warning, reason); }

std::optional<std::string> PinTableWindow::Encodable(const QString& text) {
  const QString bad = ShiftJisCodec::FirstUnstorable(text);
  if (!bad.isEmpty()) {
    Refuse(Text(texts::kUnstorableCharacter).arg(bad));
    return std::nullopt;
  }
  return ShiftJisCodec::Encode(text);
}

std::optional<std::string> PinTableWindow::EncodablePinList(const QString& text) {
  const QString bad = FirstUnstorableInPinList(text);
  if (!bad.isEmpty()) {
    Refuse(Text(texts::kUnstorableCharacter).arg(bad));
    return std::nullopt;
  }
  return ShiftJisCodec::Encode(text);
}

std::pair<PinEdge, int32_t> PinTableWindow::CurrentPlace() const {
  if (const PinInfo* pin = model_->PinAt(view_->currentIndex().row())) return {pin->edge, pin->position};
  return {cursor_.edge, cursor_.position};
}

void PinTableWindow::OnEditRequested(int edgeIndex, int place, int column, const QVariant& value, int role) {
  const PartBody* body = document_.BodyOf(cursor_.row);
  if (body == nullptr || body != model_->body() || edgeIndex < 0 || edgeIndex > 3) return;
  const PinInfo* pin = body->FindPin(static_cast<PinEdge>(edgeIndex), place);
  if (pin == nullptr) return;
  const int entry = cursor_.row;
  const PinEdge edge = pin->edge;
  const int32_t position = pin->position;
  PinData data = DataOf(*pin, body->blockCount);
  const bool checked = value.toInt() == Qt::Checked;

  if (column == PinTableModel::kSide || column == PinTableModel::kPosition) {
    PinEdge toEdge = edge;
    int32_t toPosition = position;
    if (column == PinTableModel::kSide) {
      const std::optional<std::string> side = Encodable(value.toString());
      if (!side) return;
      if (!ParsePinSide(*side, toEdge)) return Refuse(Text(texts::kBadSide));
    } else {
      bool number = false;
      toPosition = value.toString().trimmed().toInt(&number);
      if (!number) toPosition = -1;
    }
    const int32_t length = EdgeLength(*body, toEdge);
    if (toPosition < 0 || toPosition > length) return Refuse(Text(texts::kPositionRange).arg(length));
    if ((toEdge != edge || toPosition != position) && body->FindPin(toEdge, toPosition) != nullptr)
      return Refuse(Text(texts::kPlaceTaken));
    return commit_(document_.MovePin(entry, edge, position, toEdge, toPosition));
  }

  if (column == PinTableModel::kName) {
    const std::optional<std::string> name = Encodable(value.toString());
    if (!name) return;
    data.name = *name;
  } else if (column == PinTableModel::kNearBody && role == Qt::CheckStateRole) {
    // As the pin panel keeps them: near the body excludes both marks.
    data.flags = checked ? PinFlag::NumberNearBody : 0;
  } else if ((column == PinTableModel::kClock || column == PinTableModel::kNegative) &&
             role == Qt::CheckStateRole) {
    const int32_t bit = column == PinTableModel::kClock ? PinFlag::Clock : PinFlag::NegativeLogic;
    data.flags = (data.flags & ~PinFlag::NumberNearBody & ~bit) | (checked ? bit : 0);
  } else if (column >= PinTableModel::kFirstNumber) {
    const size_t block = static_cast<size_t>(column - PinTableModel::kFirstNumber);
    if (block >= data.numbers.size()) return;
    const std::string_view old = data.numbers[block];
    bool hidden = old.starts_with('H');
    std::string text = old.empty() ? std::string() : std::string(old.substr(1));
    if (role == Qt::CheckStateRole) {
      hidden = checked;
    } else {
      const QString typed = value.toString().trimmed().toUpper();
      if (typed.size() > kMaxNumberLength) return Refuse(Text(texts::kNumberTooLong));
      const std::optional<std::string> bytes = Encodable(typed);
      if (!bytes) return;
      text = *bytes;
    }
    std::string number(1, hidden ? 'H' : 'D');
    number.append(text);
    data.numbers.Set(block, number);
  } else {
    return;
  }
  EditResult result = document_.EditPin(entry, edge, position, data);
  if (result.status == EditStatus::Refused) QApplication::beep();
  commit_(std::move(result));
}

void PinTableWindow::DeleteRows() {
  std::set<std::pair<PinEdge, int32_t>> places;
  for (const QModelIndex& index : view_->selectionModel()->selectedRows())
    if (const PinInfo* pin = model_->PinAt(index.row())) places.insert({pin->edge, pin->position});
  if (places.empty() || !document_.BeginGroup(StepKind::DeletePins)) return;
  for (const auto& [edge, position] : places) {
    // Every pin at the place, as a file may hold two.
    const PartBody* body = document_.BodyOf(cursor_.row);
    while (body && body->FindPin(edge, position))
      if (document_.EditPin(cursor_.row, edge, position, std::nullopt).status == EditStatus::Refused) break;
  }
  commit_(document_.CommitGroup());
}

void PinTableWindow::InsertRow() {
  const PartBody* body = document_.BodyOf(cursor_.row);
  if (body == nullptr || !document_.BeginGroup(StepKind::InsertPinRow)) return;
  const auto [edge, position] = CurrentPlace();
  PinData blank;
  blank.numbers.Resize(static_cast<size_t>(body->blockCount), "D");
  document_.InsertBlankPin(cursor_.row, edge, position);
  document_.EditPin(cursor_.row, edge, position, blank);
  EditResult result = document_.CommitGroup();
  // A pin on the last position of the side has nowhere to go.
  if (result.status == EditStatus::Refused) QApplication::beep();
  commit_(std::move(result));
}

void PinTableWindow::CopyRows() {
  const PartBody* body = model_->body();
  if (body == nullptr) return;
  std::vector<const PinInfo*> pins;
  QModelIndexList rows = view_->selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end(),
            [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  for (const QModelIndex& index : rows)
    if (const PinInfo* pin = model_->PinAt(index.row())) pins.push_back(pin);
  if (pins.empty()) pins = PinsInCursorOrder(*body);
  QApplication::clipboard()->setText(ShiftJisCodec::Decode(PinTableText(*body, pins)));
}

void PinTableWindow::PasteRows() {
  const PartBody* body = model_->body();
  if (body == nullptr) return;
  const std::optional<std::string> text = EncodablePinList(QApplication::clipboard()->text());
  if (!text) return;
  std::optional<std::pair<PinEdge, int32_t>> insertAt;
  if (model_->PinAt(view_->currentIndex().row()) != nullptr) insertAt = CurrentPlace();
  PinListPasteDialog dialog(this, *text, *body, insertAt);
  const int answer = dialog.exec();
  CommandWindow::TakeKeyboardOnX(this);
  if (answer != QDialog::Accepted) return;
  EditResult result = PastePinList(document_, cursor_.row, dialog.plan(), dialog.destination());
  if (result.status == EditStatus::Refused) return Refuse(Text(texts::kPinListRefused));
  commit_(std::move(result));
}

}  // namespace zanli
