// The history through the Edit menu and the keys: what a step undoes and
// redoes, where it takes the views, and how it marks unsaved changes.
#include <QAction>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "fileio/text_library_format.h"
#include "main_window_test_support.h"
#include "modal_answerer.h"

namespace zanli {
namespace {

using testing::Describe;

class MainWindowUndoTest : public testing::MainWindowTestBase {
 protected:
  QAction* Undo() const { return window->action(MainWindow::kEditUndo); }
  QAction* Redo() const { return window->action(MainWindow::kEditRedo); }
  void EditName(const QString& name) {
    TypeInto(pinNameEdit(), name);
    Key(pinNameEdit(), Qt::Key_Return);
  }
};

TEST_F(MainWindowUndoTest, MenuNamesTheStepAndGreysWhenThereIsNothingToUndo) {
  PartBody* body = AddPart("A");
  AddPin(body, PinEdge::Left, 0, "OLD");
  Fill();
  UpdateCommandStates();
  EXPECT_EQ(Undo()->text(), QStringLiteral("元に戻す(&U)\tCtrl+Z"));
  EXPECT_EQ(Redo()->text(), QStringLiteral("やり直し(&Y)\tCtrl+Y"));
  EXPECT_FALSE(Undo()->isEnabled());
  EXPECT_FALSE(Redo()->isEnabled());
  EXPECT_EQ(Redo()->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));

