// The pin panel: the block selector and the fields that edit the pin under
// the part view's cursor. Edits wait in the fields (numbers of other blocks
// in the buffer) until the update-pin command writes them into the body.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <climits>
#include <cstdint>

#include "app/main_window.h"
#include "app/part_view.h"
#include "app/shift_jis_codec.h"

namespace zanli {

int MainWindow::ShownBlockCount() const {
  const PartBody* body = partView->Part();
  if (body == nullptr) return 1;
  return std::clamp(body->blockCount, 1, kMaxBlocks);
}

void MainWindow::UpdateBlockBox() {
  const int n = ShownBlockCount();
  const QSignalBlocker blocker(blockBox_);
  blockBox_->setRange(1, n);
  blockBox_->setValue(partView->GetBlock() + 1);
  blockBox_->setEnabled(n != 1);
}

PinInfo* MainWindow::FindPin(PinEdge edge, int32_t position) const {
  const PartBody* body = partView->Part();
  return body == nullptr ? nullptr : body->FindPin(edge, position);
}

void MainWindow::ShowPinAtCursor() {
  const PinInfo* pin = FindPin(partView->CursorEdge(), partView->CursorPosition());
  blankPinBox_->setChecked(pin == nullptr);
  EnablePinFields(pin == nullptr);
  LoadPinFields(pin);
}

void MainWindow::EnablePinFields(bool blank) {
  const bool firstBlock = partView->GetBlock() == 0;
  blankPinBox_->setEnabled(partView->Part() != nullptr && firstBlock);
  for (QWidget* w : std::initializer_list<QWidget*>{pinNameLabel_, pinNameEdit_, nearBodyBox_, clockBox_,
                                                    negativeLogicBox_})
    w->setEnabled(!blank && firstBlock);
  for (QWidget* w : std::initializer_list<QWidget*>{pinNumberLabel_, pinNumberEdit_, hideNumberBox_})
    w->setEnabled(!blank);
}

void MainWindow::LoadNumberFields(int block) {
  const std::string& entry = pinNumbers_[static_cast<size_t>(block)];
  hideNumberBox_->setChecked(!entry.empty() && entry[0] == 'H');
  pinNumberEdit_->setText(entry.empty() ? QString() : ShiftJisCodec::Decode(entry.substr(1)));
}

std::string MainWindow::NumberFieldsAsEntry() const {
  // Appended rather than prefixed: GCC 12 at -O3 warns falsely (-Wrestrict)
  // on `const char* + std::string&&`.
  std::string entry(1, hideNumberBox_->isChecked() ? 'H' : 'D');
  entry += ShiftJisCodec::Encode(pinNumberEdit_->text());
  return entry;
}

void MainWindow::LoadPinFields(const PinInfo* pin) {
  const size_t n = static_cast<size_t>(ShownBlockCount());
  if (pin == nullptr) {
    std::fill_n(pinNumbers_.begin(), n, std::string("D"));
    pinNameEdit_->clear();
    for (QCheckBox* box : {nearBodyBox_, clockBox_, negativeLogicBox_, hideNumberBox_})
      box->setChecked(false);
    pinNumberEdit_->clear();
    return;
  }
  // A pin read from a broken file may hold fewer numbers than blocks.
  for (size_t i = 0; i < n; ++i) pinNumbers_[i] = i < pin->numbers.size() ? pin->numbers[i] : std::string();
  pinNameEdit_->setText(ShiftJisCodec::Decode(pin->name));
  LoadNumberFields(partView->GetBlock());
  nearBodyBox_->setChecked((pin->flags & PinFlag::NumberNearBody) != 0);
  clockBox_->setChecked((pin->flags & PinFlag::Clock) != 0);
  negativeLogicBox_->setChecked((pin->flags & PinFlag::NegativeLogic) != 0);
}

void MainWindow::OnBlankPinClicked(bool checked) {
  EnablePinFields(checked);
  LoadPinFields(nullptr);
}

void MainWindow::OnFlagBoxClicked(QCheckBox* box, bool checked) {
  // Near the body excludes both marks; the two marks may be combined.
  if (!checked) return;
  if (box == nearBodyBox_) {
    clockBox_->setChecked(false);
    negativeLogicBox_->setChecked(false);
  } else {
    nearBodyBox_->setChecked(false);
  }
}

void MainWindow::OnBlockChanged(int block) {
  const int n = ShownBlockCount();
  if (partView->Part() == nullptr || block < 1 || block > n) return;
  const int old = partView->GetBlock();
  partView->SetBlock(block - 1);
  EnablePinFields(blankPinBox_->isChecked());
  if (blankPinBox_->isChecked()) {
    hideNumberBox_->setChecked(false);
    pinNumberEdit_->clear();
    return;
  }
  pinNumbers_[static_cast<size_t>(old)] = NumberFieldsAsEntry();
  LoadNumberFields(block - 1);
}

void MainWindow::OnPinNumberEdited(const QString& text) {
  // Letters typed into the number become capitals at once.
  const QString upper = text.toUpper();
  if (upper == text) return;
  const int cursor = pinNumberEdit_->cursorPosition();
  pinNumberEdit_->setText(upper.left(pinNumberEdit_->maxLength()));
  pinNumberEdit_->setCursorPosition(std::min<int>(cursor, static_cast<int>(pinNumberEdit_->text().size())));
}

void MainWindow::UpdatePin() {
  PartBody* body = partView->Part();
  if (body == nullptr) return;
  const PinEdge edge = partView->CursorEdge();
  const int32_t position = partView->CursorPosition();
  PinInfo* pin = FindPin(edge, position);
  if (blankPinBox_->isChecked()) {
    if (pin != nullptr) {
      body->RemovePin(pin);
      partView->InvalidatePin(edge, position);
      library_.modified = true;
    }
    partView->setFocus();
    return;
  }
  const int n = ShownBlockCount();
  if (pin == nullptr) {
    auto fresh = std::make_unique<PinInfo>(body->blockCount);
    fresh->edge = edge;
    fresh->position = position;
    pin = body->AddPin(std::move(fresh));
  }
  pinNumbers_[static_cast<size_t>(partView->GetBlock())] = NumberFieldsAsEntry();
  pin->numbers.resize(static_cast<size_t>(std::max(body->blockCount, 0)));
  for (int i = 0; i < n && i < static_cast<int>(pin->numbers.size()); ++i)
    pin->numbers[static_cast<size_t>(i)] = pinNumbers_[static_cast<size_t>(i)];
  pin->name = ShiftJisCodec::Encode(pinNameEdit_->text());
  if (nearBodyBox_->isChecked())
    pin->flags = PinFlag::NumberNearBody;
  else
    pin->flags = (clockBox_->isChecked() ? PinFlag::Clock : 0) |
                 (negativeLogicBox_->isChecked() ? PinFlag::NegativeLogic : 0);
  partView->InvalidatePin(edge, position);
  library_.modified = true;
  partView->setFocus();
}

void MainWindow::CancelPinChange() {
  if (closing_) QDialog::reject();
  if (partView->Part() == nullptr) return;
  ShowPinAtCursor();
  partView->setFocus();
}

void MainWindow::InsertBlankPin() {
  PartBody* body = partView->Part();
  if (body == nullptr) return;
  const PinEdge edge = partView->CursorEdge();
  const int32_t position = partView->CursorPosition();
  for (auto& pin : body->pins)
    if (pin->edge == edge && pin->position >= position && pin->position < INT32_MAX) ++pin->position;
  blankPinBox_->setChecked(true);
  EnablePinFields(true);
  LoadPinFields(nullptr);
  partView->viewport()->update();
  library_.modified = true;
}

void MainWindow::DeletePinAndCloseUp() {
  PartBody* body = partView->Part();
  if (body == nullptr) return;
  const PinEdge edge = partView->CursorEdge();
  const int32_t position = partView->CursorPosition();
  std::erase_if(body->pins, [&](const auto& pin) { return pin->edge == edge && pin->position == position; });
  for (auto& pin : body->pins)
    if (pin->edge == edge && pin->position > position) --pin->position;
  ShowPinAtCursor();
  partView->viewport()->update();
  library_.modified = true;
}

}  // namespace zanli
