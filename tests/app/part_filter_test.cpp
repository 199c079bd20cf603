// The filter above the part list, typed into as a user does: which rows it
// shows, its keys, and the commands acting on the entries of the rows shown.
#include <QLineEdit>
#include <QPushButton>

#include "app/part_name_dialog.h"
#include "main_window_test_support.h"
#include "modal_script.h"

namespace zanli {
namespace {

using Names = std::vector<std::string>;

class PartFilterTest : public testing::MainWindowTestBase {
 protected:
  // Rows 0 LM358, 1 74HC00, 2 74HC04, 3 NE555, 4 74LS00, 5 SN7400 (an alias
  // of 74LS00), 6 74F00.
  void SetUp() override {
    MainWindowTestBase::SetUp();
    AddPart("LM358");
    AddPart("74HC00");
    AddPart("74HC04");
    AddPart("NE555");
    AddAlias("SN7400", AddPart("74LS00"));
    AddPart("74F00");
    Fill();
  }

  QLineEdit* filter() const { return Child<QLineEdit>("partFilter"); }
  // What the list shows, top to bottom.
  Names Shown() const {
    Names names;
    for (int place = 0; place < partList()->ShownCount(); ++place)
      names.push_back(partList()->GetItemText(partList()->RowAt(place)));
    return names;
  }
  std::string Selected() const { return partList()->GetItemText(partList()->GetCurSel()); }
  // Keys reach the active window only; a dialog may have taken that away
  // on a platform without a window manager.
  void Activate() {
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }
  // Ctrl+F from the list, then the text typed key by key.
  void Search(const QString& text) {
    Activate();
    partList()->setFocus();
    Key(partList(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(filter()->hasFocus());
    filter()->selectAll();
    QTest::keyClick(filter(), Qt::Key_Backspace);
    // Qt Test types ASCII only.
    if (text.toLatin1() == text.toUtf8())
      QTest::keyClicks(filter(), text);
    else
      filter()->insert(text);
    Settle();
  }
  void Run(int command) {
    UpdateCommandStates();
    window->action(command)->trigger();
    Settle();
  }
};

TEST_F(PartFilterTest, TypingNarrowsTheListAndTheSelectionFollowsTheRowsShown) {
  const struct {
    const char* text;
    Names shown;
    const char* selected;
  } cases[] = {
      {"74*00", {"74HC00", "74LS00", "SN7400", "74F00"}, "74HC00"},  // LM358 hidden: the first row
      {"hc", {"74HC00", "74HC04"}, "74HC00"},                        // case ignored, selection kept
      {"74?c0?", {"74HC00", "74HC04"}, "74HC00"},
      {"sn", {"74LS00", "SN7400"}, "74LS00"},  // an alias brings its part
      {"555", {"NE555"}, "NE555"},
      {"zzz", {}, ""},     // nothing: no selection, no part shown
      {"\u00e9", {}, ""},  // a character no name can hold
      {"*", {"LM358", "74HC00", "74HC04", "NE555", "74LS00", "SN7400", "74F00"}, "LM358"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Search(QString::fromUtf8(c.text));
    EXPECT_EQ(Shown(), c.shown);
    EXPECT_EQ(Selected(), c.selected);
    EXPECT_EQ(partView()->Part(), c.shown.empty() ? nullptr : document().BodyOf(partList()->GetCurSel()));
  }
}

TEST_F(PartFilterTest, EscClearsTheFilterKeepingTheFoundPartAndDragsWaitForIt) {
  ClickRow(6);
  DragRow(6, 0);  // 74F00 to the top, before any filter
  ASSERT_EQ(library().entries[0]->name, "74F00");
  Search(QStringLiteral("F00"));
  // The move undone under the filter: the row follows its entry.
  undoStack().undo();
  Settle();
  EXPECT_EQ(library().entries[6]->name, "74F00");
  EXPECT_EQ(Shown(), Names({"74F00"}));
  EXPECT_EQ(Selected(), "74F00");

  // No drag while filtered: the drop would fall among hidden rows.
  Search(QStringLiteral("00"));
  ClickRow(0);
  DragRow(0, 2);
  EXPECT_EQ(library().entries[1]->name, "74HC00");

  filter()->setFocus();
  Key(filter(), Qt::Key_Escape);
  EXPECT_TRUE(filter()->text().isEmpty());
  EXPECT_TRUE(filter()->hasFocus());
  EXPECT_EQ(Shown().size(), 7u);
  EXPECT_EQ(Selected(), "74HC00");
  // The second Esc, and Down, go on to the list.
  Key(filter(), Qt::Key_Escape);
  EXPECT_TRUE(partList()->hasFocus());
  // Keys step through the rows shown, past the hidden 74HC04 and NE555.
  Search(QStringLiteral("00"));
  Key(filter(), Qt::Key_Down);
  EXPECT_TRUE(partList()->hasFocus());
  for (const char* below : {"74LS00", "SN7400", "74F00"}) {
    Key(partList(), Qt::Key_Down);
    EXPECT_EQ(Selected(), below);
  }
}

TEST_F(PartFilterTest, CommandsOnAFilteredRowActOnItsEntry) {
  Search(QStringLiteral("74*00"));
  ClickRow(3);  // 74F00, entry row 6
  ASSERT_EQ(Selected(), "74F00");

  // A rename keeps the row in view even when the filter would hide it.
  testing::ModalScript rename;
  rename.Then<PartNameDialog>([](PartNameDialog* dialog) {
    dialog->findChild<QLineEdit*>(QStringLiteral("partName"))->setText(QStringLiteral("XYZ"));
    dialog->findChild<QPushButton*>(QStringLiteral("ok"))->click();
  });
  Run(MainWindow::kRenamePart);
  EXPECT_EQ(library().entries[6]->name, "XYZ");
  EXPECT_EQ(Shown(), Names({"74HC00", "74LS00", "SN7400", "XYZ"}));

  // A pin edit lands on the shown part's body.
  ClickRow(1);  // 74LS00
  ClickPosition(PinEdge::Left, 1);
  ClickBox(blankPinBox());
  TypeInto(pinNameEdit(), QStringLiteral("Q"));
  Key(pinNameEdit(), Qt::Key_Return);
  ASSERT_EQ(library().entries[4]->body->pins.size(), 1u);
  EXPECT_EQ(library().entries[4]->body->pins[0]->name, "Q");

  // Delete takes the shown row's entry and selects the next row shown, not
  // the next in the library.
  ClickRow(0);  // 74HC00, entry row 1; row 2 (74HC04) is hidden
  Activate();
  partList()->setFocus();
  Key(partList(), Qt::Key_Delete);
  EXPECT_EQ(library().entries[1]->name, "74HC04");
  EXPECT_EQ(Shown(), Names({"74LS00", "SN7400", "XYZ"}));
  EXPECT_EQ(Selected(), "74LS00");

  // A new part stays in view and selected though its name does not match.
  testing::ModalScript create;
  create.Then<PartNameDialog>(
      [](PartNameDialog* dialog) { dialog->findChild<QPushButton*>(QStringLiteral("ok"))->click(); });
  Run(MainWindow::kNewPart);
  EXPECT_EQ(Shown(), Names({"NEWNAME0", "74LS00", "SN7400", "XYZ"}));
  EXPECT_EQ(Selected(), "NEWNAME0");

  // Undo after the text changed goes to its entry even where hidden: the
  // deleted 74HC00 comes back, shown and selected.
  Search(QStringLiteral("SN"));
  undoStack().undo();  // the new part
  undoStack().undo();  // the delete
  Settle();
  EXPECT_EQ(Shown(), Names({"74HC00", "74LS00", "SN7400"}));
  EXPECT_EQ(Selected(), "74HC00");
  EXPECT_EQ(partView()->Part(), document().BodyOf(1));
  // The pin edit undone on a part the filter hides: the part joins the rows.
  Search(QStringLiteral("HC"));
  undoStack().undo();
  Settle();
  EXPECT_EQ(Shown(), Names({"74HC00", "74HC04", "74LS00"}));
  EXPECT_EQ(Selected(), "74LS00");
  EXPECT_TRUE(library().entries[4]->body->pins.empty());
}

}  // namespace
}  // namespace zanli