  EditName("NEW");
  EXPECT_EQ(Undo()->text(), QStringLiteral("元に戻す - ﾋﾟﾝの変更(&U)\tCtrl+Z"));
  EXPECT_TRUE(Undo()->isEnabled());
  Undo()->trigger();
  Settle();
  EXPECT_EQ(body->pins[0]->name, "OLD");
  EXPECT_EQ(Redo()->text(), QStringLiteral("やり直し - ﾋﾟﾝの変更(&Y)\tCtrl+Y"));
  EXPECT_FALSE(Undo()->isEnabled());
  Redo()->trigger();
  Settle();
  EXPECT_EQ(body->pins[0]->name, "NEW");
}

TEST_F(MainWindowUndoTest, TheSavedStateIsCleanWhicheverWayTheHistoryGetsBackToIt) {
  QTemporaryDir temp;
  PartBody* body = AddPart("A");
  AddPin(body, PinEdge::Left, 0, "P0");
  Fill();
  const QString path = temp.filePath(QStringLiteral("lib.LB3"));
  SetLibraryPath(QFile::encodeName(path).toStdString());
  UpdateTitle();
  EXPECT_EQ(Caption(), QStringLiteral("Zanli - lib.LB3"));

  EditName("P1");
  EXPECT_EQ(Caption(), QStringLiteral("Zanli - lib.LB3*"));
  ASSERT_TRUE(SaveLibrary());
  EXPECT_FALSE(modified());
  EXPECT_EQ(Caption(), QStringLiteral("Zanli - lib.LB3"));
  EXPECT_EQ(undoStack().count(), 1) << "the history survives Save";

  // Each state saves as itself; back at the saved state nothing is to save.
  Library saved;
  partView()->setFocus();
  Key(partView(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(modified());
  ASSERT_TRUE(SaveLibrary());
  ASSERT_TRUE(TextLibraryFormat::Read(QFile::encodeName(path).toStdString(), saved));
  EXPECT_EQ(saved.bodies[0]->pins[0]->name, "P0");
  Key(partView(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_TRUE(modified());
  Key(partView(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(modified());

  // Closing there asks nothing.
  testing::ModalAnswerer<QMessageBox> prompt([](QMessageBox* box) { box->reject(); });
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(prompt.answered());
}

TEST_F(MainWindowUndoTest, StepsTakeTheViewsToTheirEntryAndPin) {
  PartBody* first = AddPart("FIRST", 2, 3);
  AddPin(first, PinEdge::Left, 2, "F2");
  PartBody* second = AddPart("SECOND", 3, 3);
  AddPin(second, PinEdge::Right, 1, "S1");
  Fill();
  ClickPosition(PinEdge::Left, 2);
  EditName("F2X");
  ClickRow(1);
  ClickPosition(PinEdge::Right, 1);
  EditName("S1X");
  ClickRow(0);
  ASSERT_EQ(partView()->Part(), first);

  // Undoing the second edit goes to SECOND, Right 1; the first to FIRST.
  partView()->setFocus();
  Key(partView(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(partList()->GetCurSel(), 1);
  EXPECT_EQ(partView()->Part(), second);
  EXPECT_EQ(partView()->CursorEdge(), PinEdge::Right);
  EXPECT_EQ(partView()->CursorPosition(), 1);
  EXPECT_EQ(pinNameEdit()->text(), QStringLiteral("S1"));
  EXPECT_EQ(partList()->GetItemColor(1), QColor(255, 0, 0));
  Key(partView(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(partView()->Part(), first);
  EXPECT_EQ(partView()->CursorPosition(), 2);
  EXPECT_EQ(pinNameEdit()->text(), QStringLiteral("F2"));
  // Redo in the other order of keys lands the same way.
  Key(partView(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(pinNameEdit()->text(), QStringLiteral("F2X"));
  Key(partView(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(partView()->Part(), second);
  EXPECT_EQ(second->pins[0]->name, "S1X");
  EXPECT_EQ(first->pins[0]->name, "F2X");
}

// A number edited in block 3 comes back in block 3, undone and redone.
TEST_F(MainWindowUndoTest, APinStepShowsTheBlockItWasMadeIn) {
  AddPin(AddPart("TRIPLE", 2, 2, 3), PinEdge::Left, 0, "A")->numbers = {"D1", "D2", "D3"};
  AddPart("OTHER");
  Fill();
  ClickPosition(PinEdge::Left, 0);
  blockBox()->setFocus();
  Key(blockBox(), Qt::Key_Up);
  Key(blockBox(), Qt::Key_Up);
  ASSERT_EQ(partView()->GetBlock(), 2);
  TypeInto(pinNumberEdit(), "9");
  Key(pinNumberEdit(), Qt::Key_Return);
  ClickRow(1);
  partView()->setFocus();
  for (const auto& [key, number] : {std::pair{Qt::Key_Z, "3"}, std::pair{Qt::Key_Y, "9"}}) {
    Key(partView(), key, Qt::ControlModifier);
    EXPECT_EQ(partList()->GetCurSel(), 0);
    EXPECT_EQ(partView()->GetBlock(), 2);
    EXPECT_EQ(blockBox()->value(), 3);
    EXPECT_EQ(pinNumberEdit()->text(), QString::fromLatin1(number));
  }
}

TEST_F(MainWindowUndoTest, NoStepForEditsThatChangeNothingAndTheFieldsKeepTheirOwnUndo) {
  PartBody* body = AddPart("A");
  AddPin(body, PinEdge::Left, 0, "SAME");
  AddPart("B");
  Fill();
  partView()->setFocus();
  Key(partView(), Qt::Key_Return);  // the pin as it is
  ClickPosition(PinEdge::Top, 1);
  Key(partView(), Qt::Key_Return);                  // a free position left free
  Key(partView(), Qt::Key_D, Qt::ControlModifier);  // nothing there or after it
  EXPECT_FALSE(modified());
  EXPECT_EQ(undoStack().count(), 0);

  // In the name field Ctrl+Z undoes the typing, not a step.
  ClickPosition(PinEdge::Left, 0);
  EditName("OTHER");
  ASSERT_EQ(undoStack().count(), 1);
  pinNameEdit()->setFocus();
  pinNameEdit()->end(false);
  QTest::keyClicks(pinNameEdit(), "XY");
  Key(pinNameEdit(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(undoStack().index(), 1);
  EXPECT_EQ(body->pins[0]->name, "OTHER");
  EXPECT_NE(pinNameEdit()->text(), QStringLiteral("OTHERXY"));
}

TEST_F(MainWindowUndoTest, InsertAndDeleteCloseUpAndADragUndoExactly) {
  PartBody* body = AddPart("A", 2, 4);
  for (int p : {0, 1, 3}) AddPin(body, PinEdge::Left, p, std::string("L").append(std::to_string(p)));
  AddPart("B");
  AddPart("C");
  Fill();
  const std::string start = Describe(library());
  partView()->setFocus();
  Key(partView(), Qt::Key_I, Qt::ControlModifier);
  Key(partView(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Describe(library()), start);
  Key(partView(), Qt::Key_Down);
  Key(partView(), Qt::Key_D, Qt::ControlModifier);
  Key(partView(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Describe(library()), start);

  // A drag of row 0 below row 2 is one step.
  DragRow(0, 2);
  EXPECT_EQ(library().entries[1]->name, "A");
  EXPECT_EQ(partList()->GetCurSel(), 1);
  EXPECT_EQ(Undo()->text(), QStringLiteral("元に戻す - 部品の移動(&U)\tCtrl+Z"));
  Undo()->trigger();
  Settle();
  EXPECT_EQ(Describe(library()), start);
  EXPECT_EQ(partList()->GetCurSel(), 0);
}

// Operations grouped in the document are one step of the history: one
// name in the menu, one Ctrl+Z for all, which goes to the group's first pin,
// and one Ctrl+Y, which goes to its last.
TEST_F(MainWindowUndoTest, AGroupOfOperationsIsOneStep) {
  PartBody* body = AddPart("A", 2, 4);
  AddPin(body, PinEdge::Left, 1, "OLD");
  Fill();
  const std::string start = Describe(library());
  LibraryDocument& doc = document();
  ASSERT_TRUE(doc.BeginGroup(StepKind::EditPin));
  EXPECT_EQ(doc.EditPin(0, PinEdge::Left, 1, PinData{"ONE", 0, {"D1"}}).status, EditStatus::Done);
  EXPECT_EQ(doc.EditPin(0, PinEdge::Right, 3, PinData{"TWO", 0, {"D2"}}).status, EditStatus::Done);
  CommitStep(doc.CommitGroup());
  const std::string end = Describe(library());
  EXPECT_EQ(undoStack().count(), 1);
  EXPECT_EQ(Undo()->text(), QStringLiteral("元に戻す - ﾋﾟﾝの変更(&U)\tCtrl+Z"));

  partView()->setFocus();
  Key(partView(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Describe(library()), start);
  EXPECT_EQ(partView()->CursorEdge(), PinEdge::Left);
  EXPECT_EQ(partView()->CursorPosition(), 1);
  EXPECT_EQ(pinNameEdit()->text(), QStringLiteral("OLD"));
  Key(partView(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Describe(library()), end);
  EXPECT_EQ(partView()->CursorEdge(), PinEdge::Right);
  EXPECT_EQ(pinNameEdit()->text(), QStringLiteral("TWO"));
}

TEST_F(MainWindowUndoTest, NewClearsTheHistory) {
  AddPin(AddPart("A"), PinEdge::Left, 0, "P");
  Fill();
  EditName("Q");
  testing::ModalAnswerer<QMessageBox> no([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
  window->action(MainWindow::kFileNew)->trigger();
  Settle();
  EXPECT_TRUE(no.answered());
  EXPECT_EQ(undoStack().count(), 0);
  EXPECT_FALSE(modified());
  EXPECT_FALSE(Undo()->isEnabled());
  EXPECT_EQ(Caption(), QStringLiteral("Zanli - Untitled.LIB"));
}

}  // namespace
}  // namespace zanli
