// KiCad symbol libraries through the File menu, dialogs answered as a user would.
#include <QFileDialog>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "app/kicad_import_dialog.h"
#include "app/symbol_preview.h"
#include "kicad/kicad_test_support.h"
#include "main_window_test_support.h"
#include "modal_script.h"

namespace zanli {
namespace {

using namespace kicad_test;
using testing::Describe;
using testing::ModalScript;

// A rectangle IC, a derived symbol of it, one whose name the library has
// already, and one that cannot be drawn.
const std::string kSmallFile = File(
    Symbol("CHIP", Unit("CHIP", 1,
                        Rect("-5.08", "5.08", "5.08", "-5.08") + Pin("-7.62", "2.54", 0, "1", "IN") +
                            Pin("7.62", "2.54", 180, "2", "OUT"))) +
    Symbol("CHIPX", "(extends \"CHIP\")") + Symbol("OLD", Unit("OLD", 1, Pin("-7.62", "0", 0, "1", "A"))) +
    Symbol("EMPTY", Unit("EMPTY", 1, "")));

QStringList Names(const Library& library) {
  QStringList names;
  for (const auto& entry : library.entries) names << QString::fromStdString(entry->name);
  return names;
}

class MainWindowKicadTest : public testing::MainWindowTestBase {
 protected:
  void SetUp() override {
    MainWindowTestBase::SetUp();
    ASSERT_TRUE(temp.isValid());
    AddPin(AddPart("OLD"), PinEdge::Left, 0, "X");
    Fill();
  }
  QString Write(const char* name, const std::string& text) const {
    const QString path = temp.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path;
  }
  static void ChooseFile(ModalScript& script, const QString& path) {
    script.Then<QFileDialog>([path](QFileDialog* dialog) {
      dialog->setDirectory(QFileInfo(path).absolutePath());
      auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      field->setText(QFileInfo(path).fileName());
      QTest::keyClick(field, Qt::Key_Return);
    });
  }
  void Trigger(int command) {
    window->action(command)->trigger();
    Settle();
  }
  // Keeps the text of the next message box and closes it.
  static void ReadBox(ModalScript& script, QString& said) {
    script.Then<QMessageBox>([&said](QMessageBox* box) {
      said = box->text();
      box->accept();
    });
  }
  static QTreeWidget* Symbols(KicadImportDialog* dialog) {
    return dialog->findChild<QTreeWidget*>(QStringLiteral("symbols"));
  }
  static QTreeWidgetItem* Row(KicadImportDialog* dialog, const char* symbol) {
    const auto found = Symbols(dialog)->findItems(QString::fromLatin1(symbol), Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.front();
  }

  QTemporaryDir temp;
};

// Which symbols come in after the user filters and ticks: every importable
// one at first; the buttons act on the shown rows only; a derived symbol
// comes with its part, or alone as a part of its own; a clashing name is
// made unique. One step, which one Ctrl+Z takes back and Ctrl+Y redoes.
TEST_F(MainWindowKicadTest, TheTickedSymbolsComeInAsOneStep) {
  struct Case {
    const char* filter;
    bool check;  // the button pressed on the rows the filter shows
    QStringList expected;
  };
  const Case cases[] = {
      {"", true, {"OLD", "CHIP", "CHIPX", "OLD_1"}},
      {"chip*", false, {"OLD", "OLD_1"}},
      {"*x", false, {"OLD", "CHIP", "OLD_1"}},
      {"?LD", false, {"OLD", "CHIP", "CHIPX"}},
  };
  const QString path = Write("small.kicad_sym", kSmallFile);
  const std::string start = Describe(library());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter);
    ModalScript script;
    ChooseFile(script, path);
    script.Then<KicadImportDialog>([&](KicadImportDialog* dialog) {
      auto* filter = dialog->findChild<QLineEdit*>(QStringLiteral("filter"));
      TypeInto(filter, QString::fromLatin1(c.filter));
      QTest::keyClick(filter, Qt::Key_Return);  // filters, never imports
      ASSERT_TRUE(dialog->isVisible());
      dialog->findChild<QPushButton*>(QString::fromLatin1(c.check ? "checkShown" : "uncheckShown"))->click();
      dialog->accept();
    });
    Trigger(MainWindow::kImportKicad);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(Names(library()), c.expected);
    if (c.expected.size() > 2 && c.expected[2] == QStringLiteral("CHIPX")) {
      EXPECT_EQ(library().entries[2]->body, library().entries[1]->body);
    }
    const std::string imported = Describe(library());
    EXPECT_EQ(undoStack().count(), 1);
    // Shortcuts reach the active window only, which the offscreen platform
    // does not give back after a dialog.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Key(partList(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Describe(library()), start);
    Key(partList(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Describe(library()), imported);
    Key(partList(), Qt::Key_Z, Qt::ControlModifier);
    undoStack().clear();
  }
}

TEST_F(MainWindowKicadTest, TheDialogShowsOutcomesReasonsAndThePartToBe) {
  ModalScript script;
  ChooseFile(script, Write("small.kicad_sym", kSmallFile));
  script.Then<KicadImportDialog>([&](KicadImportDialog* dialog) {
    QTreeWidgetItem* empty = Row(dialog, "EMPTY");
    ASSERT_TRUE(empty && Row(dialog, "CHIP") && Row(dialog, "OLD"));
    // A refused symbol has no box to tick, and its row says why.
    EXPECT_FALSE(empty->flags() & Qt::ItemIsUserCheckable);
    EXPECT_EQ(empty->text(1), QStringLiteral("取り込めません"));
    EXPECT_EQ(empty->text(3), QStringLiteral("ﾋﾟﾝがありません"));
    // What changed comes before what the library does not keep.
    EXPECT_EQ(Row(dialog, "OLD")->text(2), QStringLiteral("OLD_1"));
    EXPECT_TRUE(Row(dialog, "OLD")->text(3).startsWith(QStringLiteral("部品名を OLD_1 にしました; ")));
    auto* preview = dialog->findChild<SymbolPreview*>(QStringLiteral("preview"));
    auto* notes = dialog->findChild<QPlainTextEdit*>(QStringLiteral("notes"));
    for (const char* shown : {"CHIP", "CHIPX"}) {
      Symbols(dialog)->setCurrentItem(Row(dialog, shown));
      ASSERT_NE(preview->Body(), nullptr);
      EXPECT_EQ(preview->Body()->pins.size(), 2u);
    }
    EXPECT_TRUE(notes->toPlainText().startsWith(QStringLiteral("CHIPX: そのまま (CHIP の別名)\nCHIPX")));
    Symbols(dialog)->setCurrentItem(empty);
    EXPECT_EQ(preview->Body(), nullptr);
    dialog->reject();
  });
  Trigger(MainWindow::kImportKicad);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(Names(library()), QStringList{"OLD"});
  EXPECT_EQ(undoStack().count(), 0);
}

TEST_F(MainWindowKicadTest, FailuresSayWhyAndChangeNothing) {
  // A file that is no symbol library: the path and the reason.
  const QString bad = Write("bad.kicad_sym", "(kicad_symbol_lib (version 1)");
  QString said;
  ModalScript unreadable;
  ChooseFile(unreadable, bad);
  ReadBox(unreadable, said);
  Trigger(MainWindow::kImportKicad);
  EXPECT_TRUE(unreadable.Done());
  EXPECT_TRUE(said.contains(bad) && said.contains(QStringLiteral("かっこが閉じていません")))
      << said.toStdString();

  // A name taken while the dialog was open: the whole import is refused.
  ModalScript refused;
  ChooseFile(refused, Write("small.kicad_sym", kSmallFile));
  refused.Then<KicadImportDialog>([&](KicadImportDialog* dialog) {
    ASSERT_EQ(document().AddPart(-1, "OLD_1", 0).status, EditStatus::Done);
    dialog->accept();
  });
  ReadBox(refused, said);
  Trigger(MainWindow::kImportKicad);
  EXPECT_TRUE(refused.Done());
  EXPECT_TRUE(said.contains(QStringLiteral("OLD_1"))) << said.toStdString();
  EXPECT_EQ(Names(library()), (QStringList{"OLD", "OLD_1"}));
  EXPECT_EQ(undoStack().count(), 0);
}

// What the editor writes, read back through the import, gives the same
// parts; the selected part goes out with its aliases and nothing else; what
// the file cannot say as the library does is told after the write.
TEST_F(MainWindowKicadTest, AnExportImportsBackTheSameParts) {
  struct Case {
    QMessageBox::StandardButton which;  // Yes: the selected part only
    int selectedRow;
    QStringList expected;
    const char* note;
  };
  const Case cases[] = {
      {QMessageBox::No, 0, {"GATE", "GATE2", "RES", "WIDE"}, "部品 WIDE: 本体の外のﾋﾟﾝ"},
      {QMessageBox::Yes, 1, {"GATE", "GATE2"}, nullptr},
  };
  for (const Case& c : cases) {
    PartBody* gate = AddPart("GATE", 4, 3, 2);
    AddPin(gate, PinEdge::Left, 0, "\\A", "D1")->numbers.Set(1, "H4");
    (gate->pattern = AddPattern("TRI", 41, 31))->SetPixel(3, 4, true);
    AddAlias("GATE2", gate);
    AddPin(AddPart("RES", 1, 3), PinEdge::Top, 0, "", "D1");
    AddPin(AddPart("WIDE", 1, 1), PinEdge::Left, 3, "P");
    Fill();
    std::string original = Describe(library());
    original.erase(original.find("body 1x1"));  // WIDE's pin comes back on its edge
    ClickRow(c.selectedRow);
    const QString path = temp.filePath(QStringLiteral("out%1.kicad_sym").arg(c.selectedRow));
    QString said;
    ModalScript script;
    script.Then<QMessageBox>([&](QMessageBox* box) { box->button(c.which)->click(); });
    ChooseFile(script, path);
    if (c.note) ReadBox(script, said);
    Trigger(MainWindow::kExportKicad);
    ASSERT_TRUE(script.Done());
    EXPECT_TRUE(!c.note || said.contains(QString::fromUtf8(c.note))) << said.toStdString();

    NewLibrary();
    ModalScript back;
    ChooseFile(back, path);
    back.Then<KicadImportDialog>([](KicadImportDialog* dialog) { dialog->accept(); });
    Trigger(MainWindow::kImportKicad);
    ASSERT_TRUE(back.Done());
    EXPECT_EQ(Names(library()), c.expected);
    if (c.which == QMessageBox::No) {
      EXPECT_EQ(Describe(library()).substr(0, original.size()), original);
    }
    undoStack().clear();
  }
}

}  // namespace
}  // namespace zanli
