// The pin table and pin-list pastes through the window: rows in the
// cursor's order and in step with it, edits in cells under the pin panel's
// rules, rows deleted, inserted, copied and pasted, each one step.
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

#include "app/part_name_dialog.h"
#include "app/pin_list_paste_dialog.h"
#include "app/pin_table_window.h"
#include "fileio/library_file.h"
#include "main_window_test_support.h"
#include "modal_script.h"
#include "pinlist/pin_table_text.h"

namespace zanli {
namespace {

using testing::Describe;
using testing::ModalScript;

class PinTableTest : public testing::MainWindowTestBase {
 protected:
  void SetUp() override {
    MainWindowTestBase::SetUp();
    PartBody* ic = AddPart("IC", 4, 4, 2);
    for (auto [edge, position, name] : {std::tuple{PinEdge::Top, 2, "VCC"},
                                        {PinEdge::Left, 2, "B"},
                                        {PinEdge::Right, 3, "Y"},
                                        {PinEdge::Left, 1, "A"},
                                        {PinEdge::Bottom, 2, "GND"}})
      AddPin(ic, edge, position, name);
    AddPart("EMPTY");
    Fill();
    window->action(MainWindow::kPinTable)->trigger();
    Settle();
    table = window->findChild<PinTableWindow*>();
    ASSERT_NE(table, nullptr);
    view = table->findChild<QTableView*>();
  }
  QString Cell(int row, int column) const { return view->model()->index(row, column).data().toString(); }
  QStringList Names() const {
    QStringList names;
    for (int row = 0; row < view->model()->rowCount(); ++row) names << Cell(row, 2);
    return names;
  }
  // The pins of the body of `row` in the table's order: side, place, name.
  std::string Pins(int row) const {
    std::string text;
    // Appended piece by piece: GCC 12 at -O3 misreads a chain of string
    // temporaries as overlapping copies.
    for (const PinInfo* pin : PinsInCursorOrder(*document().BodyOf(row))) {
      if (!text.empty()) text += '|';
      text += "LTRB"[static_cast<int>(pin->edge)];
      text.append(std::to_string(pin->position)).append(1, ' ').append(pin->name);
    }
    return text;
  }
  // Types into the cell's editor and presses Enter, as a user does after F2.
  void EditCell(int row, int column, const QString& text) {
    const QModelIndex index = view->model()->index(row, column);
    view->setCurrentIndex(index);
    // A message box gives the keyboard back to the main window.
    table->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(table));
    view->edit(index);
    // A message box takes the focus, and the editor closes when it loses it.
    QPointer<QWidget> editor = QApplication::focusWidget();
    ASSERT_NE(editor, nullptr);
    if (auto* line = qobject_cast<QLineEdit*>(editor.data())) {
      // Pasted, so a character the library cannot hold is named.
      line->selectAll();
      QApplication::clipboard()->setText(text);
      QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
      QTest::qWait(50);  // a refusal's message comes after the refused edit
    } else {
      QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(editor, text);
    }
    if (editor) QTest::keyClick(editor, Qt::Key_Return);
    Settle();
  }
  void TableKey(QKeySequence::StandardKey key) {
    table->activateWindow();
    view->setFocus();
    const QKeySequence sequence(key);
    QTest::keyClick(view, static_cast<Qt::Key>(sequence[0].key()), sequence[0].keyboardModifiers());
    Settle();
  }

