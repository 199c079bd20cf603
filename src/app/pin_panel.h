#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "document/library_document.h"

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zanli {

class DialogUnits;
class PartListBox;
class PartView;

// The block selector and the fields that edit the pin under the part view's
// cursor. Edits wait in the fields (the numbers of other blocks in the
// buffer) until the update-pin command turns them into a document step; a
// move of the cursor or another part drops them. The panel shows the body of
// the part list's selected row, which the part view shows too.
class PinPanel : public QWidget {
  Q_OBJECT

 public:
  // Enough for every block the readers and the attribute dialog allow.
  static constexpr int kMaxBlocks = LibraryDocument::kMaxBlocks;

  // Hands a step to whoever keeps the history; called only for done steps.
  using CommitStep = std::function<void(EditResult)>;

  // The controls stand where the window's dialog layout puts them; `origin`
  // is this widget's top-left corner in the same pixels.
  PinPanel(QWidget* parent, const DialogUnits& units, QPoint origin, LibraryDocument& document,
           PartListBox& list, PartView& view, CommitStep commit);

  void UpdateBlockBox();
  PinInfo* FindPin(PinEdge edge, int32_t position) const;
  void ShowPinAtCursor();
  void EnablePinFields(bool blank);
  void LoadPinFields(const PinInfo* pin);
  // The update-pin command (Enter, "ﾋﾟﾝの更新").
  void UpdatePin();
  // The cancel-pin-change command (Esc, "ﾋﾟﾝ変更のｷｬﾝｾﾙ").
  void CancelPinChange();
  void InsertBlankPin();
  void DeletePinAndCloseUp();

  // The pin name and number fields keep the command keys for editing.
  bool IsTextField(const QObject* object) const;
  // The enabled check box whose mnemonic the key is, if any.
  QCheckBox* MnemonicBox(const QKeyEvent* event) const;
  // The panel's controls in tab order.
  std::vector<QWidget*> TabOrder() const;

  const std::string& pinNumberBuffer(int block) const { return pinNumbers_.at(static_cast<size_t>(block)); }

 signals:
  // The update-pin button was pressed; the window runs the command.
  void updateRequested();
  void cancelRequested();

 private:
  void OnBlankPinClicked(bool checked);
  void OnFlagBoxClicked(QCheckBox* box, bool checked);
  void OnBlockChanged(int block);
  void OnPinNumberEdited(const QString& text);

  int SelectedRow() const;
  // The shown body's block count, capped to the buffer; 1 without a body.
  int ShownBlockCount() const;
  // The number field and hide box as a buffer entry ("H"/"D" + text).
  std::string NumberFieldsAsEntry() const;
  void LoadNumberFields(int block);

  LibraryDocument& document_;
  PartListBox& list_;
  PartView& view_;
  CommitStep commit_;
  std::array<std::string, kMaxBlocks> pinNumbers_{};

  QLabel* blockLabel_ = nullptr;
  QSpinBox* blockBox_ = nullptr;
  QCheckBox* blankPinBox_ = nullptr;
  QPushButton* updatePinButton_ = nullptr;
  QPushButton* cancelPinButton_ = nullptr;
  QLabel* pinNameLabel_ = nullptr;
  QLineEdit* pinNameEdit_ = nullptr;
  QCheckBox* nearBodyBox_ = nullptr;
  QCheckBox* clockBox_ = nullptr;
  QCheckBox* negativeLogicBox_ = nullptr;
  QLabel* pinNumberLabel_ = nullptr;
  QLineEdit* pinNumberEdit_ = nullptr;
  QCheckBox* hideNumberBox_ = nullptr;
};

}  // namespace zanli
