#include "app/export_file_dialog.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <utility>

#include "app/plain_file_icon_provider.h"

namespace zanli {

ExportFileDialog::ExportFileDialog(QWidget* parent, const QString& caption, std::vector<Type> types,
                                   const Number& number)
    : QFileDialog(parent, caption), types_(std::move(types)) {
  setObjectName(QStringLiteral("exportFileDialog"));
  // Qt's own dialog, so that the number can stand in it.
  setOption(QFileDialog::DontUseNativeDialog, true);
  setIconProvider(PlainFileIconProvider::Instance());
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  QStringList filters;
  for (const Type& type : types_) filters << type.filter;
  setNameFilters(filters);
  setDefaultSuffix(types_.front().extension);
  connect(this, &QFileDialog::filterSelected, this,
          [this](const QString& filter) { setDefaultSuffix(types_[FilterType(filter)].extension); });

  number_ = new QSpinBox(this);
  number_->setObjectName(QStringLiteral("exportNumber"));
  number_->setRange(number.minimum, number.maximum);
  number_->setValue(number.value);
  auto* label = new QLabel(number.label, this);
  label->setBuddy(number_);
  // Qt's dialog lays its fields out in a grid: one row more at its foot.
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(number_, row, 1, Qt::AlignLeft);
  }
}

size_t ExportFileDialog::FilterType(const QString& filter) const {
  for (size_t i = 0; i < types_.size(); ++i)
    if (types_[i].filter == filter) return i;
  return 0;
}

QString ExportFileDialog::ChosenPath() const { return selectedFiles().value(0); }

size_t ExportFileDialog::ChosenType() const {
  const QString suffix = QFileInfo(ChosenPath()).suffix();
  for (size_t i = 0; i < types_.size(); ++i)
    if (suffix.compare(types_[i].extension, Qt::CaseInsensitive) == 0) return i;
  return FilterType(selectedNameFilter());
}

int ExportFileDialog::ChosenNumber() const { return number_->value(); }

}  // namespace zanli
