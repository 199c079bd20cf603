// The main window through real events: start-up, layout, the pin panel, key
// routing and the red rows of one body.
#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "main_window_test_support.h"
#include "modal_answerer.h"
#include "support/widget_events.h"

namespace zanli {
namespace {

using testing::MainWindowTestBase;

class MainWindowTest : public MainWindowTestBase {};

TEST_F(MainWindowTest, StartsEmptyUntitledWithTheListFocusedAndABlankPinPanel) {
  EXPECT_EQ(Caption(), QStringLiteral("Zanli - Untitled.LIB"));
  EXPECT_EQ(partList()->GetCount(), 0);
  EXPECT_TRUE(partList()->hasFocus());
  EXPECT_EQ(partView()->Part(), nullptr);
  EXPECT_EQ(blockBox()->text(), QStringLiteral("1"));
  EXPECT_FALSE(blockBox()->isEnabled());
  EXPECT_TRUE(blankPinBox()->isChecked());
  EXPECT_FALSE(blankPinBox()->isEnabled());
  EXPECT_FALSE(pinNameEdit()->isEnabled());
  EXPECT_FALSE(pinNumberEdit()->isEnabled());
  EXPECT_FALSE(modified());
  EXPECT_FALSE(library().hasFilePath);
}

TEST_F(MainWindowTest, MenuShowsItsKeysAndGreysPinCommandsWithoutASelection) {
  EXPECT_EQ(window->action(MainWindow::kFileSave)->text(), QStringLiteral("上書き保存(&S)\tCtrl+S"));
  EXPECT_EQ(window->action(MainWindow::kFileSave)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
  EXPECT_EQ(window->action(MainWindow::kEditDelete)->shortcut(), QKeySequence(Qt::Key_Delete));
  EXPECT_FALSE(window->action(MainWindow::kInsertBlankPin)->isEnabled());
  PinInfo* pin = AddPin(AddPart("A"), PinEdge::Left, 0, "P");
  Fill();
  UpdateCommandStates();
  EXPECT_TRUE(window->action(MainWindow::kInsertBlankPin)->isEnabled());
  EXPECT_TRUE(window->action(MainWindow::kDeletePinAndCloseUp)->isEnabled());
  // Ctrl+I with nothing selected does nothing, even though the item was
  // enabled a moment ago: the rules are re-evaluated before the key acts.
  partList()->SetCurSel(-1);
  partList()->setFocus();
  Key(partList(), Qt::Key_I, Qt::ControlModifier);
  EXPECT_EQ(pin->position, 0);
  EXPECT_FALSE(window->action(MainWindow::kInsertBlankPin)->isEnabled());
}

TEST_F(MainWindowTest, LayoutKeepsTextsWholeControlsApartAndFollowsTheWindowSize) {
  // Every text fits its control, and no two controls of the panel overlap.
  QList<QWidget*> panel;
  for (QWidget* w : Child<QWidget>("pinPanel")->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    panel.append(w);
    if (qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w) || qobject_cast<QPushButton*>(w)) {
      EXPECT_LE(w->sizeHint().width(), w->width()) << w->objectName().toStdString();
    }
  }
  ASSERT_GE(panel.size(), 12);
  for (int i = 0; i < panel.size(); ++i)
    for (int j = i + 1; j < panel.size(); ++j)
      EXPECT_FALSE(panel[i]->geometry().intersects(panel[j]->geometry()))
          << panel[i]->objectName().toStdString() << " overlaps " << panel[j]->objectName().toStdString();

  // The window cannot shrink below its first size; growing it gives the room
  // to the list (height) and the part view (both ways).
  const QSize initial = window->size();
  EXPECT_EQ(window->minimumSize(), initial);
  window->resize(initial.width() - 50, initial.height() - 50);
  Settle();
  EXPECT_EQ(window->size(), initial);
  const QRect listBefore = partList()->geometry();
  const QRect viewBefore = partView()->geometry();
  const QRect buttonBefore = updatePinButton()->geometry();
  window->resize(initial.width() + 100, initial.height() + 80);
  Settle();
  EXPECT_EQ(partList()->geometry(), listBefore.adjusted(0, 0, 0, 80));
  EXPECT_EQ(partView()->geometry(), viewBefore.adjusted(0, 0, 100, 80));
  EXPECT_EQ(partView()->geometry().right(), client()->width() - 6);
  EXPECT_EQ(partList()->geometry().bottom(), client()->height() - 6);
  EXPECT_EQ(updatePinButton()->geometry(), buttonBefore);  // the panel keeps its place
}

TEST_F(MainWindowTest, ThreeBlockPinTakesOneNumberPerBlockFromTheBuffer) {
  PartBody* body = AddPart("U3", 2, 2, 3);
  Fill();
  ASSERT_EQ(partView()->Part(), body);
  EXPECT_TRUE(blockBox()->isEnabled());
  ClickBox(blankPinBox());
  ASSERT_FALSE(blankPinBox()->isChecked());
  TypeInto(pinNameEdit(), "CLK");
  ClickBox(clockBox());
  TypeInto(pinNumberEdit(), "5");
  blockBox()->setFocus();
  Key(blockBox(), Qt::Key_Up);
  EXPECT_EQ(partView()->GetBlock(), 1);
  EXPECT_FALSE(pinNameEdit()->isEnabled());
  EXPECT_TRUE(pinNumberEdit()->text().isEmpty());
  TypeInto(pinNumberEdit(), "6");
  blockBox()->setFocus();
  Key(blockBox(), Qt::Key_Up);
  EXPECT_EQ(partView()->GetBlock(), 2);
  // Back to block 2 shows what was typed there.
  Key(blockBox(), Qt::Key_Down);
  EXPECT_EQ(pinNumberEdit()->text(), QStringLiteral("6"));
  Key(blockBox(), Qt::Key_Up);
  Key(blockBox(), Qt::Key_Return);

  ASSERT_EQ(body->pins.size(), 1u);
  const PinInfo& pin = *body->pins[0];
  EXPECT_EQ(pin.name, "CLK");
  EXPECT_EQ(pin.flags, PinFlag::Clock);
  EXPECT_EQ(pin.edge, PinEdge::Left);
  EXPECT_EQ(pin.position, 0);
  EXPECT_EQ(pin.numbers, (std::vector<std::string>{"D5", "D6", "D"}));
  EXPECT_TRUE(modified());
  EXPECT_TRUE(partView()->hasFocus());
}

// Enter changes one pin, so the view repaints that pin's area only: along
// the pin from 50 units outside the edge to 261 inside, across it from 10
// before the pin line to 5 after (the bottom edge's reach one unit less).
TEST_F(MainWindowTest, EnterRepaintsOnlyTheEditedPinsArea) {
  PartBody* body = AddPart("U1", 4, 3);
  AddPin(body, PinEdge::Left, 1, "A");
  Fill();
  testing::PaintRecorder recorder;
  partView()->viewport()->installEventFilter(&recorder);
  const struct {
    PinEdge edge;
    int32_t position;
    QRect logical;
  } rows[] = {{PinEdge::Left, 1, QRect(10, 60, 311, 15)}, {PinEdge::Bottom, 2, QRect(70, -171, 15, 311)}};
  for (const auto& row : rows) {
    ClickPosition(row.edge, row.position);  // the view has the focus, so Enter repaints nothing else
    if (blankPinBox()->isChecked()) ClickBox(blankPinBox());
    TypeInto(pinNameEdit(), "NEW");
    partView()->setFocus();
    Settle();
    recorder.region = QRegion();
    Key(partView(), Qt::Key_Return);
    ASSERT_EQ(body->FindPin(row.edge, row.position)->name, "NEW");
    const QPoint scroll(partView()->ScrollX(), partView()->ScrollY());
    EXPECT_EQ(recorder.region, QRegion(row.logical.translated(-scroll)) & partView()->viewport()->rect())
        << static_cast<int>(row.edge);
  }
  partView()->viewport()->removeEventFilter(&recorder);
}

// The cursor keeps to its part when rows move under it: after a drag the
// pin edit still goes to the part shown, now on another row.
TEST_F(MainWindowTest, PinEditsFollowTheShownPartWhenItsRowMoves) {
  PartBody* a = AddPart("A");
  AddPin(a, PinEdge::Left, 0, "A0");
  AddPart("B");
  AddPart("C");
  Fill();
  TypeInto(pinNameEdit(), "MOVED");
  DragRow(0, 2);
  ASSERT_EQ(library().entries[1]->name, "A");
  ASSERT_EQ(partView()->Part(), a);
  Key(pinNameEdit(), Qt::Key_Return);
  EXPECT_EQ(a->pins[0]->name, "MOVED");
  EXPECT_EQ(undoStack().count(), 2);
}

TEST_F(MainWindowTest, TabWalksThePanelThenTheFilterTheListAndTheView) {
  PartBody* body = AddPart("U3", 2, 2, 3);
  AddPin(body, PinEdge::Left, 0, "A");
  Fill();
  blankPinBox()->setFocus();
  const QWidget* expected[] = {pinNameEdit(),     nearBodyBox(),
                               clockBox(),        negativeLogicBox(),
                               pinNumberEdit(),   hideNumberBox(),
                               updatePinButton(), cancelPinButton(),
                               blockBox(),        Child<QLineEdit>("partFilter"),
                               partList(),        partView(),
                               blankPinBox()};
  for (const QWidget* next : expected) {
    Key(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    // The spin box's own line edit holds the focus for it.
    if (focus != nullptr && focus->parentWidget() == blockBox()) focus = blockBox();
    ASSERT_EQ(focus, next) << (focus ? focus->objectName().toStdString() : "none");
  }
}

TEST_F(MainWindowTest, OtherBlocksEditOnlyTheNumber) {
  PartBody* body = AddPart("U3", 2, 2, 3);
  AddPin(body, PinEdge::Left, 0, "A", "D1");
  Fill();
  EXPECT_TRUE(pinNameEdit()->isEnabled());
  blockBox()->setFocus();
  Key(blockBox(), Qt::Key_Up);
  EXPECT_FALSE(pinNameEdit()->isEnabled());
  EXPECT_FALSE(nearBodyBox()->isEnabled());
  EXPECT_FALSE(clockBox()->isEnabled());
  EXPECT_FALSE(negativeLogicBox()->isEnabled());
  EXPECT_FALSE(blankPinBox()->isEnabled());
  EXPECT_TRUE(pinNumberEdit()->isEnabled());
  EXPECT_TRUE(hideNumberBox()->isEnabled());
  // A free position on block 2 offers nothing to edit.
  ClickPosition(PinEdge::Left, 1);
  EXPECT_EQ(partView()->GetBlock(), 1);
  EXPECT_TRUE(blankPinBox()->isChecked());
  EXPECT_FALSE(pinNumberEdit()->isEnabled());
}

TEST_F(MainWindowTest, FlagBoxesExcludeNearBodyAndHiddenNumbersKeepTheirLetter) {
  PartBody* body = AddPart("A");
  PinInfo* pin = AddPin(body, PinEdge::Left, 1, "Q");
  Fill();
  ClickPosition(PinEdge::Left, 1);
  ASSERT_FALSE(blankPinBox()->isChecked());
  ClickBox(clockBox());
  ClickBox(negativeLogicBox());
  EXPECT_TRUE(clockBox()->isChecked());
  EXPECT_TRUE(negativeLogicBox()->isChecked());
  ClickBox(nearBodyBox());
  EXPECT_TRUE(nearBodyBox()->isChecked());
  EXPECT_FALSE(clockBox()->isChecked());
  EXPECT_FALSE(negativeLogicBox()->isChecked());
  ClickBox(hideNumberBox());
  TypeInto(pinNumberEdit(), "12");
  Key(pinNumberEdit(), Qt::Key_Return);
  EXPECT_EQ(pin->flags, PinFlag::NumberNearBody);
  EXPECT_EQ(pin->numbers[0], "H12");

  // Clock then near then negative logic: the last two clicks each clear the
  // other kind.
  ClickBox(clockBox());
  EXPECT_FALSE(nearBodyBox()->isChecked());
  ClickBox(negativeLogicBox());
  Key(pinNumberEdit(), Qt::Key_Return);
  EXPECT_EQ(pin->flags, PinFlag::Clock | PinFlag::NegativeLogic);
}

TEST_F(MainWindowTest, BoxMnemonicsTickAtOnceAndTheHideBoxWinsItsLetterWhileEnabled) {
  PartBody* body = AddPart("A");
  PinInfo* pin = AddPin(body, PinEdge::Left, 1, "Q");
  Fill();
  ClickPosition(PinEdge::Left, 1);
  ASSERT_TRUE(hideNumberBox()->isEnabled());
  // Typed as fast as a script types: no event processing between the keys.
  pinNameEdit()->setFocus();
  QTest::keyClick(pinNameEdit(), Qt::Key_C, Qt::AltModifier);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), hideNumberBox());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  Settle();
  EXPECT_EQ(pin->flags, PinFlag::Clock);
  EXPECT_EQ(pin->numbers[0], "H1");
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);  // the Help menu stayed shut

