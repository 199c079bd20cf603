#include "app/pin_table_model.h"

#include "model/part_body.h"
#include "pinlist/pin_table_text.h"
#include "qtshared/shift_jis_codec.h"

namespace zanli {

namespace {

// A barred character shows with a combining overline, as the symbol draws
// it with a bar.
QString ShownName(const std::string& name) {
  const QString text = ShiftJisCodec::Decode(name);
  QString shown;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\' && i + 1 < text.size()) {
      shown += text[++i];
      shown += QChar(0x0305);
    } else {
      shown += text[i];
    }
  }
  return shown;
}

}  // namespace

PinTableModel::PinTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void PinTableModel::SetBody(const PartBody* body) {
  body_ = body;
  Refresh();
}

void PinTableModel::Refresh() {
  beginResetModel();
  pins_ = body_ ? PinsInCursorOrder(*body_) : std::vector<const PinInfo*>();
  blocks_ = body_ ? body_->blockCount : 0;
  endResetModel();
}

const PinInfo* PinTableModel::PinAt(int row) const {
  return row >= 0 && static_cast<size_t>(row) < pins_.size() ? pins_[static_cast<size_t>(row)] : nullptr;
}

int PinTableModel::RowAt(PinEdge edge, int32_t position) const {
  for (size_t i = 0; i < pins_.size(); ++i)
    if (pins_[i]->edge == edge && pins_[i]->position == position) return static_cast<int>(i);
  return -1;
}

PinColumnRole PinTableModel::RoleOf(int column) {
  using Kind = PinColumnKind;
  switch (column) {
    case kSide:
      return {Kind::Side, 0};
    case kPosition:
      return {Kind::Position, 0};
    case kName:
      return {Kind::Name, 0};
    case kNearBody:
      return {Kind::NearBody, 0};
    case kClock:
      return {Kind::Clock, 0};
    case kNegative:
      return {Kind::Negative, 0};
    default:
      return {Kind::Number, column - kFirstNumber};
  }
}

int PinTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(pins_.size());
}

int PinTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !body_ ? 0 : kFirstNumber + blocks_;
}

QVariant PinTableModel::data(const QModelIndex& index, int role) const {
  const PinInfo* pin = PinAt(index.row());
  if (pin == nullptr) return {};
  const int column = index.column();
  const auto flag = [&](int32_t bit) { return (pin->flags & bit) != 0 ? Qt::Checked : Qt::Unchecked; };
  if (role == Qt::CheckStateRole) {
    switch (column) {
      case kNearBody:
        return flag(PinFlag::NumberNearBody);
      case kClock:
        return flag(PinFlag::Clock);
      case kNegative:
        return flag(PinFlag::NegativeLogic);
      default:
        break;
    }
    if (column < kFirstNumber) return {};
    const size_t block = static_cast<size_t>(column - kFirstNumber);
    const bool hidden = block < pin->numbers.size() && pin->numbers[block].starts_with('H');
    return hidden ? Qt::Checked : Qt::Unchecked;
  }
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  switch (column) {
    case kSide:
      return ShiftJisCodec::Decode(std::string(PinSideWord(pin->edge)));
    case kPosition:
      // As text, so the editor takes any number and the window judges it.
      return QString::number(pin->position);
    case kName:
      return role == Qt::EditRole ? ShiftJisCodec::Decode(pin->name) : ShownName(pin->name);
    case kNearBody:
    case kClock:
    case kNegative:
      return {};
    default: {
      const size_t block = static_cast<size_t>(column - kFirstNumber);
      if (block >= pin->numbers.size() || pin->numbers[block].empty()) return QString();
      return ShiftJisCodec::Decode(std::string(pin->numbers[block].substr(1)));
    }
  }
}

QVariant PinTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  return ShiftJisCodec::Decode(PinColumnHeader(RoleOf(section)));
}

Qt::ItemFlags PinTableModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (!index.isValid()) return flags;
  const int column = index.column();
  if (column == kNearBody || column == kClock || column == kNegative) return flags | Qt::ItemIsUserCheckable;
  flags |= Qt::ItemIsEditable;
  if (column >= kFirstNumber) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

bool PinTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  const PinInfo* pin = PinAt(index.row());
  if (pin == nullptr || (role != Qt::EditRole && role != Qt::CheckStateRole)) return false;
  emit editRequested(static_cast<int>(pin->edge), pin->position, index.column(), value, role);
  return false;
}

}  // namespace zanli
