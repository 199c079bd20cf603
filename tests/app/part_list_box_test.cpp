#include "app/part_list_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "document/library_document.h"
#include "support/library_builder.h"

namespace zanli {
namespace {

// Stands in for the main window: counts the context-menu requests handed up.
class ParentWindow : public QWidget {
 public:
  int contextMenus = 0;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override {
    ++contextMenus;
    event->accept();
  }
};

class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(watched, event);
  }
};

using Texts = std::vector<std::string>;

// Stands in for the main window: hands the document's changes to the list
// and turns the list's drops into moves, as the window does.
class ListFeeder : public DocumentObserver {
 public:
  explicit ListFeeder(PartListBox*& list) : list_(list) {}
  void EntryInserted(int row) override { list_->EntryInserted(row); }
  void EntryRemoved(int row) override { list_->EntryRemoved(row); }
  void EntryMoved(int from, int to) override { list_->EntryMoved(from, to); }
  void EntryRenamed(int row) override { list_->EntryRenamed(row); }
  void LibraryReplaced() override { list_->ResetView(); }

 private:
  PartListBox*& list_;
};

class PartListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<ParentWindow>();
    edit_ = new QLineEdit(window_.get());
    edit_->setGeometry(0, 0, 200, 24);
    list_ = new PartListBox(window_.get());
    list_->SetDocument(&document_);
    document_.AddObserver(&feeder_);
    QObject::connect(list_, &PartListBox::moveRequested,
                     [this](int from, int to) { document_.MoveEntry(from, to); });
    rowHeight_ = list_->RowHeight();
    window_->resize(240, 30 + 12 * rowHeight_);
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    SetVisibleRows(10);
    list_->setFocus();
    Drain();
  }

  // The viewport gets exactly `rows` rows: no horizontal bar, only the frame.
  void SetVisibleRows(int rows) {
    list_->setGeometry(0, 30, 200, rows * rowHeight_ + 2 * list_->frameWidth());
    ASSERT_EQ(list_->viewport()->height(), rows * rowHeight_);
  }

  void TearDown() override { document_.RemoveObserver(&feeder_); }

  // A fresh library of parts P0, P1, ...
  void Fill(int count) {
    auto library = std::make_unique<Library>();
    for (int i = 0; i < count; ++i) testing::AddPart(*library, std::string("P").append(std::to_string(i)));
    document_.ReplaceLibrary(std::move(library));
  }

  Texts Items() const {
    Texts texts;
    for (int i = 0; i < list_->GetCount(); ++i) texts.push_back(list_->GetItemText(i));
    return texts;
  }

  QWidget* View() const { return list_->viewport(); }
  // A point inside the given list row as it is currently scrolled.
  QPoint RowPoint(int row) const {
    return QPoint(20, (row - list_->GetTopIndex()) * rowHeight_ + rowHeight_ / 2);
  }

  void Hover(QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, View()->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(View(), &move);
  }

  static void Drain() { QCoreApplication::processEvents(); }

  LibraryDocument document_;
  std::unique_ptr<ParentWindow> window_;
  QLineEdit* edit_ = nullptr;
  PartListBox* list_ = nullptr;
  ListFeeder feeder_{list_};
  int rowHeight_ = 0;
};

TEST_F(PartListBoxTest, EntriesInsertedOrRemovedKeepTheSelectionOnTheSameEntrySilently) {
  struct Case {
    const char* what;
    int selected;
    bool insert;
    int at, expectedSelected;
    const char* expectedText;
  };
  const Case cases[] = {
      {"inserted before the selection", 2, true, 0, 3, "P2"},
      {"inserted at the selection", 2, true, 2, 3, "P2"},
      {"inserted after the selection", 2, true, 3, 2, "P2"},
      {"appended", 2, true, -1, 2, "P2"},
      {"inserted with nothing selected", -1, true, 0, -1, ""},
      {"removed before the selection", 2, false, 0, 1, "P2"},
      {"removed after the selection", 2, false, 4, 2, "P2"},
      {"selected one removed", 2, false, 2, 2, "P3"},
      {"selected last one removed", 4, false, 4, 3, "P3"},
  };
  QSignalSpy selection(list_, &PartListBox::selectionChanged);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fill(5);
    ASSERT_TRUE(list_->SetCurSel(c.selected));
    if (c.insert)
      ASSERT_EQ(document_.AddPart(c.at, "NEW", -1).status, EditStatus::Done);
    else
      ASSERT_EQ(document_.DeleteEntry(c.at).status, EditStatus::Done);
    EXPECT_EQ(list_->GetCount(), c.insert ? 6 : 4);
    EXPECT_EQ(list_->GetCurSel(), c.expectedSelected);
    EXPECT_EQ(list_->GetItemText(list_->GetCurSel()), c.expectedText);
  }
  Fill(1);
  list_->SetCurSel(0);
  document_.DeleteEntry(0);
  EXPECT_EQ(list_->GetCurSel(), -1);
  Drain();
  EXPECT_EQ(selection.count(), 0) << "the window decides what a document change shows";
}