  // On a free position the box is greyed and the key leaves it alone.
  ClickPosition(PinEdge::Left, 2);
  ASSERT_FALSE(hideNumberBox()->isEnabled());
  Key(partView(), Qt::Key_H, Qt::AltModifier);
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  EXPECT_FALSE(hideNumberBox()->isChecked());
}

TEST_F(MainWindowTest, PinNumbersAreCapitalisedAsTypedAndLimitedTo16) {
  PartBody* body = AddPart("A");
  PinInfo* pin = AddPin(body, PinEdge::Left, 0, "Q");
  Fill();
  TypeInto(pinNumberEdit(), "a1b");
  EXPECT_EQ(pinNumberEdit()->text(), QStringLiteral("A1B"));
  TypeInto(pinNumberEdit(), "x234567890123456789");
  EXPECT_EQ(pinNumberEdit()->text(), QStringLiteral("X234567890123456"));
  Key(pinNumberEdit(), Qt::Key_Return);
  EXPECT_EQ(pin->numbers[0], "DX234567890123456");
}

TEST_F(MainWindowTest, BlankBoxRemovesThePinOnEnterAndEscGivesItBack) {
  PartBody* body = AddPart("A");
  AddPin(body, PinEdge::Left, 0, "KEEP");
  Fill();
  ClickBox(blankPinBox());
  EXPECT_TRUE(pinNameEdit()->text().isEmpty());
  EXPECT_FALSE(pinNameEdit()->isEnabled());
  Key(blankPinBox(), Qt::Key_Escape);
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(blankPinBox()->isChecked());
  EXPECT_EQ(pinNameEdit()->text(), QStringLiteral("KEEP"));
  EXPECT_EQ(body->pins.size(), 1u);
  EXPECT_FALSE(modified());

  ClickBox(blankPinBox());
  Key(blankPinBox(), Qt::Key_Return);
  EXPECT_TRUE(body->pins.empty());
  EXPECT_TRUE(modified());
}

