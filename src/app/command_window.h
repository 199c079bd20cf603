#pragma once

#include <QDialog>
#include <QKeySequence>
#include <map>

class QAction;
class QKeyEvent;
class QMenu;
class QMenuBar;
class QShowEvent;

namespace zanli {

// A window built as the editor's windows are: a menu bar over a client area
// that holds the controls, and commands known by their numeric ids, each a
// QAction named "command<id>" so that tests and the enabling rules find it.
// It also keeps the keyboard on the window where no window manager does.
class CommandWindow : public QDialog {
  Q_OBJECT

 public:
  // The command's action, or null for an id this window does not have.
  QAction* action(int id) const;

 protected:
  CommandWindow(QWidget* parent, Qt::WindowFlags flags);

  // Makes the menu bar and the client area and lays them out in the window.
  void CreateFrame();
  QMenuBar* menuBar() const { return menuBar_; }
  QWidget* client() const { return client_; }

  // Adds a menu item for the command, its key shown after a tab in `text`.
  QAction* AddCommand(QMenu* menu, int id, const QString& text, const QKeySequence& key = {});
  // Makes an action made elsewhere (a tool button's) the command's.
  void RegisterCommand(QAction* action, int id);
  // Whether the key is one of the commands' shortcuts.
  bool IsCommandKey(const QKeyEvent* event) const;

  // Runs a modal dialog, then gives the keyboard back to this window.
  int RunModal(QDialog& dialog);
  // On an X server without a window manager nobody activates a new window or
  // gives the focus back when a dialog closes: it falls to the root window and
  // keys would go nowhere until the user clicks. Elsewhere this does nothing.
  void TakeKeyboardOnX();

  void showEvent(QShowEvent* event) override;

 private:
  QMenuBar* menuBar_ = nullptr;
  QWidget* client_ = nullptr;
  std::map<int, QAction*> actions_;
};

}  // namespace zanli
