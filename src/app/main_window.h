#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "model/library.h"

class QAction;
class QCheckBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QSpinBox;

namespace zanli {

class PartListBox;
class PartView;

// The library editor's one window: the part list on the left, the block
// selector, the pin panel and the part view on the right. It owns the library
// for its whole life. A dialog, so that Enter applies the pin edit and Esc
// drops it; only the close path ends it.
class MainWindow : public QDialog {
  Q_OBJECT

 public:
  // Enough for every block the readers and the attribute dialog allow.
  static constexpr int kMaxBlocks = 256;

  // Command ids of the menu; action(id) finds their QAction.
  enum Command : int {
    kFileNew = 57600,
    kFileOpen = 57601,
    kFileSave = 57603,
    kFileSaveAs = 57604,
    kAppExit = 57665,
    kEditCut = 57635,
    kEditCopy = 57634,
    kEditPaste = 57637,
    kEditDelete = 57632,
    kNewPart = 32772,
    kRenamePart = 32776,
    kNewAlias = 32773,
    kPartAttributes = 32771,
    kInsertBlankPin = 32775,
    kDeletePinAndCloseUp = 32774,
    kEditPatterns = 32787,
    kAppAbout = 57664,
  };

  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  Library& library() { return library_; }
  const Library& library() const { return library_; }

  // --- window (main_window.cpp) ---
  void UpdateTitle();
  // Colours red every row that names the body of `row`, the others in the
  // normal text colour.
  void MarkBodyRows(int row);
  // The part view shows `body` (or nothing) from its origin, the pin panel the
  // position under the reset cursor.
  void ShowPart(PartBody* body);
  // Fills the part list from the library's entries and shows the first one.
  void FillPartListFromEntries();
  // Rebuilds the library's entries from the part list, in list order.
  void RebuildEntriesFromList();
  // Greys or enables the menu items for the current focus and selection.
  void UpdateCommandStates();

  // --- files (main_window_files.cpp) ---
  // Asks whether to save unsaved changes; true when the caller may go on.
  bool SaveModified();
  void NewLibrary();
  bool OpenLibrary();
  bool SaveLibrary();
  bool SaveLibraryAs();
  void SetLibraryPath(const std::string& path);
  // The editor chooses the format by extension: ".LB3" in any case is text.
  static bool IsTextLibraryPath(const std::string& path);

  // --- pin panel (main_window_pins.cpp) ---
  void UpdateBlockBox();
  PinInfo* FindPin(PinEdge edge, int32_t position) const;
  void ShowPinAtCursor();
  void EnablePinFields(bool blank);
  void LoadPinFields(const PinInfo* pin);
  void UpdatePin();
  void CancelPinChange();
  void InsertBlankPin();
  void DeletePinAndCloseUp();

  // The children, for the part and clipboard commands and for tests.
  PartListBox* partList = nullptr;
  PartView* partView = nullptr;

  QCheckBox* blankPinBox() const { return blankPinBox_; }
  QLineEdit* pinNameEdit() const { return pinNameEdit_; }
  QCheckBox* nearBodyBox() const { return nearBodyBox_; }
  QCheckBox* clockBox() const { return clockBox_; }
  QCheckBox* negativeLogicBox() const { return negativeLogicBox_; }
  QLineEdit* pinNumberEdit() const { return pinNumberEdit_; }
  QCheckBox* hideNumberBox() const { return hideNumberBox_; }
  QSpinBox* blockBox() const { return blockBox_; }
  QPushButton* updatePinButton() const { return updatePinButton_; }
  QPushButton* cancelPinButton() const { return cancelPinButton_; }
  QWidget* client() const { return client_; }
  QMenuBar* menuBar() const { return menuBar_; }
  QAction* action(int id) const;
  const std::string& pinNumberBuffer(int block) const { return pinNumbers_.at(static_cast<size_t>(block)); }

 public slots:
  // The dialog's Cancel: drops the pin edit; ends the window only once a
  // close has been confirmed.
  void reject() override;
  // The dialog's OK: applies the pin edit.
  void accept() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // Context menus (the part list forwards its own) have nothing to offer.
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // main_window_setup.cpp
  void CreateControls();
  void CreateMenu();
  QAction* AddCommand(QMenu* menu, int id, const QString& text, const QKeySequence& key = {});
  void SetTabOrder();
  void LayoutChildren();
  // Whether the key is one of the menu's shortcuts.
  bool IsAcceleratorKey(const QKeyEvent* event) const;
  // The enabled pin-panel check box whose mnemonic the key is, if any.
  QCheckBox* MnemonicBox(const QKeyEvent* event) const;

  // Handlers of child notifications and controls.
  void OnListSelectionChanged();
  void OnListOrderChanged();
  void OnViewCursorMoved();
  void OnBlankPinClicked(bool checked);
  void OnFlagBoxClicked(QCheckBox* box, bool checked);
  void OnBlockChanged(int block);
  void OnPinNumberEdited(const QString& text);
  void ShowAbout();
  // Runs a modal dialog, then gives the keyboard back to this window.
  int RunModal(QDialog& dialog);
  // On an X server without a window manager nobody activates a new window or
  // gives the focus back when a dialog closes: it falls to the root window and
  // keys would go nowhere until the user clicks. Elsewhere this does nothing.
  void TakeKeyboardOnX();
  void ShowWarning(const QString& text);  // exclamation icon, OK only

  // Number of blocks the panel works with: the shown body's count, capped to
  // the buffer.
  int ShownBlockCount() const;
  // The number field and hide box as a buffer entry ("H"/"D" + text).
  std::string NumberFieldsAsEntry() const;
  void LoadNumberFields(int block);
  void ReportReadFailure(const std::string& path);
  void ReportWriteFailure(int messageIndex);

  Library library_;
  std::array<std::string, kMaxBlocks> pinNumbers_{};
  bool closing_ = false;

  QMenuBar* menuBar_ = nullptr;
  QWidget* client_ = nullptr;
  QFrame* line1000_ = nullptr;  // under the menu bar
  QFrame* line1003_ = nullptr;  // between the columns
  QFrame* line1008_ = nullptr;  // above the part view
  QFrame* line1011_ = nullptr;  // under the block selector
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
  QSize minimumClientSize_;
  std::map<int, QAction*> actions_;
};

}  // namespace zanli
