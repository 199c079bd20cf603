#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <string>
#include <vector>

class QString;

class QTimer;

namespace zanli {

class LibraryDocument;
class PartBody;

// The list of part and alias names in the user's order. It draws the
// document's entries and keeps only its own view state: the selection, the
// colour mark of one body, the scroll position and a drag in progress. Rows
// are painted here, not by an item view, so that 100,000 names show in a
// blink and a drag moves one entry in place.
//
// The user's selection changes and drops reach the parent as queued signals,
// so the handler that caused one (a key, a click) has finished before the
// parent reacts. Changes of the document itself come in through the Entry*
// calls and move the selection silently; the parent decides what to show.
class PartListBox : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit PartListBox(QWidget* parent = nullptr);
  ~PartListBox() override;

  // The document whose entries the list shows; it must outlive the list or
  // be replaced first.
  void SetDocument(const LibraryDocument* document);

  // The document's entries changed: the selection stays on the same entry
  // (an entry inserted at or before it moves it down; a removed selected
  // entry hands it to the entry that followed, or to the new last one).
  void EntryInserted(int row);
  void EntryRemoved(int row);
  void EntryMoved(int from, int to);
  void EntryRenamed(int row);
  // A whole new list: no selection, no filter, scrolled to the top, no drag.
  void ResetView();

  // Shows the rows whose names the text picks, or all rows for an empty
  // text; a text that Shift-JIS cannot hold picks none. The selection stays
  // when its row is still shown, else it moves to the first shown row (or to
  // none), and that is announced. Rows the document gains while a filter is
  // set, and rows selected with SetCurSel, are shown too until the text
  // changes, so that a part just made, pasted or gone to never hides.
  void SetFilter(const QString& text);
  bool Filtered() const { return filtered_; }
  // Rows on show, and the entry row at a place of the shown list.
  int ShownCount() const;
  int RowAt(int place) const { return filtered_ ? shown_[static_cast<size_t>(place)] : place; }

  // Rows that name `body` show in red, the others in the text colour.
  void MarkBody(const PartBody* body);

  // Out of range: an empty text, no body, and black (QColor(0, 0, 0)).
  std::string GetItemText(int index) const;
  PartBody* GetItemBody(int index) const;
  QColor GetItemColor(int index) const;

  // -1 clears the selection; indices below -1 or not below the count fail.
  // The caller chose the row, so nothing is announced; a row the filter
  // hides is shown from now on.
  bool SetCurSel(int index);
  // Scrolls the least needed for the row to show whole.
  void EnsureVisible(int index);

  int GetCurSel() const { return selected_; }
  int GetCount() const;
  // Place in the shown list of the first row in view.
  int GetTopIndex() const { return top_; }
  int RowHeight() const { return rowHeight_; }

 signals:
  // The user selected another row with a click or a key.
  void selectionChanged();
  // The user dropped the entry of row `from` so that it would stand at `to`.
  void moveRequested(int from, int to);

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
  bool InRange(int index) const { return index >= 0 && index < GetCount(); }
  // The place of an entry row in the shown list; -1 when it is hidden.
  int PlaceOf(int row) const;
  // Adds a hidden row to the shown ones.
  void Reveal(int row);
  QRect RowRect(int place) const;
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
  void PostMoveRequested(int from, int to);

  const LibraryDocument* document_ = nullptr;
  const PartBody* markedBody_ = nullptr;
  // With a filter set, the entry rows on show in ascending order.
  bool filtered_ = false;
  std::vector<int> shown_;
  int selected_ = -1;  // an entry row, always a shown one
  int top_ = 0;        // a place in the shown list
  int visibleRows_ = 0;
  int rowHeight_ = 1;
  bool dragging_ = false;
  int dropIndex_ = -1;
  bool dropLineShown_ = false;
  // Where the pointer last was, in viewport coordinates; the grab during a
  // drag makes it the pointer's position when the auto-scroll timer fires.
  QPoint lastMousePos_;
  QTimer* autoScroll_;
};

}  // namespace zanli
