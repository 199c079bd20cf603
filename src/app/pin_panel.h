#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/pin_cursor.h"
#include "model/limits.h"
#include "model/pin_info.h"

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zanli {

class DialogUnits;
class LibraryDocument;
class PartBody;

// The block selector and the fields that edit the pin under the cursor that
// the main window hands it. Edits wait in the fields (the numbers of other
// blocks in the buffer) until the update-pin command asks the window to
// apply them; the next cursor the window hands over drops them. The panel
// reads the library through the document and changes nothing itself.
class PinPanel : public QWidget {
  Q_OBJECT

 public:
  // The controls stand where the window's dialog layout puts them; `origin`
  // is this widget's top-left corner in the same pixels.
  PinPanel(QWidget* parent, const DialogUnits& units, QPoint origin, const LibraryDocument& document);

  // Shows the pin at the cursor, or a blank pin where there is none, with
  // the block selector on the cursor's block; edits not applied are dropped.
  void ShowPinAtCursor(const PinCursor& cursor);
  // The update-pin command (Enter, "ﾋﾟﾝの更新"): asks for the fields' pin.
  void UpdatePin();

  // The pin name and number fields keep the command keys for editing.
  bool IsTextField(const QObject* object) const;
  // The enabled check box whose mnemonic the key is, if any.
  QCheckBox* MnemonicBox(const QKeyEvent* event) const;
  // The panel's controls in tab order.
  std::vector<QWidget*> TabOrder() const;

 signals:
  // The fields' pin for the cursor's position; none: the position is to be
  // free. Only while the cursor's entry has a body.
  void editRequested(const std::optional<PinData>& pin);
  // The cancel-pin-change button was pressed.
  void cancelRequested();
  // The user chose another block (0-based); the panel shows it already.
  void blockChanged(int block);

 private:
  void UpdateBlockBox();
  void EnablePinFields(bool blank);
  void LoadPinFields(const PinInfo* pin);
  void OnBlankPinClicked(bool checked);
  void OnFlagBoxClicked(QCheckBox* box, bool checked);
  void OnBlockChanged(int block);
  void OnPinNumberEdited(const QString& text);
  // The shown body's block count, capped to the buffer; 1 without a body.
  int ShownBlockCount() const;
  // The number field and hide box as a buffer entry ("H"/"D" + text).
  std::string NumberFieldsAsEntry() const;
  void LoadNumberFields(int block);

  const LibraryDocument& document_;
  // What the last cursor handed over showed: the body of its entry and the
  // block. The body stays valid while it is shown, whatever rows do.
  const PartBody* body_ = nullptr;
  int32_t block_ = 0;
  // One number per block as PinInfo::numbers holds them; enough for every
  // block count the model allows.
  std::array<std::string, limits::kMaxBlocks> pinNumbers_{};

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