  PinTableWindow* table = nullptr;
  QTableView* view = nullptr;
};

TEST_F(PinTableTest, RowsRunAroundTheBodyAndFollowTheCursorBothWays) {
  EXPECT_EQ(Names(), (QStringList{"A", "B", "GND", "Y", "VCC"}));
  EXPECT_EQ(Cell(3, 0), QStringLiteral("右"));
  view->selectRow(3);
  Settle();
  EXPECT_EQ(pinNameEdit()->text(), QStringLiteral("Y"));
  ClickPosition(PinEdge::Left, 2);
  EXPECT_EQ(view->currentIndex().row(), 1);
  ClickPosition(PinEdge::Left, 3);  // no pin there
  EXPECT_TRUE(view->selectionModel()->selectedRows().isEmpty());
}

TEST_F(PinTableTest, CellEditsFollowThePanelsRulesAndAreOneStepEach) {
  const struct {
    int row, column;
    const char* typed;
    const char* refusal;  // empty: done
    const char* pins;     // the IC's pins in the table's order afterwards
  } cases[] = {
      {0, 2, "CLK", "", "L1 CLK|L2 B|B2 GND|R3 Y|T2 VCC"},
      {1, 1, "1", "その位置には既にﾋﾟﾝがあります", "L1 CLK|L2 B|B2 GND|R3 Y|T2 VCC"},
      {1, 1, "5", "位置は 0 から 4 までです", "L1 CLK|L2 B|B2 GND|R3 Y|T2 VCC"},
      {1, 0, "x", "辺は 左、上、右、下 (L, T, R, B) のどれかです", "L1 CLK|L2 B|B2 GND|R3 Y|T2 VCC"},
      {1, 2, "Xé", "この文字はﾗｲﾌﾞﾗﾘに保存できません: é", "L1 CLK|L2 B|B2 GND|R3 Y|T2 VCC"},
      {1, 0, "right", "", "L1 CLK|B2 GND|R3 Y|R2 B|T2 VCC"},
  };
  for (const auto& c : cases) {
    const int steps = undoStack().count();
    QString seen;
    ModalScript script;
    script.Then<QMessageBox>([&seen](QMessageBox* box) {
      seen = box->text();
      box->accept();
    });
    EditCell(c.row, c.column, QString::fromUtf8(c.typed));
    EXPECT_EQ(seen, QString::fromUtf8(c.refusal)) << c.typed;
    EXPECT_EQ(undoStack().count(), steps + (*c.refusal ? 0 : 1)) << c.typed;
    EXPECT_EQ(Pins(0), c.pins) << c.typed;
  }
}

TEST_F(PinTableTest, RowsDeleteInsertCopyAndPasteAsOneStepEach) {
  const std::string start = Describe(library());
  view->selectionModel()->select(view->model()->index(0, 0),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  view->selectionModel()->select(view->model()->index(3, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  TableKey(QKeySequence::Delete);
  EXPECT_EQ(Pins(0), "L2 B|B2 GND|T2 VCC");
  EXPECT_EQ(undoStack().count(), 1);
  undoStack().undo();
  Settle();
  EXPECT_EQ(Describe(library()), start);

  // A blank row at B's place pushes B on.
  view->selectRow(1);
  table->InsertRow();
  Settle();
  EXPECT_EQ(Pins(0), "L1 A|L2 |L3 B|B2 GND|R3 Y|T2 VCC");
  undoStack().undo();
  Settle();

  // All rows copied (none selected) and pasted in place of the other part's
  // pins give the same pins; one undo takes the paste back.
  view->clearSelection();
  TableKey(QKeySequence::Copy);
  const QString copied = QApplication::clipboard()->text();
  EXPECT_TRUE(
      copied.startsWith(QStringLiteral("辺\t位置\t名前\t番号をﾊﾟｰﾂに寄せる\tｸﾛｯｸ\t負論理\t番号1\t番号2\r\n")))
      << copied.toStdString();
  ClickRow(1);
  EXPECT_EQ(view->model()->rowCount(), 0);
  ModalScript script;
  script.Then<PinListPasteDialog>([](PinListPasteDialog* dialog) { dialog->accept(); });
  TableKey(QKeySequence::Paste);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(Pins(1), Pins(0));
  EXPECT_EQ(PinTableText(*document().BodyOf(1), PinsInCursorOrder(*document().BodyOf(1))),
            PinTableText(*document().BodyOf(0), PinsInCursorOrder(*document().BodyOf(0))));
  EXPECT_EQ(view->model()->rowCount(), 5);
  undoStack().undo();
  Settle();
  EXPECT_EQ(Describe(library()), start);
}

// A 48-row list from a spreadsheet (number, name, side) becomes a new part
// with those pins on those sides, saved and read back exactly, and one
// undo removes it.
TEST_F(PinTableTest, NewPartFromASpreadsheetListSavesAndUndoesAsOneStep) {
  QString list = QStringLiteral("Pin\tName\tSide\n");
  for (int i = 1; i <= 48; ++i)
    list += QStringLiteral("%1\tP%1\t%2\n").arg(i).arg(i <= 20 ? "L" : i <= 40 ? "R" : i <= 44 ? "T" : "B");
  QApplication::clipboard()->setText(list);
  const std::string start = Describe(library());
  ModalScript script;
  script
      .Then<PartNameDialog>([](PartNameDialog* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("partName"))->setText(QStringLiteral("IC48"));
        dialog->findChild<QPushButton*>(QStringLiteral("ok"))->click();
      })
      .Then<PinListPasteDialog>([](PinListPasteDialog* dialog) { dialog->accept(); });
  window->action(MainWindow::kNewPartFromPins)->trigger();
  Settle();
  ASSERT_TRUE(script.Done());
  ASSERT_EQ(library().entries.size(), 3u);
  const int row = library().entries[0]->name == "IC48" ? 0 : 1;
  ASSERT_EQ(library().entries[static_cast<size_t>(row)]->name, "IC48");
  const PartBody& body = *document().BodyOf(row);
  ASSERT_EQ(body.pins.size(), 48u);
  int onSide[4] = {};
  for (const auto& pin : body.pins) ++onSide[static_cast<int>(pin->edge)];
  EXPECT_EQ((std::vector<int>(onSide, onSide + 4)), (std::vector<int>{20, 4, 20, 4}));
  EXPECT_EQ(body.FindPin(PinEdge::Right, 1)->name, "P21");
  EXPECT_EQ(view->model()->rowCount(), 48);  // the table follows the new part

  const std::string path = ::testing::TempDir() + "pin_list_part.LB3";
  SetLibraryPath(path);
  ASSERT_TRUE(SaveLibrary());
  const ReadResult read = LibraryFile::Read(path);
  ASSERT_NE(read.library, nullptr);
  // The text format writes bodies in the order of their parts: compare part by part.
  const auto part = [](const Library& lib, const std::string& name) {
    for (const auto& entry : lib.entries)
      if (entry->name == name)
        return std::to_string(entry->body->xSize) + "x" + std::to_string(entry->body->ySize) + "\n" +
               PinTableText(*entry->body, PinsInCursorOrder(*entry->body));
    return std::string("missing");
  };
  for (const char* name : {"IC48", "IC", "EMPTY"})
    EXPECT_EQ(part(*read.library, name), part(library(), name));
  undoStack().undo();
  Settle();
  EXPECT_EQ(Describe(library()), start);
}

}  // namespace
}  // namespace zanli
