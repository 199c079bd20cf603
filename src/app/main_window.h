#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_window.h"
#include "app/library_check_dialog.h"
#include "app/pin_cursor.h"
#include "app/test_access.h"
#include "check/check_problem.h"
#include "document/document_observer.h"
#include "document/library_document.h"
#include "fileio/library_file_result.h"

class QAction;
class QFrame;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QUndoStack;

namespace zanli {

class PartListBox;
class PartView;
class PinPanel;
class PinTableWindow;

// The library editor's one window: the part list on the left, the block
// selector, the pin panel and the part view on the right, the menu on top.
// It owns the document, its history and the pin cursor; the children are
// views of the document that report what the user asks for, and the window
// turns that into the document's operations. A dialog, so that Enter applies
// the pin edit and Esc drops it; only the close path ends it.
class MainWindow : public CommandWindow, private DocumentObserver {
  Q_OBJECT

 public:
  // Command ids of the menu; action(id) finds their QAction.
  enum Command : int {
    kFileNew = 57600,
    kFileOpen = 57601,
    kFileSave = 57603,
    kFileSaveAs = 57604,
    kAppExit = 57665,
    kEditUndo = 57643,
    kEditRedo = 57644,
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
    kCheckLibrary = 32801,
    kExportPicture = 32810,
    kExportCatalog = 32811,
    kFindPart = 32812,
    kImportKicad = 32820,
    kExportKicad = 32821,
    kPinTable = 32802,
    kNewPartFromPins = 32803,
    kAppAbout = 57664,
  };

  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // Reads `path` and shows it; a failure shows the read-failure message and
  // leaves the open library, its history and its views as they were.
  bool OpenLibraryFile(const std::string& path);

 signals:
  void partViewZoomChanged(int factor);

 public slots:
  // The dialog's Cancel: drops the pin edit; ends the window only once a
  // close has been confirmed.
  void reject() override;
  // The dialog's OK: applies the pin edit.
  void accept() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Context menus (the part list forwards its own) have nothing to offer.
  void contextMenuEvent(QContextMenuEvent* event) override;
  void LayoutChildren() override;
  bool OfferKey(QObject* watched, const QKeyEvent& key) override;
  // Also the zoom keys and the pin panel's check-box mnemonics.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend struct TestAccess<MainWindow>;

  LibraryDocument& document() { return document_; }
  const Library& library() const { return document_.library(); }
  QUndoStack& undoStack() { return *undoStack_; }
  // Unsaved changes: the history is away from the state last saved or read.
  bool IsModified() const;

  // --- window (main_window.cpp) ---
  void UpdateTitle();
  // Colours red every row that names the body of `row`, the others in the
  // normal text colour.
  void MarkBodyRows(int row);
  // The part view shows the body of `row` (or nothing) from its origin, the
  // pin panel the position under the reset cursor.
  void ShowPart(int row);
  // Greys or enables the menu items for the current focus and selection.
  void UpdateCommandStates();
  // Puts a done step on the history; with `show`, the views go where the
  // step's redo would take them (the new row selected and shown, say).
  // A pin step made in a block (1-based) shows that block when undone or
  // redone.
  void CommitStep(EditResult result, bool show = false, int block = 0);

  // --- files (main_window_files.cpp) ---
  // Asks whether to save unsaved changes; true when the caller may go on.
  bool SaveModified();
  void NewLibrary();
  bool OpenLibrary();
  bool SaveLibrary();
  bool SaveLibraryAs();
  // Written: the file holds the library, which is named after it and saved.
  // Declined: the user chose not to accept what the format would change.
  // Failed: the failure was shown; nothing changed.
  enum class WriteOutcome { Written, Declined, Failed };
  // Writes the library to `path` in the format its extension chooses,
  // checked as it is written; the file replaces the previous one only once
  // the user has accepted what the check found.
  WriteOutcome WriteLibrary(const std::string& path);
  // Asks when the written file would change the library or when the check
  // could not run; true when the save may go on, with `changes` set when
  // the user accepted that the file may hold less.
  bool ConfirmSaveLosses(const CheckReport& losses, bool& changes);
  void SetLibraryPath(const std::string& path);
  // The File menu's list of the last libraries, numbered "&1 name" …
  void UpdateRecentMenu();

  // --- KiCad symbol libraries (main_window_kicad.cpp) ---
  // A file's symbols, shown with their outcomes and chosen by the user, into
  // the open library as one step, names made clear of the library's.
  void ImportKicad();
  // The library, or the selected part with its aliases, to one file.
  void ExportKicad();

  // --- part commands (main_window_parts.cpp) ---
  void NewPart();
  void RenamePart();
  void NewAlias();
  void EditPartAttributes();
  // Delete, cut and copy act on the selected row while the list has the
  // keyboard focus; paste inserts before it.
  void DeletePart();
  void CopyPart();
  void CutPart();
  void PastePart();
  // Puts a delete or a cut on the history and selects the row that follows.
  void CommitRemoval(EditResult result);
  // The checker's window: design problems and what a save would change.
  void CheckLibrary();
  // Selects the problem's entry and puts the cursor on its pin and block,
  // or says that they are gone.
  void ShowProblem(const LibraryCheckDialog::Target& target);