TEST_F(PartListBoxTest, OutOfRangeCallsFailAndTheMarkedBodyShowsRed) {
  Fill(3);
  EXPECT_EQ(list_->GetItemText(3), "");
  EXPECT_EQ(list_->GetItemBody(-1), nullptr);
  EXPECT_EQ(list_->GetItemColor(7), QColor(0, 0, 0));
  EXPECT_FALSE(list_->SetCurSel(3));
  EXPECT_FALSE(list_->SetCurSel(-2));

  ASSERT_EQ(document_.AddAlias(1, "ALIAS").status, EditStatus::Done);
  list_->MarkBody(list_->GetItemBody(2));
  const QColor text = list_->palette().color(QPalette::Text);
  const std::vector<QColor> expected{text, QColor(255, 0, 0), QColor(255, 0, 0), text};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list_->GetItemColor(i), expected[static_cast<size_t>(i)]) << i;
  list_->MarkBody(nullptr);
  EXPECT_EQ(list_->GetItemColor(1), text);

  QSignalSpy selection(list_, &PartListBox::selectionChanged);
  EXPECT_TRUE(list_->SetCurSel(2));
  EXPECT_TRUE(list_->SetCurSel(-1));
  EXPECT_EQ(list_->GetCurSel(), -1);
  Drain();
  EXPECT_EQ(selection.count(), 0);
}

TEST_F(PartListBoxTest, KeysOnAShortListClampAndAnnounceQueued) {
  QSignalSpy selection(list_, &PartListBox::selectionChanged);
  QTest::keyClick(list_, Qt::Key_Down);  // empty list: nothing to do
  Drain();
  EXPECT_EQ(selection.count(), 0);

  Fill(3);
  QTest::keyClick(list_, Qt::Key_Down);
  EXPECT_EQ(list_->GetCurSel(), 0);
  EXPECT_EQ(selection.count(), 0) << "delivered before the key handler finished";
  Drain();
  EXPECT_EQ(selection.count(), 1);

  QTest::keyClick(list_, Qt::Key_Up);
  QTest::keyClick(list_, Qt::Key_PageUp);
  Drain();
  EXPECT_EQ(list_->GetCurSel(), 0);
  EXPECT_EQ(selection.count(), 1);

  QTest::keyClick(list_, Qt::Key_PageDown);
  EXPECT_EQ(list_->GetCurSel(), 2);
  QTest::keyClick(list_, Qt::Key_Down);
  Drain();
  EXPECT_EQ(list_->GetCurSel(), 2);
  EXPECT_EQ(selection.count(), 2);
}

TEST_F(PartListBoxTest, KeysScrollTheSelectionIntoView) {
  Fill(30);  // ten rows in view, so the bar ends at top index 21
  list_->SetCurSel(0);
  struct Step {
    Qt::Key key;
    int selected, top;
  };
  const Step steps[] = {
      {Qt::Key_Down, 1, 0},       {Qt::Key_PageDown, 6, 0},   {Qt::Key_Down, 7, 0},
      {Qt::Key_Down, 8, 0},       {Qt::Key_Down, 9, 1},       {Qt::Key_PageDown, 14, 6},
      {Qt::Key_PageUp, 9, 6},     {Qt::Key_PageUp, 4, 4},     {Qt::Key_Up, 3, 3},
      {Qt::Key_PageUp, 0, 0},     {Qt::Key_PageDown, 5, 0},   {Qt::Key_PageDown, 10, 2},
      {Qt::Key_PageDown, 15, 7},  {Qt::Key_PageDown, 20, 12}, {Qt::Key_PageDown, 25, 17},
      {Qt::Key_PageDown, 29, 21}, {Qt::Key_PageDown, 29, 21}, {Qt::Key_Up, 28, 21},
  };
  int n = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(::testing::Message() << "step " << n++);
    QTest::keyClick(list_, s.key);
    EXPECT_EQ(list_->GetCurSel(), s.selected);
    EXPECT_EQ(list_->GetTopIndex(), s.top);
    EXPECT_EQ(list_->verticalScrollBar()->value(), s.top);
  }
}