TEST_F(MainWindowTest, MovingTheCursorDropsUnappliedEdits) {
  PartBody* body = AddPart("A");
  AddPin(body, PinEdge::Left, 0, "ONE");
  AddPin(body, PinEdge::Left, 1, "TWO");
  Fill();
  TypeInto(pinNameEdit(), "TYPED");
  partView()->setFocus();
  Key(partView(), Qt::Key_Down);
  EXPECT_EQ(pinNameEdit()->text(), QStringLiteral("TWO"));
  Key(partView(), Qt::Key_Up);
  EXPECT_EQ(pinNameEdit()->text(), QStringLiteral("ONE"));
  EXPECT_EQ(body->pins[0]->name, "ONE");
  EXPECT_FALSE(modified());
}

TEST_F(MainWindowTest, InsertAndDeleteCloseUpShiftThePinsOfOneEdge) {
  PartBody* body = AddPart("A", 2, 4);
  PinInfo* a = AddPin(body, PinEdge::Left, 0, "A");
  PinInfo* b = AddPin(body, PinEdge::Left, 1, "B");
  PinInfo* c = AddPin(body, PinEdge::Left, 3, "C");
  PinInfo* last = AddPin(body, PinEdge::Left, 4, "LAST");
  PinInfo* other = AddPin(body, PinEdge::Right, 0, "R");
  Fill();
  partView()->setFocus();
  Key(partView(), Qt::Key_I, Qt::ControlModifier);
  EXPECT_EQ(a->position, 1);
  EXPECT_EQ(b->position, 2);
  EXPECT_EQ(c->position, 4);
  EXPECT_EQ(last->position, 5) << "past the end of the edge, and kept";
  EXPECT_EQ(other->position, 0);
  EXPECT_TRUE(blankPinBox()->isChecked());
  EXPECT_TRUE(modified());

  Key(partView(), Qt::Key_Down);
  ASSERT_EQ(pinNameEdit()->text(), QStringLiteral("A"));
  Key(partView(), Qt::Key_D, Qt::ControlModifier);
  ASSERT_EQ(body->pins.size(), 4u);
  EXPECT_EQ(b->position, 1);
  EXPECT_EQ(c->position, 3);
  EXPECT_EQ(last->position, 4);
  EXPECT_EQ(pinNameEdit()->text(), QStringLiteral("B"));  // the pin that moved onto the cursor
}

