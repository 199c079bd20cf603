// The filter above the part list as a user types into it: the rows it shows,
// its keys, and commands acting on the entries of the rows shown.
#include <QPushButton>

#include "app/part_name_dialog.h"
#include "main_window_test_support.h"
#include "modal_script.h"

namespace zanli {
namespace {

using Names = std::vector<std::string>;

class PartFilterTest : public testing::MainWindowTestBase {
 protected:
  // Rows 0 LM358, 1 74HC00, 2 74HC04, 3 NE555, 4 74LS00, 5 its alias SN7400, 6 74F00.
  void SetUp() override {
    MainWindowTestBase::SetUp();
    for (const char* name : {"LM358", "74HC00", "74HC04", "NE555"}) AddPart(name);
    AddAlias("SN7400", AddPart("74LS00"));
    AddPart("74F00");
    Fill();
  }
  QLineEdit* filter() const { return Child<QLineEdit>("partFilter"); }
  Names Shown() const {
    Names names;
    for (int place = 0; place < partList()->ShownCount(); ++place)
      names.push_back(partList()->GetItemText(partList()->RowAt(place)));
    return names;
  }
  std::string Selected() const { return partList()->GetItemText(partList()->GetCurSel()); }
  // Ctrl+F from the list, then the text typed. A dialog may have taken the
  // active window away where no window manager gives it back.
  void Search(const QString& text) {
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    partList()->setFocus();
    Key(partList(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(filter()->hasFocus());
    filter()->clear();
    QTest::keyClicks(filter(), text);
    Settle();
  }
  void Undo() {
    undoStack().undo();
    Settle();
  }
  // Runs a command whose name dialog is answered with `name`.
  void Named(int command, const QString& name) {
    testing::ModalScript script;
    script.Then<PartNameDialog>([name](PartNameDialog* dialog) {
      dialog->findChild<QLineEdit*>(QStringLiteral("partName"))->setText(name);
      dialog->findChild<QPushButton*>(QStringLiteral("ok"))->click();
    });
    window->action(command)->trigger();
    Settle();
  }
};

TEST_F(PartFilterTest, TextPicksTheRowsAndTheSelectionFollowsThem) {
  const struct {
    const char* text;
    Names shown;
    const char* selected;
  } cases[] = {
      {"74*00", {"74HC00", "74LS00", "SN7400", "74F00"}, "74HC00"},  // LM358 hidden: the first row
      {"hc", {"74HC00", "74HC04"}, "74HC00"},                        // any case; the selection stays
      {"74?c0?", {"74HC00", "74HC04"}, "74HC00"},
      {"sn", {"74LS00", "SN7400"}, "74LS00"},  // an alias brings its part
      {"zzz", {}, ""},                         // no selection, no part shown
      {"\u00e9", {}, ""},                      // no name can hold it
      {"*", {"LM358", "74HC00", "74HC04", "NE555", "74LS00", "SN7400", "74F00"}, "LM358"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    filter()->setText(QString::fromUtf8(c.text));
    Settle();
    EXPECT_EQ(Shown(), c.shown);
    EXPECT_EQ(Selected(), c.selected);
    EXPECT_EQ(partView()->Part(), c.shown.empty() ? nullptr : document().BodyOf(partList()->GetCurSel()));
  }
}

TEST_F(PartFilterTest, EscClearsKeysWalkTheShownRowsAndDragsWait) {
  ClickRow(6);
  DragRow(6, 0);  // 74F00 to the top, unfiltered
  Search(QStringLiteral("F00"));
  Undo();  // the move, under the filter: the row follows its entry
  EXPECT_EQ(library().entries[6]->name, "74F00");
  EXPECT_EQ(Shown(), Names({"74F00"}));

  Search(QStringLiteral("00"));
  ClickRow(0);
  DragRow(0, 2);  // a drop among hidden rows would be a guess: none
  EXPECT_EQ(library().entries[1]->name, "74HC00");
  filter()->setFocus();
  Key(filter(), Qt::Key_Escape);
  EXPECT_TRUE(filter()->text().isEmpty() && filter()->hasFocus());
  EXPECT_EQ(Shown().size(), 7u);
  EXPECT_EQ(Selected(), "74HC00");
  Key(filter(), Qt::Key_Escape);  // the second one goes to the list
  EXPECT_TRUE(partList()->hasFocus());

  Search(QStringLiteral("00"));
  Key(filter(), Qt::Key_Down);
  for (const char* below : {"74LS00", "SN7400", "74F00"}) {  // past 74HC04 and NE555
    Key(partList(), Qt::Key_Down);
    EXPECT_EQ(Selected(), below);
  }
}

TEST_F(PartFilterTest, CommandsOnAShownRowActOnItsEntry) {
  Search(QStringLiteral("74*00"));
  ClickRow(3);  // 74F00, entry row 6
  Named(MainWindow::kRenamePart, QStringLiteral("XYZ"));
  EXPECT_EQ(library().entries[6]->name, "XYZ");
  EXPECT_EQ(Shown(), Names({"74HC00", "74LS00", "SN7400", "XYZ"}));  // stays till the text changes

  ClickRow(1);  // 74LS00
  ClickPosition(PinEdge::Left, 1);
  ClickBox(blankPinBox());
  TypeInto(pinNameEdit(), QStringLiteral("Q"));
  Key(pinNameEdit(), Qt::Key_Return);
  ASSERT_EQ(library().entries[4]->body->pins.size(), 1u);

  // Delete selects the next row shown, not the hidden 74HC04.
  ClickRow(0);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  Key(partList(), Qt::Key_Delete);
  EXPECT_EQ(library().entries[1]->name, "74HC04");
  EXPECT_EQ(Selected(), "74LS00");
  Named(MainWindow::kNewPart, QStringLiteral("NEW"));  // shown and selected though it does not match
  EXPECT_EQ(Shown(), Names({"NEW", "74LS00", "SN7400", "XYZ"}));
  EXPECT_EQ(Selected(), "NEW");

  // Undo goes to its entry, which joins the rows shown where hidden.
  Search(QStringLiteral("SN"));
  Undo();
  Undo();
  EXPECT_EQ(Shown(), Names({"74HC00", "74LS00", "SN7400"}));
  EXPECT_EQ(Selected(), "74HC00");
  Search(QStringLiteral("HC"));
  Undo();  // the pin edit
  EXPECT_EQ(Shown(), Names({"74HC00", "74HC04", "74LS00"}));
  EXPECT_EQ(Selected(), "74LS00");
  EXPECT_EQ(partView()->Part(), library().entries[4]->body);
  EXPECT_TRUE(library().entries[4]->body->pins.empty());
}

}  // namespace
}  // namespace zanli
