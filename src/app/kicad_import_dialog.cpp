#include "app/kicad_import_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/symbol_preview.h"
#include "kicad/kicad_messages.h"
#include "model/name_filter.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/kicad_texts.h"

namespace zanli {

namespace {

enum Column { kSymbolColumn, kOutcomeColumn, kPartsColumn, kNotesColumn };

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }
QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

QString PartNames(const KicadSymbolImport& symbol) {
  QStringList names;
  for (const PartEntry* entry : symbol.entries) names << ShiftJisCodec::Decode(entry->name);
  return names.join(QStringLiteral(", "));
}

// Refusals first, then changes, then what the library does not keep: the
// kinds' own order, so the row shows what matters most.
QStringList Notes(const KicadSymbolImport& symbol) {
  std::vector<const KicadNote*> sorted;
  for (const KicadNote& note : symbol.notes) sorted.push_back(&note);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const KicadNote* a, const KicadNote* b) { return a->kind < b->kind; });
  QStringList notes;
  for (const KicadNote* note : sorted) notes << Text(KicadMessages::Describe(*note));
  return notes;
}

}  // namespace

KicadImportDialog::KicadImportDialog(QWidget* parent, const QString& shownPath, const KicadImport& import)
    : QDialog(parent), import_(import) {
  setObjectName(QStringLiteral("kicadImportDialog"));
  setWindowTitle(Text(texts::kicad::kImportTitle));

  auto* summary = new QLabel(Text(texts::kicad::kImportSummary)
                                 .arg(shownPath)
                                 .arg(import.symbols.size())
                                 .arg(import.Count(KicadOutcome::Exact))
                                 .arg(import.Count(KicadOutcome::Changed))
                                 .arg(import.Count(KicadOutcome::Refused)),
                             this);
  summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

  filter_ = new QLineEdit(this);
  filter_->setObjectName(QStringLiteral("filter"));
  filter_->setClearButtonEnabled(true);
  auto* filterLabel = new QLabel(Text(texts::kicad::kFilter), this);
  filterLabel->setBuddy(filter_);

  symbols_ = new QTreeWidget(this);
  symbols_->setObjectName(QStringLiteral("symbols"));
  symbols_->setRootIsDecorated(false);
  symbols_->setUniformRowHeights(true);
  symbols_->setHeaderLabels({Text(texts::kicad::kColumnSymbol), Text(texts::kicad::kColumnOutcome),
                             Text(texts::kicad::kColumnParts), Text(texts::kicad::kColumnNotes)});
  // Made in one go: a file may hold thousands of symbols.
  QList<QTreeWidgetItem*> rows;
  for (size_t i = 0; i < import.symbols.size(); ++i) {
    const KicadSymbolImport& symbol = import.symbols[i];
    const QString name = Text(symbol.name);
    filterNames_.push_back(ShiftJisCodec::Encode(name));
    const QStringList notes = Notes(symbol);
    auto* item = new QTreeWidgetItem({name, Text(KicadMessages::Outcome(symbol.outcome)), PartNames(symbol),
                                      notes.join(QStringLiteral("; "))});
    item->setData(kSymbolColumn, Qt::UserRole, static_cast<qulonglong>(i));
    item->setToolTip(kNotesColumn, notes.join(QLatin1Char('\n')));
    if (symbol.outcome == KicadOutcome::Refused) {
      item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
      item->setForeground(kOutcomeColumn, QColor(Qt::red));
    } else {
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(kSymbolColumn, Qt::Checked);
    }
    items_.push_back(item);
    rows << item;
  }
  symbols_->addTopLevelItems(rows);
  symbols_->header()->setSectionResizeMode(QHeaderView::Interactive);
  symbols_->setColumnWidth(kSymbolColumn, 180);
  symbols_->setColumnWidth(kOutcomeColumn, 90);
  symbols_->setColumnWidth(kPartsColumn, 140);

  preview_ = new SymbolPreview(this);
  preview_->setObjectName(QStringLiteral("preview"));
  preview_->setMinimumSize(260, 220);
  notes_ = new QPlainTextEdit(this);
  notes_->setObjectName(QStringLiteral("notes"));
  notes_->setReadOnly(true);

  auto* side = new QWidget(this);
  auto* sideLayout = new QVBoxLayout(side);
  sideLayout->setContentsMargins(0, 0, 0, 0);
  sideLayout->addWidget(preview_, 3);
  sideLayout->addWidget(notes_, 2);
  auto* splitter = new QSplitter(this);
  splitter->addWidget(symbols_);
  splitter->addWidget(side);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);

  auto* checkShown = new QPushButton(Text(texts::kicad::kCheckShown), this);
  checkShown->setObjectName(QStringLiteral("checkShown"));
  auto* uncheckShown = new QPushButton(Text(texts::kicad::kUncheckShown), this);
  uncheckShown->setObjectName(QStringLiteral("uncheckShown"));
  chosenCount_ = new QLabel(this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  importButton_ = buttons->button(QDialogButtonBox::Ok);
  importButton_->setText(Text(texts::kicad::kImportButton));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("ｷｬﾝｾﾙ"));

  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(filterLabel);
  filterRow->addWidget(filter_);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(checkShown);
  buttonRow->addWidget(uncheckShown);
  buttonRow->addWidget(chosenCount_);
  buttonRow->addStretch();
  buttonRow->addWidget(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary);
  layout->addLayout(filterRow);
  layout->addWidget(splitter, 1);
  layout->addLayout(buttonRow);
  resize(960, 600);

  filter_->installEventFilter(this);
  connect(filter_, &QLineEdit::textChanged, this, &KicadImportDialog::ApplyFilter);
  connect(symbols_, &QTreeWidget::currentItemChanged, this, &KicadImportDialog::ShowCurrent);
  connect(symbols_, &QTreeWidget::itemChanged, this, &KicadImportDialog::UpdateChosenCount);
  connect(checkShown, &QPushButton::clicked, this, [this] { CheckShown(true); });
  connect(uncheckShown, &QPushButton::clicked, this, [this] { CheckShown(false); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  UpdateChosenCount();
  if (!items_.empty()) symbols_->setCurrentItem(items_.front());
  symbols_->setFocus();
}

bool KicadImportDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == filter_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      symbols_->setFocus();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

std::vector<size_t> KicadImportDialog::Chosen() const {
  std::vector<size_t> chosen;
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->checkState(kSymbolColumn) == Qt::Checked) chosen.push_back(i);
  return chosen;
}

