#pragma once

#include <QDialog>
#include <QKeySequence>
#include <QPointer>
#include <map>

class QAction;
class QKeyEvent;
class QMenu;
class QMenuBar;
class QShowEvent;

namespace zanli {

// A window built as the editor's windows are: a menu bar over a client area
// that holds the controls, laid out again whenever the client area changes
// size; commands known by their numeric ids, whose enabling rules run before
// every key; and the keyboard kept on the window where no window manager
// does.
class CommandWindow : public QDialog {
  Q_OBJECT

 public:
  // The command's action, or null for an id this window does not have.
  QAction* action(int id) const;

  // On an X server without a window manager nobody activates a new window or
  // gives the focus back when a dialog closes: it falls to the root window and
  // keys would go nowhere until the user clicks. This activates `window`
  // when it is shown but inactive there; elsewhere it does nothing.
  static void TakeKeyboardOnX(QWidget* window);

 protected:
  CommandWindow(QWidget* parent, Qt::WindowFlags flags);

  // Makes the menu bar and the client area and lays them out in the window.
  void CreateFrame();
  // Once the controls are made: the window starts at the size of its
  // layout, which is also its smallest, and watches its client area's size
  // and every key of the application. The derived window's destructor stops
  // the watch first, before its own members go.
  void StartAtLayoutSize();
  void WatchEvents();
  void StopWatchingEvents();
  // Places the controls in the client area.
  virtual void LayoutChildren() = 0;
  // Every key for a widget of this window is offered to it as a shortcut
  // override before Qt looks for a shortcut: the moment to apply the
  // enabling rules, so that a greyed command's key does nothing. True claims
  // the key for the widget, so that no shortcut takes it.
  virtual bool OfferKey(QObject* watched, const QKeyEvent& key) = 0;
  // Whether `object` is a widget of this window.
  bool IsOwnWidget(const QObject* object) const;
  bool eventFilter(QObject* watched, QEvent* event) override;
  QMenuBar* menuBar() const { return menuBar_; }
  QWidget* client() const { return client_; }
  // The widget of the client area that had the keyboard focus last: what
  // the commands act on, also while the menu bar or an open menu has the
  // focus (a menu opened from the keyboard takes it before its enabling
  // rules run). Null until one had it.
  QWidget* LastClientFocus() const { return lastClientFocus_; }

  // Adds a menu item for the command, its key shown after a tab in `text`.
  QAction* AddCommand(QMenu* menu, int id, const QString& text, const QKeySequence& key = {});
  // Makes an action made elsewhere (a tool button's) the command's.
  void RegisterCommand(QAction* action, int id);
  // Whether the key is one of the commands' shortcuts.
  bool IsCommandKey(const QKeyEvent* event) const;

  // Runs a modal dialog, then gives the keyboard back to this window.
  int RunModal(QDialog& dialog);

  void showEvent(QShowEvent* event) override;

 private:
  QMenuBar* menuBar_ = nullptr;
  QWidget* client_ = nullptr;
  QPointer<QWidget> lastClientFocus_;
  QMetaObject::Connection focusWatch_;
  std::map<int, QAction*> actions_;
};

}  // namespace zanli