TEST_F(MainWindowTest, CommandKeysEditThePinFieldsInsteadOfActing) {
  PartBody* body = AddPart("A");
  PinInfo* pin = AddPin(body, PinEdge::Left, 0, "AB");
  Fill();
  MakeModified();
  testing::ModalAnswerer<QDialog> anyDialog([](QDialog* d) { d->reject(); });
  pinNameEdit()->setFocus();
  pinNameEdit()->setCursorPosition(0);
  Key(pinNameEdit(), Qt::Key_S, Qt::ControlModifier);
  Key(pinNameEdit(), Qt::Key_I, Qt::ControlModifier);
  Key(pinNameEdit(), Qt::Key_Delete);
  QTest::qWait(30);
  EXPECT_FALSE(anyDialog.answered()) << "Ctrl+S in the name field opened a dialog";
  EXPECT_EQ(pinNameEdit()->text(), QStringLiteral("B"));
  EXPECT_EQ(pin->position, 0);
  EXPECT_FALSE(library().hasFilePath);

  pinNumberEdit()->setFocus();
  Key(pinNumberEdit(), Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(body->pins.size(), 1u);
  Key(pinNumberEdit(), Qt::Key_Escape);
  EXPECT_TRUE(window->isVisible());

  // The same key in the part view does act.
  partView()->setFocus();
  Key(partView(), Qt::Key_I, Qt::ControlModifier);
  EXPECT_EQ(pin->position, 1);
}

TEST_F(MainWindowTest, RowsOfTheSelectedBodyTurnRed) {
  PartBody* first = AddPart("P1");
  AddAlias("ALIAS", first);
  PartBody* second = AddPart("P2");
  Fill();
  const QColor red(255, 0, 0);
  EXPECT_EQ(partList()->GetItemColor(0), red);
  EXPECT_EQ(partList()->GetItemColor(1), red);
  EXPECT_NE(partList()->GetItemColor(2), red);
  ClickRow(2);
  EXPECT_EQ(partView()->Part(), second);
  EXPECT_NE(partList()->GetItemColor(0), red);
  EXPECT_NE(partList()->GetItemColor(1), red);
  EXPECT_EQ(partList()->GetItemColor(2), red);
  ClickRow(1);
  EXPECT_EQ(partView()->Part(), first);
  EXPECT_EQ(partList()->GetItemColor(0), red);
}

// Saves the window when ZANLI_SCREENSHOT_DIR names a directory.
void MaybeSaveScreenshot(QWidget* window, const char* name) {
  const QByteArray dir = qgetenv("ZANLI_SCREENSHOT_DIR");
  if (!dir.isEmpty())
    window->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name));
}

