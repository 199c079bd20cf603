#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pinlist/pin_column_roles.h"
#include "pinlist/pin_list_cells.h"
#include "pinlist/pin_list_plan.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace zanli {

class PartBody;
class PinListPreview;

// Asks how a pasted pin list becomes pins: the role of each column (chosen
// from the header words and the values to start with), whether the first
// row is a header, and where the rows go (in place of all pins, or inserted
// at the selected row); shows the symbol that results and why a list
// cannot be pasted. OK is offered only for a list that can be.
class PinListPasteDialog : public QDialog {
  Q_OBJECT

 public:
  // `text` is Shift-JIS; `body` is the part the pins go to (a default body
  // for a new part), `insertAt` the place of the selected row, if any.
  PinListPasteDialog(QWidget* parent, const std::string& text, const PartBody& body,
                     std::optional<std::pair<PinEdge, int32_t>> insertAt);
  ~PinListPasteDialog() override;

  const PinListPlan& plan() const { return plan_; }
  const PinListDestination& destination() const { return destination_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FillTable();
  void ReadChoices();
  void Replan();

  PinListCells cells_;
  PinColumnRoles roles_;
  const PartBody& body_;
  std::optional<std::pair<PinEdge, int32_t>> insertAt_;
  PinListDestination destination_;
  PinListPlan plan_;

  QTableWidget* table_ = nullptr;
  std::vector<QComboBox*> roleBoxes_;
  QCheckBox* headerBox_ = nullptr;
  QRadioButton* replaceButton_ = nullptr;
  QRadioButton* insertButton_ = nullptr;
  PinListPreview* preview_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* okButton_ = nullptr;
};

}  // namespace zanli
