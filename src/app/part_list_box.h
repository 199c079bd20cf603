#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <string>
#include <vector>

#include "model/name_lookup.h"
#include "model/name_set.h"

class QTimer;

namespace zanli {

class PartBody;

// The list of part and alias names in the user's order. Its items are the
// working copy of the library's entries while a library is edited: the main
// window fills it after a read and rebuilds the entries from it before a
// write. Rows are painted here, not by an item view, so that 100,000 names
// load in a blink with redraw off and a drag can move one entry in place.
//
// Selection and order changes reach the parent as queued signals, so the
// handler that caused one (a key, a click, a deletion) has finished before
// the parent reacts.
class PartListBox : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit PartListBox(QWidget* parent = nullptr);
  ~PartListBox() override;

  // Inserts before the item at index; an index below 0 or not below the count
  // appends. The selection stays on the same item. An invalid colour stands
  // for the window-text colour of the palette at the time of the call.
  bool InsertItem(int index, const std::string& text, PartBody* body, QColor colour = QColor());
  // Removing the selected item announces a selection change; the selection
  // then denotes the following item, or the new last item.
  bool DeleteItem(int index);
  // Empties the list and returns every state, drag included, to the start.
  void ResetContent();
  bool SetItemText(int index, const std::string& text);
  bool SetItemColor(int index, QColor colour);

  // Out of range: an empty text, no body, and black (QColor(0, 0, 0)).
  std::string GetItemText(int index) const;
  PartBody* GetItemBody(int index) const;
  QColor GetItemColor(int index) const;

  // -1 clears the selection; indices below -1 or not below the count fail.
  // The caller chose the item, so nothing is announced.
  bool SetCurSel(int index);
  // Off: item changes neither repaint nor touch the scroll bar, so a bulk load
  // costs only the inserts. On again: the scroll bar is brought up to date;
  // repainting is left to the caller.
  void SetRedraw(bool on);

  int GetCurSel() const { return selected_; }
  int GetCount() const { return static_cast<int>(items_.size()); }
  // Index of the item in the first row.
  int GetTopIndex() const { return top_; }
  int RowHeight() const { return rowHeight_; }
  // The item texts as a multiset: a name stays taken while any row holds it.
  const NameLookup& Names() const { return names_; }

 signals:
  void selectionChanged();
  void orderChanged();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  struct Item {
    std::string text;
    PartBody* body = nullptr;
    QColor colour;
  };

  bool InRange(int index) const { return index >= 0 && index < GetCount(); }
  QColor ResolveColour(QColor colour) const;
  QRect RowRect(int index) const;
  void UpdateRow(int index);
  void UpdateScrollBar();
  void ScrollTo(int position);
  void OnScrollAction(int action);
  void MoveSelection(int delta);
  void HandleMove(QPoint pos);
  void OnAutoScrollTick();
  void EndDrag();
  QRect DropLineRect() const;
  bool DropLineVisible() const;
  void DrawDropLine();
  void EraseDropLine();
  void PostSelectionChanged();
  void PostOrderChanged();

  std::vector<Item> items_;
  NameSet names_;
  int selected_ = -1;
  int top_ = 0;
  int visibleRows_ = 0;
  int rowHeight_ = 1;
  bool redraw_ = true;
  bool dragging_ = false;
  int dropIndex_ = -1;
  bool dropLineShown_ = false;
  // Where the pointer last was, in viewport coordinates; the grab during a
  // drag makes it the pointer's position when the auto-scroll timer fires.
  QPoint lastMousePos_;
  QTimer* autoScroll_;
};

}  // namespace zanli
