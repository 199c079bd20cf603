#include "app/pin_list_paste_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/command_window.h"
#include "app/pin_list_preview.h"
#include "model/part_body.h"
#include "pinlist/pin_list_problem_text.h"
#include "qtshared/shift_jis_codec.h"

namespace zanli {

namespace {

using Kind = PinColumnKind;

// Rows of the list shown in the dialog; the paste takes them all.
constexpr int kShownRows = 200;

int RoleKey(const PinColumnRole& role) { return static_cast<int>(role.kind) * 1000 + role.block; }

PinColumnRole RoleOfKey(int key) { return {static_cast<Kind>(key / 1000), key % 1000}; }

QComboBox* RoleBox(int blocks, const PinColumnRole& chosen) {
  auto* box = new QComboBox;
  box->addItem(QStringLiteral("(無視)"), RoleKey({}));
  for (Kind kind : {Kind::Name, Kind::Side, Kind::Position, Kind::NearBody, Kind::Clock, Kind::Negative})
    box->addItem(ShiftJisCodec::Decode(PinColumnHeader({kind, 0})), RoleKey({kind, 0}));
  for (int b = 0; b < blocks; ++b)
    for (Kind kind : {Kind::Number, Kind::Hidden})
      box->addItem(ShiftJisCodec::Decode(PinColumnHeader({kind, b})), RoleKey({kind, b}));
  box->setCurrentIndex(std::max(0, box->findData(RoleKey(chosen))));
  return box;
}

}  // namespace

PinListPasteDialog::PinListPasteDialog(QWidget* parent, const std::string& text, const PartBody& body,
                                       std::optional<std::pair<PinEdge, int32_t>> insertAt)
    : QDialog(parent),
      cells_(PinListCells::Parse(text)),
      roles_(PinColumnRoles::Detect(cells_)),
      body_(body),
      insertAt_(insertAt) {
  setWindowTitle(QStringLiteral("ﾋﾟﾝ一覧の貼り付け"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("列の内容(&R):")));
  table_ = new QTableWidget;
  layout->addWidget(table_, 1);
  headerBox_ = new QCheckBox(QStringLiteral("先頭行は見出し(&H)"));
  headerBox_->setChecked(roles_.header);
  layout->addWidget(headerBox_);

  auto* where = new QHBoxLayout;
  replaceButton_ = new QRadioButton(QStringLiteral("すべてのﾋﾟﾝを置き換える(&A)"));
  insertButton_ = new QRadioButton(QStringLiteral("選択した行から挿入(&I)"));
  replaceButton_->setChecked(true);
  insertButton_->setEnabled(insertAt_.has_value());
  where->addWidget(replaceButton_);
  where->addWidget(insertButton_);
  where->addStretch();
  layout->addLayout(where);

  preview_ = new PinListPreview;
  auto* scroll = new QScrollArea;
  scroll->setWidget(preview_);
  scroll->setMinimumHeight(200);
  layout->addWidget(scroll, 2);
  status_ = new QLabel;
  layout->addWidget(status_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  okButton_ = buttons->button(QDialogButtonBox::Ok);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  FillTable();
  connect(headerBox_, &QCheckBox::toggled, this, &PinListPasteDialog::Replan);
  connect(replaceButton_, &QRadioButton::toggled, this, &PinListPasteDialog::Replan);
  resize(720, 560);
  Replan();
  // Enter takes the list as chosen.
  okButton_->setDefault(true);
  okButton_->setFocus();
}

PinListPasteDialog::~PinListPasteDialog() = default;

void PinListPasteDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Where no window manager activates it, the keys would go nowhere.
  CommandWindow::TakeKeyboardOnX(this);
}

void PinListPasteDialog::FillTable() {
  int blocks = std::max(body_.blockCount, 1);
  for (const PinColumnRole& role : roles_.roles) blocks = std::max(blocks, role.block + 1);
  const int columns = static_cast<int>(cells_.columnCount);
  const int rows = std::min(static_cast<int>(cells_.rows.size()), kShownRows);
  table_->setColumnCount(columns);
  table_->setRowCount(rows + 1);
  table_->verticalHeader()->setVisible(false);
  for (int c = 0; c < columns; ++c) {
    QComboBox* box = RoleBox(blocks, roles_.roles[static_cast<size_t>(c)]);
    roleBoxes_.push_back(box);
    table_->setCellWidget(0, c, box);
    connect(box, &QComboBox::currentIndexChanged, this, &PinListPasteDialog::Replan);
    for (int r = 0; r < rows; ++r) {
      auto* item = new QTableWidgetItem(
          ShiftJisCodec::Decode(cells_.rows[static_cast<size_t>(r)][static_cast<size_t>(c)]));
      item->setFlags(Qt::ItemIsEnabled);
      table_->setItem(r + 1, c, item);
    }
  }
  table_->resizeColumnsToContents();
}

void PinListPasteDialog::ReadChoices() {
  roles_.header = headerBox_->isChecked();
  for (size_t c = 0; c < roleBoxes_.size(); ++c)
    roles_.roles[c] = RoleOfKey(roleBoxes_[c]->currentData().toInt());
  destination_ = PinListDestination{};
  if (insertButton_->isChecked() && insertAt_) {
    destination_.replaceAll = false;
    destination_.edge = insertAt_->first;
    destination_.position = insertAt_->second;
  }
}

void PinListPasteDialog::Replan() {
  ReadChoices();
  plan_ = PinListPlan::Make(cells_, roles_, body_, destination_);
  preview_->SetBody(plan_.ResultBody(body_, destination_));
  const bool ok = plan_.problem == PinListProblem::None;
  status_->setText(ok ? QStringLiteral("%1 本のﾋﾟﾝ、部品の大きさ %2 x %3")
                            .arg(plan_.pins.size())
                            .arg(plan_.attributes.xSize)
                            .arg(plan_.attributes.ySize)
                      : QString::fromUtf8(PinListProblemText(plan_)));
  okButton_->setEnabled(ok);
}

}  // namespace zanli