TEST_F(PartListBoxTest, ScrollBarPagesFiveRowsWhateverTheHeightAndTakesTheFocus) {
  Fill(30);
  for (int rows : {10, 3}) {
    SCOPED_TRACE(::testing::Message() << rows << " rows in view");
    SetVisibleRows(rows);
    QScrollBar* bar = list_->verticalScrollBar();
    bar->setValue(0);
    EXPECT_EQ(bar->maximum(), 30 - rows + 1);
    EXPECT_EQ(bar->pageStep(), rows);

    edit_->setFocus();
    ASSERT_FALSE(list_->hasFocus());
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_TRUE(list_->hasFocus());
    EXPECT_EQ(list_->GetTopIndex(), 5);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(list_->GetTopIndex(), 6);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(list_->GetTopIndex(), 1);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);  // not one of the list's requests
    EXPECT_EQ(list_->GetTopIndex(), 1);
  }
  // Growing the window at the end of the list pulls the top index back.
  list_->verticalScrollBar()->setValue(28);
  EXPECT_EQ(list_->GetTopIndex(), 28);
  SetVisibleRows(10);
  EXPECT_EQ(list_->GetTopIndex(), 20);
}

TEST_F(PartListBoxTest, ClickSelectsARowAndAnnouncesItQueued) {
  Fill(5);
  QSignalSpy selection(list_, &PartListBox::selectionChanged);
  edit_->setFocus();
  QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, RowPoint(3));
  EXPECT_EQ(list_->GetCurSel(), 3);
  EXPECT_TRUE(list_->hasFocus());
  EXPECT_EQ(selection.count(), 0);
  Drain();
  EXPECT_EQ(selection.count(), 1);

  // Below the last item a click only takes the focus.
  edit_->setFocus();
  QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, RowPoint(7));
  Drain();
  EXPECT_TRUE(list_->hasFocus());
  EXPECT_EQ(list_->GetCurSel(), 3);
  EXPECT_EQ(selection.count(), 1);
}

TEST_F(PartListBoxTest, DroppingRequestsAMoveOfTheSelectedEntry) {
  struct Case {
    const char* what;
    int from;
    QPoint release;  // in rows; y -1 means above the client area
    Texts order;
    int selected;
    int notifications;
  };
  const Case cases[] = {
      {"onto the row two below", 2, {0, 4}, {"P0", "P1", "P3", "P2", "P4"}, 3, 1},
      {"below the last row", 2, {0, 7}, {"P0", "P1", "P3", "P4", "P2"}, 4, 1},
      {"just below itself", 2, {0, 3}, {"P0", "P1", "P2", "P3", "P4"}, 2, 0},
      {"onto itself", 2, {0, 2}, {"P0", "P1", "P2", "P3", "P4"}, 2, 0},
      {"upwards", 3, {0, 0}, {"P3", "P0", "P1", "P2", "P4"}, 0, 1},
      {"released outside", 2, {0, -1}, {"P0", "P1", "P2", "P3", "P4"}, 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fill(5);
    list_->SetCurSel(c.from);
    QSignalSpy order(list_, &PartListBox::moveRequested);
    QSignalSpy selection(list_, &PartListBox::selectionChanged);
    const QPoint release = c.release.y() < 0 ? QPoint(20, -8) : RowPoint(c.release.y());
    QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, RowPoint(c.from));
    QTest::mouseMove(View(), RowPoint(1));
    QTest::mouseMove(View(), release);
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, release);
    EXPECT_EQ(order.count(), 0) << "delivered before the release handler finished";
    Drain();
    EXPECT_EQ(order.count(), c.notifications);
    EXPECT_EQ(Items(), c.order);
    EXPECT_EQ(list_->GetCurSel(), c.selected);
    EXPECT_EQ(selection.count(), 0);
  }
}

TEST_F(PartListBoxTest, APressAfterALostReleaseDoesNotDrop) {
  Fill(5);
  list_->SetCurSel(1);
  QSignalSpy order(list_, &PartListBox::moveRequested);
  QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, RowPoint(1));
  QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, RowPoint(3));
  EXPECT_EQ(list_->GetCurSel(), 3);
  QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, RowPoint(4));
  Drain();
  EXPECT_EQ(Items(), (Texts{"P0", "P1", "P2", "P3", "P4"}));
  EXPECT_EQ(order.count(), 0);
}