bool RowHasColour(const QImage& image, int top, int height, const QColor& colour) {
  for (int y = top; y < top + height && y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == colour) return true;
  return false;
}

TEST_F(MainWindowTest, AliasRowsAreDrawnRedAndPartsWithPinsAndPatternsShow) {
  PartBody* gate = AddPart("74HC00", 4, 4, 4);
  AddPin(gate, PinEdge::Left, 1, "A", "D1");
  AddPin(gate, PinEdge::Left, 3, "B", "D2");
  AddPin(gate, PinEdge::Right, 2, "\\Y", "D3")->flags = PinFlag::NegativeLogic;
  AddPin(gate, PinEdge::Top, 2, "CLK", "H14")->flags = PinFlag::Clock;
  AddAlias("74LS00", gate);
  AddAlias("74AC00", gate);
  PartBody* drawn = AddPart("OPAMP", 4, 4);
  Pattern* pattern = AddPattern("TRI", 41, 41);
  for (int y = 0; y < 41; ++y) {
    const int tip = 2 * (y <= 20 ? y : 40 - y);  // the outline of a triangle pointing right
    for (int x : {0, tip})
      pattern->bits[static_cast<size_t>(y * pattern->Stride() + x / 8)] |= 0x80 >> (x % 8);
  }
  drawn->pattern = pattern;
  AddPin(drawn, PinEdge::Left, 1, "+", "D3");
  AddPin(drawn, PinEdge::Left, 3, "-", "D2");
  AddPin(drawn, PinEdge::Right, 2, "OUT", "D1");
  AddPart("RES", 2, 1);
  Fill();
  window->resize(window->width() + 60, window->height());
  Settle();

  partList()->clearFocus();
  Settle();
  const QImage list = partList()->viewport()->grab().toImage();
  const int h = partList()->RowHeight();
  const QColor red(255, 0, 0);
  EXPECT_TRUE(RowHasColour(list, 1 * h, h, red));  // an alias of the selected part
  EXPECT_TRUE(RowHasColour(list, 2 * h, h, red));
  EXPECT_FALSE(RowHasColour(list, 3 * h, h, red));
  MaybeSaveScreenshot(window.get(), "main_window_alias_rows.png");

  ClickPosition(PinEdge::Right, 2);
  EXPECT_EQ(pinNameEdit()->text(), QStringLiteral("\\Y"));
  MaybeSaveScreenshot(window.get(), "main_window_pins.png");
  ClickRow(3);
  EXPECT_EQ(partView()->Part(), drawn);
  MaybeSaveScreenshot(window.get(), "main_window_pattern_part.png");
}

TEST_F(MainWindowTest, AboutBoxShowsTheVersionAndChangesNothing) {
  QString text;
  QString caption;
  QPixmap iconShown;
  testing::ModalAnswerer<QDialog> about([&](QDialog* d) {
    caption = d->windowTitle();
    if (auto* label = d->findChild<QLabel*>(QStringLiteral("aboutText"))) text = label->text();
    if (auto* icon = d->findChild<QLabel*>(QStringLiteral("aboutIcon"))) iconShown = icon->pixmap();
    QTest::keyClick(d, Qt::Key_Escape);
  });
  window->action(MainWindow::kAppAbout)->trigger();
  EXPECT_TRUE(about.answered());
  EXPECT_EQ(caption, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 Zanli"));
  EXPECT_EQ(text, QStringLiteral("Zanli Version 0.21"));
  EXPECT_FALSE(iconShown.isNull());
  EXPECT_FALSE(window->windowIcon().isNull());
  EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace zanli