  // --- exports (main_window_export.cpp) ---
  // The shown part in its shown block as a PNG or SVG file, drawn as the
  // part view draws it at the zoom the user picks.
  void ExportPicture();
  // Every part on A4 pages of a PDF, under a progress dialog that cancels.
  void ExportCatalog();

  // --- pin table (main_window_pins.cpp) ---
  // Shows the pin table beside the window, made on first use.
  void ShowPinTable();
  // A new part named by the user from the pin list on the clipboard, as
  // the paste dialog makes it: one step.
  void NewPartFromPins();
  // The pin panel and the pin table show the cursor's pin.
  void ShowPinAtCursor();

  // --- patterns (main_window_patterns.cpp) ---
  // Opens the pattern editor on the shown part's pattern; what the session
  // changed becomes one step of the history.
  void EditPatterns();

  // --- part view zoom (main_window_zoom.cpp) ---
  // The part view's magnification, 1 to 4, remembered between runs under
  // "partView/zoom". Ctrl++ (Ctrl+=, Ctrl+Shift+=) and Ctrl+- step it while
  // the focus is anywhere in the window but the pin fields, which keep their
  // keys; Ctrl + wheel over the view steps it too.
  void SetPartViewZoom(int factor);
  int PartViewZoom() const;

  // DocumentObserver: keeps the views in step with every change.
  void EntryInserted(int row) override;
  void EntryRemoved(int row) override;
  void EntryMoved(int from, int to) override;
  void EntryRenamed(int row) override;
  void PinChanged(const PartBody* body, PinEdge edge, int32_t position) override;
  void BodyChanged(const PartBody* body) override;
  void PatternsChanged() override;
  void LibraryReplaced() override;

  // main_window_setup.cpp
  void CreateControls();
  void CreateMenu();
  void SetTabOrder();
  // The Edit menu names the step that Undo and Redo would take.
  void UpdateUndoTexts();

  // main_window_zoom.cpp
  void RestorePartViewZoom();
  void StorePartViewZoom() const;
  // A zoom key pressed in this window; true when it was taken.
  bool TakeZoomKey(QObject* watched, QEvent* event);

  // Handlers of child notifications.
  void OnListSelectionChanged();
  // Shows the list's selected row, as a click on it would.
  void ShowSelectedRow();
  // Esc clears the filter field (then leaves it for the list); Enter, Down
  // and Page Down go on to the list. True when the key was taken.
  bool TakeFilterKey(QObject* watched, QEvent* event);
  void OnListMoveRequested(int from, int to);
  void OnViewCursorMoved();
  void OnPinEditRequested(const std::optional<PinData>& pin);
  void OnPinBlockChanged(int block);
  // The pin commands at the cursor: Esc, Ctrl+I and Ctrl+D.
  void CancelPinChange();
  void InsertBlankPin();
  void DeletePinAndCloseUp();
  // Puts the cursor on a place of the shown part (ignored off its edges),
  // scrolls it into view and shows the pin there.
  void PlaceCursor(PinEdge edge, int32_t position);
  // Entry rows moved under the cursor: it stays on the selected row, which
  // follows its entry, while that names the shown body.
  void FollowEntryRows();
  // After an undo or a redo: select the step's entry, show its body, and
  // put the cursor on its pin.
  void ApplyFocus(const DocumentFocus& focus, int block = 0);
  void ShowAbout();
  // A library of the recent list: opened, or taken off the list with the
  // read-failure message when it is gone.
  void OpenRecent(const QString& path);
  // The folder the file dialogs start in: the last one used.
  static QString LastFolder();
  static void RememberFolder(const QString& path);
  // Pastes a decoded part: settles its names and its pattern with the user.
  void PasteDecodedPart(std::string name, std::unique_ptr<PartBody> body, std::unique_ptr<Pattern> pattern);
  bool ListHasFocus() const;
  // Asking the clipboard may wait for another program, so the answer is kept
  // and asked again only when the clipboard changes, the list gains the
  // focus or the Edit menu opens, not at every key.
  void CheckClipboard();

  LibraryDocument document_;
  QUndoStack* undoStack_ = nullptr;
  // The one pin cursor: the part view draws it, the pin panel edits there.
  PinCursor cursor_;
  bool closing_ = false;
  bool clipboardOffersPart_ = false;

  QFrame* menuLine_ = nullptr;        // under the menu bar
  QFrame* columnLine_ = nullptr;      // between the columns
  QFrame* viewLine_ = nullptr;        // above the part view
  QFrame* blockLine_ = nullptr;       // under the block selector
  QLineEdit* filterField_ = nullptr;  // the part list's filter
  PartListBox* partList_ = nullptr;
  PartView* partView_ = nullptr;
  PinPanel* pinPanel_ = nullptr;
  LibraryCheckDialog* checkDialog_ = nullptr;
  PinTableWindow* pinTable_ = nullptr;
  QSize minimumClientSize_;
  QMenu* fileMenu_ = nullptr;
  std::vector<QAction*> recentActions_;
};

}  // namespace zanli
