// The checker in the editor: the question before a save that would change
// the library, and the problem list that leads to a part and its pin.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/library_check_dialog.h"
#include "app/save_loss_dialog.h"
#include "fileio/safe_file_writer.h"
#include "fileio/text_library_format.h"
#include "main_window_test_support.h"
#include "modal_answerer.h"
#include "modal_script.h"

namespace zanli {
namespace {

using testing::ModalScript;

class LibraryCheckUiTest : public testing::MainWindowTestBase {
 protected:
  void SetUp() override {
    MainWindowTestBase::SetUp();
    ASSERT_TRUE(temp.isValid());
  }
  std::string Path(const char* name) const {
    return QFile::encodeName(temp.filePath(QString::fromLatin1(name))).toStdString();
  }
  static QByteArray Bytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  QTemporaryDir temp;
};

TEST_F(LibraryCheckUiTest, ALossySaveAsksFirstAndCancelKeepsTheFileAsItWas) {
  // A pin numbered in block 2 only: as text, the number comes back in block 1.
  PartBody* body = AddPart("QUAD", 2, 2, 4);
  AddPin(body, PinEdge::Left, 1, "A")->numbers = {"D", "D77", "D", "D"};
  AddPart("PLAIN");
  Fill();
  const std::string path = Path("quad.LB3");
  {
    QFile old(QString::fromStdString(path));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("+VELD3_LIB_V.1.0\r\n");
  }
  const QByteArray before = Bytes(path);
  SetLibraryPath(path);
  MakeModified();

  QString heading;
  QStringList rows;
  // The question comes while the new file waits beside the old one (named
  // here, as where unnamed files are not to be had); Cancel removes it.
  SafeFileWriter::AllowUnnamedTemporaryForTesting(false);
  const auto files = [&] { return QDir(temp.path()).entryList(QDir::Files | QDir::Hidden).size(); };
  qsizetype filesWhileAsked = 0;
  ModalScript cancel;
  cancel.Then<SaveLossDialog>([&](SaveLossDialog* dialog) {
    filesWhileAsked = files();
    EXPECT_EQ(Bytes(path), before);
    heading = dialog->findChild<QLabel*>(QStringLiteral("heading"))->text();
    auto* list = dialog->findChild<QListWidget*>(QStringLiteral("losses"));
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
    QTest::keyClick(dialog, Qt::Key_Return);  // Cancel is the default
  });
  EXPECT_FALSE(SaveLibrary());
  EXPECT_TRUE(cancel.Done());
  EXPECT_EQ(heading, QStringLiteral("保存すると次の内容が変わります"));
  ASSERT_FALSE(rows.isEmpty());
  EXPECT_TRUE(rows.front().contains(QStringLiteral("QUAD"))) << rows.front().toStdString();
  EXPECT_EQ(Bytes(path), before);
  EXPECT_EQ(filesWhileAsked, 2);
  EXPECT_EQ(files(), 1);
  SafeFileWriter::AllowUnnamedTemporaryForTesting(true);
  EXPECT_TRUE(modified());
  EXPECT_EQ(body->pins[0]->numbers[1], "D77");

  ModalScript save;
  save.Then<SaveLossDialog>(
      [](SaveLossDialog* dialog) { dialog->findChild<QPushButton*>(QStringLiteral("save"))->click(); });
  EXPECT_TRUE(SaveLibrary());
  EXPECT_NE(Bytes(path), before);
  EXPECT_FALSE(modified());

  // A library that both formats hold saves without a word.
  AddPin(AddPart("PLAIN", 3, 3, 2), PinEdge::Top, 1, "CLK", "H4");
  Fill();
  SetLibraryPath(Path("plain.LIB"));
  testing::ModalAnswerer<QDialog> unexpected([](QDialog* d) { d->reject(); });
  EXPECT_TRUE(SaveLibrary());
  EXPECT_FALSE(unexpected.answered());
}

TEST_F(LibraryCheckUiTest, ASaveThatCouldNotBeReadBackIsRefusedWithItsCause) {
  PartBody* body = AddPart("WIDE", 300, 2);  // too wide for the binary format
  AddPin(body, PinEdge::Top, 1, "A");
  Fill();
  const std::string path = Path("wide.LIB");
  SetLibraryPath(path);
  QString text;
  ModalScript script;
  script.Then<QMessageBox>([&text](QMessageBox* box) {
    text = box->text();
    box->accept();
  });
  EXPECT_FALSE(SaveLibrary());
  EXPECT_TRUE(text.startsWith(QStringLiteral("ﾃﾞｰﾀのｻｲｽﾞが大きすぎます。\n分割してください。\n")))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("WIDE"))) << text.toStdString();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

TEST_F(LibraryCheckUiTest, DoubleClickingAProblemShowsItsPartAndPin) {
  AddPart("FIRST");
  PartBody* body = AddPart("SECOND", 3, 3, 2);
  AddPin(body, PinEdge::Right, 2, "A")->numbers = {"D5", "D6"};
  AddPin(body, PinEdge::Right, 2, "HIDDEN")->numbers = {"D7", "D8"};  // under the first
  Fill();
  window->action(MainWindow::kCheckLibrary)->trigger();
  Settle();
  auto* dialog = window->findChild<LibraryCheckDialog*>();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  const auto& problems = dialog->Problems();
  const auto found = std::find_if(problems.begin(), problems.end(), [](const CheckProblem& p) {
    return p.kind == CheckKind::PinsAtOnePosition;
  });
  ASSERT_NE(found, problems.end());
  auto* list = dialog->findChild<QListWidget*>(QStringLiteral("problems"));
  QListWidgetItem* item = list->item(static_cast<int>(found - problems.begin()));
  // A double click is a click, then a second press that arrives as the double click.
  const QPoint point = list->visualItemRect(item).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point);
  Settle();
  EXPECT_EQ(partList()->GetCurSel(), 1);
  EXPECT_EQ(partView()->Part(), body);
  EXPECT_EQ(partView()->CursorEdge(), PinEdge::Right);
  EXPECT_EQ(partView()->CursorPosition(), 2);
  dialog->close();
}