TEST_F(PartListBoxTest, CursorAndContextMenuFollowTheDragState) {
  Fill(5);
  list_->SetCurSel(1);
  Hover(RowPoint(1));
  EXPECT_EQ(View()->cursor().shape(), Qt::SizeVerCursor);
  Hover(RowPoint(3));
  EXPECT_EQ(View()->cursor().shape(), Qt::ArrowCursor);

  auto requestMenu = [this] {
    QContextMenuEvent menu(QContextMenuEvent::Mouse, RowPoint(2), View()->mapToGlobal(RowPoint(2)));
    QApplication::sendEvent(View(), &menu);
  };
  requestMenu();
  EXPECT_EQ(window_->contextMenus, 1);

  QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, RowPoint(1));
  QTest::mouseMove(View(), RowPoint(3));
  EXPECT_EQ(View()->cursor().shape(), Qt::SizeVerCursor);
  requestMenu();
  EXPECT_EQ(window_->contextMenus, 1);
  QTest::mouseMove(View(), QPoint(20, View()->height() + 10));
  EXPECT_EQ(View()->cursor().shape(), Qt::ForbiddenCursor);
  QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, QPoint(20, View()->height() + 10));
  requestMenu();
  EXPECT_EQ(window_->contextMenus, 2);
}

TEST_F(PartListBoxTest, AutoScrollInTheTopZoneMovesOneRowPerTickAndStopsAtTheTop) {
  Fill(30);
  list_->verticalScrollBar()->setValue(5);
  list_->SetCurSel(6);
  auto* timer = list_->findChild<QTimer*>("autoScroll");
  ASSERT_NE(timer, nullptr);
  std::vector<int> tops;
  QObject::connect(list_->verticalScrollBar(), &QScrollBar::valueChanged,
                   [&tops](int value) { tops.push_back(value); });

  QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, RowPoint(6));
  QTest::mouseMove(View(), QPoint(20, 2));
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(list_->GetTopIndex(), 5);
  EXPECT_TRUE(QTest::qWaitFor([this] { return list_->GetTopIndex() == 0; }, 5000));
  EXPECT_EQ(tops, (std::vector<int>{4, 3, 2, 1, 0}));

  // At the top a tick cannot scroll, so the timer is not restarted.
  EXPECT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }, 5000));
  QTest::qWait(120);
  EXPECT_FALSE(timer->isActive());
  QTest::mouseMove(View(), QPoint(20, 3));
  EXPECT_TRUE(timer->isActive());

  QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 3));
  EXPECT_FALSE(timer->isActive());
  Drain();
  EXPECT_EQ(list_->GetItemText(0), "P6");
  EXPECT_EQ(list_->GetItemText(1), "P0");
  EXPECT_EQ(list_->GetCurSel(), 0);
}

TEST_F(PartListBoxTest, AHundredThousandEntriesShowWithoutPaintingEachOne) {
  PaintCounter counter;
  View()->installEventFilter(&counter);
  Fill(100000);
  QTest::qWait(20);
  // One paint of the rows in view, not one per entry.
  EXPECT_LE(counter.paints, 2);
  EXPECT_EQ(list_->verticalScrollBar()->maximum(), 100000 - 10 + 1);
  EXPECT_EQ(list_->GetItemText(99999), "P99999");
}

TEST_F(PartListBoxTest, SelectedRowLooksDependOnTheFocus) {
  Fill(3);
  list_->SetCurSel(1);
  const QPalette& pal = list_->palette();
  const int fillX = View()->width() - 3;
  const int middle = rowHeight_ + rowHeight_ / 2;

  list_->setFocus();
  QImage focused = View()->grab().toImage();
  EXPECT_EQ(QColor(focused.pixel(fillX, middle)), pal.color(QPalette::Highlight));
  EXPECT_EQ(QColor(focused.pixel(0, rowHeight_)), pal.color(QPalette::Highlight));

  edit_->setFocus();
  QImage unfocused = View()->grab().toImage();
  EXPECT_EQ(QColor(unfocused.pixel(fillX, middle)), pal.color(QPalette::Base));
  EXPECT_EQ(QColor(unfocused.pixel(0, rowHeight_)), pal.color(QPalette::Highlight));
  EXPECT_EQ(QColor(unfocused.pixel(0, 2 * rowHeight_ + 1)), pal.color(QPalette::Base));
}

}  // namespace
}  // namespace zanli