void KicadImportDialog::ApplyFilter(const QString& text) {
  const NameFilter filter(ShiftJisCodec::Encode(text));
  for (size_t i = 0; i < items_.size(); ++i)
    items_[i]->setHidden(!filter.MatchesAll() && !filter.Matches(filterNames_[i]));
}

void KicadImportDialog::CheckShown(bool checked) {
  {
    // One count at the end, not one per row.
    const QSignalBlocker quiet(symbols_);
    for (QTreeWidgetItem* item : items_)
      if (!item->isHidden() && (item->flags() & Qt::ItemIsUserCheckable))
        item->setCheckState(kSymbolColumn, checked ? Qt::Checked : Qt::Unchecked);
  }
  UpdateChosenCount();
}

void KicadImportDialog::ShowCurrent() {
  QTreeWidgetItem* item = symbols_->currentItem();
  if (item == nullptr) {
    preview_->ShowBody(nullptr);
    notes_->clear();
    return;
  }
  const KicadSymbolImport& symbol = import_.symbols[item->data(kSymbolColumn, Qt::UserRole).toULongLong()];
  preview_->ShowBody(symbol.entries.empty() ? nullptr : symbol.entries.front()->body);
  QString heading = Text(symbol.name) + QStringLiteral(": ") + Text(KicadMessages::Outcome(symbol.outcome));
  if (!symbol.extends.empty())
    heading +=
        QStringLiteral(" (") + Text(texts::kicad::kAliasOf).arg(Text(symbol.extends)) + QLatin1Char(')');
  QStringList lines{heading};
  if (!symbol.entries.empty()) lines << QString(PartNames(symbol));
  lines << Notes(symbol);
  notes_->setPlainText(lines.join(QLatin1Char('\n')));
}

void KicadImportDialog::UpdateChosenCount() {
  const size_t chosen = Chosen().size();
  chosenCount_->setText(Text(texts::kicad::kChosenCount).arg(chosen));
  importButton_->setEnabled(chosen > 0);
}

}  // namespace zanli