// The rows follow the library through a delete, an undo and a rename: an
// item is about its own part and pin, never about the row they stood in.
TEST_F(LibraryCheckUiTest, ARowNeverLeadsToAnotherPart) {
  AddPin(AddPart("WARN"), PinEdge::Left, 1, "\x83\x41");  // a warning, found first
  AddPin(AddPart("GOOD"), PinEdge::Right, 1, "G");
  PartBody* prob = AddPart("PROB");
  AddPin(prob, PinEdge::Right, 1, "A");
  AddPin(prob, PinEdge::Right, 1, "B");  // under A: an error
  Fill();
  window->action(MainWindow::kCheckLibrary)->trigger();
  Settle();
  auto* dialog = window->findChild<LibraryCheckDialog*>();
  ASSERT_NE(dialog, nullptr);
  auto* list = dialog->findChild<QListWidget*>(QStringLiteral("problems"));
  const auto row = [&](CheckKind kind) -> QListWidgetItem* {
    const auto& problems = dialog->Problems();
    for (size_t i = 0; i < problems.size(); ++i)
      if (problems[i].kind == kind) return list->item(static_cast<int>(i));
    return nullptr;
  };
  // Errors first, whatever the order found; a long row can be read whole.
  ASSERT_NE(row(CheckKind::PinsAtOnePosition), nullptr);
  EXPECT_EQ(list->item(0), row(CheckKind::PinsAtOnePosition));
  EXPECT_TRUE(list->item(0)->text().startsWith(QStringLiteral("ｴﾗｰ")));
  EXPECT_EQ(list->item(0)->toolTip(), list->item(0)->text());
  EXPECT_TRUE(list->wordWrap());

  // Deleted: the row, still shown, says so instead of jumping to GOOD.
  QListWidgetItem* stale = row(CheckKind::PinsAtOnePosition);
  CommitStep(document().DeleteEntry(2));
  partList()->SetCurSel(0);
  QString said;
  {
    testing::ModalAnswerer<QMessageBox> answer([&said](QMessageBox* box) {
      said = box->text();
      box->accept();
    });
    emit list->itemActivated(stale);
    Settle();
  }
  EXPECT_EQ(said, QStringLiteral("この部品はもうﾗｲﾌﾞﾗﾘにありません"));
  EXPECT_EQ(partList()->GetCurSel(), 0);
  // Then the window has checked again: the part's problem is gone.
  Settle();
  EXPECT_EQ(row(CheckKind::PinsAtOnePosition), nullptr);

  // Undone, and renamed: the row is back and leads to PROB under its new name.
  window->action(MainWindow::kEditUndo)->trigger();
  Settle();
  CommitStep(document().RenameEntry(2, "PROB3"));
  Settle();
  ASSERT_NE(row(CheckKind::PinsAtOnePosition), nullptr);
  EXPECT_TRUE(row(CheckKind::PinsAtOnePosition)->text().contains(QStringLiteral("PROB3")));
  emit list->itemActivated(row(CheckKind::PinsAtOnePosition));
  Settle();
  EXPECT_EQ(partList()->GetCurSel(), 2);
  EXPECT_EQ(partView()->Part(), prob);
  EXPECT_EQ(partView()->CursorEdge(), PinEdge::Right);
  EXPECT_EQ(partView()->CursorPosition(), 1);
  dialog->close();
}

}  // namespace
}  // namespace zanli
