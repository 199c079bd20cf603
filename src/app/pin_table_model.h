#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "model/pin_info.h"
#include "pinlist/pin_column_roles.h"

namespace zanli {

class PartBody;

// The pins of one body as table rows, in the order the pin cursor runs
// around it: side, position, name, the three flags as check boxes and one
// number per block, whose check box is its hidden mark. The model only
// reads the body; an edit in a cell comes out as editRequested, and the
// table follows the document once the edit is done (Refresh).
class PinTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The first columns; the numbers of the blocks follow.
  enum Column : int { kSide, kPosition, kName, kNearBody, kClock, kNegative, kFirstNumber };

  explicit PinTableModel(QObject* parent = nullptr);

  // Shows another body (or none).
  void SetBody(const PartBody* body);
  const PartBody* body() const { return body_; }
  // The body's pins changed: rows read afresh.
  void Refresh();
  // The pin of a row; null out of range.
  const PinInfo* PinAt(int row) const;
  // The row of the first pin at the place, or -1.
  int RowAt(PinEdge edge, int32_t position) const;
  // What a column holds, as the paste and the copy name it.
  static PinColumnRole RoleOf(int column);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Asks for the edit and changes nothing itself.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 signals:
  // A cell's new text (Qt::EditRole) or check state (Qt::CheckStateRole),
  // for the pin at that place (the edge as an int).
  void editRequested(int edge, int position, int column, const QVariant& value, int role);

 private:
  const PartBody* body_ = nullptr;
  std::vector<const PinInfo*> pins_;
  int blocks_ = 0;
};

}  // namespace zanli
