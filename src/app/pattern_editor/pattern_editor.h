#pragma once

#include <memory>
#include <vector>

#include "app/command_window.h"
#include "app/test_access.h"
#include "document/library_document.h"
#include "pattern/pattern_canvas_state.h"

class QAction;
class QActionGroup;
class QComboBox;
class QFrame;
class QKeyEvent;
class QMenu;

namespace zanli {

class Library;
class Pattern;
class PatternCanvas;

// The pattern editor: a pattern box listing every pattern as "WxH  name" in
// grid steps, the four tool buttons, and the canvas. It works on copies of
// the library's patterns, so the library stays as it was until the editor is
// closed; then Result() gives the pattern list as the session left it, which
// the main window applies as one step of its history. Only the window's close
// command ends it: Enter and Escape do not, and there is no cancel.
class PatternEditor : public CommandWindow {
  Q_OBJECT

 public:
  enum Command : int {
    kUndo = 57643,
    kCut = 57635,
    kCopy = 57634,
    kPaste = 57637,
    kDeleteSelection = 57632,
    kNewPattern = 32781,
    kRenamePattern = 32782,
    kResizePattern = 32783,
    kDeletePattern = 32791,
    kZoomIn = 32788,
    kZoomOut = 32789,
    kToolSelect = 32777,
    kToolPen = 32778,
    kToolLine = 32779,
    kToolEllipse = 32790,
  };

  // Shows `initial` first when the library holds it, else the first pattern
  // in the box's order. The library's entries tell which parts use a pattern.
  PatternEditor(const Library& library, const Pattern* initial, QWidget* parent = nullptr);
  ~PatternEditor() override;

  // The pattern list after the session: every kept pattern by its original
  // with its content now, in library order, then the new ones (no original).
  // A selection still floating is part of its pattern.
  std::vector<PatternReplacement> Result() const;

 public slots:
  // Escape: the editor stays open.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void LayoutChildren() override;
  bool OfferKey(QObject* watched, const QKeyEvent& key) override;

 private:
  friend struct TestAccess<PatternEditor>;

  struct WorkingPattern {
    const Pattern* original = nullptr;  // null for a pattern made here
    std::unique_ptr<Pattern> copy;
  };

  // The pattern the canvas shows (a working copy), or none.
  const Pattern* CurrentPattern() const;
  // Greys or enables the menu items; the clipboard is asked only when
  // `askClipboard`, since another program may be slow to answer.
  void UpdateCommandStates(bool askClipboard = true);

  // The commands of the menu.
  void NewPattern();
  void RenamePattern();
  void ResizePattern();
  void DeletePattern();

  void CreateControls();
  void CreateMenu();
  void CreateToolBar();

  // Adds the pattern's item where the sort puts it; its index.
  int InsertItem(Pattern* pattern);
  int IndexOfItem(const Pattern* pattern) const;
  // Selects the item without loading its pattern again.
  void SelectItem(int index);
  void OnItemChosen(int index);
  Pattern* ItemPattern(int index) const;
  // Part and alias names whose body uses the pattern.
  QStringList UsersOf(const Pattern* copy) const;

  void ChooseTool(int id);
  void Paste();

  const Library& library_;
  std::vector<WorkingPattern> patterns_;

  QFrame* menuLine_ = nullptr;  // under the menu bar
  QComboBox* patternBox_ = nullptr;
  QWidget* toolBar_ = nullptr;
  QActionGroup* tools_ = nullptr;
  PatternCanvas* canvas_ = nullptr;
};

}  // namespace zanli
