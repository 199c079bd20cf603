// The file commands through the menu, with their dialogs answered as a user
// would: the save prompt, Open, Save As with its type switch, failures.
#include <sys/stat.h>

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "app/library_file_dialog.h"
#include "app/save_loss_dialog.h"
#include "fileio/binary_library_format.h"
#include "fileio/text_library_format.h"
#include "main_window_test_support.h"
#include "modal_answerer.h"
#include "modal_script.h"

namespace zanli {
namespace {

using testing::MainWindowTestBase;
using testing::ModalAnswerer;

// What a message box said, and the button the test pressed.
struct BoxSeen {
  QString text;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

ModalAnswerer<QMessageBox> Answer(QMessageBox::StandardButton button, BoxSeen* seen = nullptr) {
  return ModalAnswerer<QMessageBox>([button, seen](QMessageBox* box) {
    if (seen != nullptr) *seen = {box->text(), box->windowTitle(), box->icon(), box->standardButtons()};
    box->button(button)->click();
  });
}

// Types `name` into the file dialog's name field and accepts it.
ModalAnswerer<QFileDialog> ChooseFile(const QString& directory, const QString& name) {
  return ModalAnswerer<QFileDialog>([directory, name](QFileDialog* dialog) {
    dialog->setDirectory(directory);
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    field->setFocus();
    field->setText(name);
    QTest::keyClick(field, Qt::Key_Return);
  });
}

ModalAnswerer<QFileDialog> CancelFileDialog(bool* seen = nullptr) {
  return ModalAnswerer<QFileDialog>([seen](QFileDialog* dialog) {
    if (seen != nullptr) *seen = true;
    dialog->reject();
  });
}

class MainWindowFilesTest : public MainWindowTestBase {
 protected:
  void SetUp() override {
    MainWindowTestBase::SetUp();
    ASSERT_TRUE(temp.isValid());
  }
  QString Path(const QString& name) const { return temp.filePath(name); }
  static std::string Std(const QString& path) { return QFile::encodeName(path).toStdString(); }
  void Trigger(int command) {
    window->action(command)->trigger();
    Settle();
  }
  QTemporaryDir temp;
};

TEST_F(MainWindowFilesTest, SavePromptNamesTheFileAndItsAnswersDecide) {
  AddPart("KEEP");
  Fill();
  MakeModified();

  BoxSeen seen;
  {
    auto answer = Answer(QMessageBox::Cancel, &seen);
    Trigger(MainWindow::kFileNew);
    ASSERT_TRUE(answer.answered());
  }
  EXPECT_EQ(seen.text, QStringLiteral("Untitled.LIB への変更を保存しますか?"));
  EXPECT_EQ(seen.caption, QStringLiteral("Zanli"));
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(partList()->GetCount(), 1);
  EXPECT_TRUE(modified());

  // Yes on an unnamed library asks for a name; cancelling that cancels New.
  {
    bool dialogSeen = false;
    auto yes = Answer(QMessageBox::Yes);
    auto cancel = CancelFileDialog(&dialogSeen);
    Trigger(MainWindow::kFileNew);
    EXPECT_TRUE(dialogSeen);
  }
  EXPECT_EQ(partList()->GetCount(), 1);
  EXPECT_TRUE(modified());

  {
    auto answer = Answer(QMessageBox::No);
    Trigger(MainWindow::kFileNew);
  }
  EXPECT_EQ(partList()->GetCount(), 0);
  EXPECT_TRUE(library().bodies.empty());
  EXPECT_FALSE(modified());
  EXPECT_EQ(partView()->Part(), nullptr);
  EXPECT_TRUE(blankPinBox()->isChecked());
  EXPECT_EQ(Caption(), QStringLiteral("Zanli - Untitled.LIB"));
}

TEST_F(MainWindowFilesTest, CloseAsksFirstAndCancelKeepsTheWindowOpen) {
  AddPart("A");
  Fill();
  MakeModified();
  {
    BoxSeen seen;
    auto answer = Answer(QMessageBox::Cancel, &seen);
    Trigger(MainWindow::kAppExit);
    EXPECT_TRUE(answer.answered());
  }
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(library().bodies.size(), 1u);
  {
    auto answer = Answer(QMessageBox::Cancel);
    window->close();
    EXPECT_TRUE(answer.answered());
  }
  EXPECT_TRUE(window->isVisible());
  {
    auto answer = Answer(QMessageBox::No);
    EXPECT_TRUE(window->close());
  }
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->result(), QDialog::Rejected);
}

TEST_F(MainWindowFilesTest, SaveAsFollowsTheTypeAndNamesTheWindow) {
  AddPin(AddPart("CHIP"), PinEdge::Top, 1, "VCC", "D14");
  Fill();
  QString afterSwitch;
  QString afterRepick;
  QString startFilter;
  QString startName;
  ModalAnswerer<QFileDialog> answer([&](QFileDialog* dialog) {
    startFilter = dialog->selectedNameFilter();
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    startName = field->text();
    dialog->setDirectory(temp.path());
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    field->setFocus();
    field->setText(QStringLiteral("abc"));
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    types->setFocus();
    QTest::keyClick(types, Qt::Key_Down);  // to the text type
    afterSwitch = field->text();
    // Picking the text type again leaves a newly typed name alone.
    field->setText(QStringLiteral("abc"));
    types->showPopup();
    QTest::keyClick(types->view(), Qt::Key_Return);
    afterRepick = field->text();
    QTest::keyClick(field, Qt::Key_Return);
  });
  Trigger(MainWindow::kFileSave);
  ASSERT_TRUE(answer.answered());
  EXPECT_TRUE(startFilter.startsWith(QStringLiteral("NQ2/Veld library file(*.lib)")));
  EXPECT_EQ(startName, QStringLiteral("Untitled.LIB"));
  EXPECT_EQ(afterSwitch, QStringLiteral("abc.LB3"));
  EXPECT_EQ(afterRepick, QStringLiteral("abc"));
  // The name without extension gets the chosen type's.
  EXPECT_EQ(Caption(), QStringLiteral("Zanli - abc.LB3"));
  EXPECT_TRUE(library().hasFilePath);
  EXPECT_FALSE(modified());
  Library back;
  ASSERT_TRUE(TextLibraryFormat::Read(Std(Path("abc.LB3")), back));
  ASSERT_EQ(back.entries.size(), 1u);
  EXPECT_EQ(back.entries[0]->name, "CHIP");

  // A library named in lower case starts the dialog at the text type.
  SetLibraryPath(Std(Path("x.lb3")));
  LibraryFileDialog::Type startType = LibraryFileDialog::kBinaryType;
  ModalAnswerer<LibraryFileDialog> peek([&](LibraryFileDialog* dialog) {
    startType = TestAccess<LibraryFileDialog>::SelectedType(*dialog);
    dialog->reject();
  });
  EXPECT_FALSE(SaveLibraryAs());
  EXPECT_EQ(startType, LibraryFileDialog::kTextType);
}

TEST_F(MainWindowFilesTest, TypeSwitchReplacesOrAddsTheExtension) {
  struct Case {
    const char* name;
    LibraryFileDialog::Type type;
    const char* expected;
  } cases[] = {
      {"abc.LIB", LibraryFileDialog::kTextType, "abc.LB3"},
      {"abc", LibraryFileDialog::kTextType, "abc.LB3"},
      {"", LibraryFileDialog::kTextType, ".LB3"},
      {"abc.lb3", LibraryFileDialog::kTextType, "abc.lb3"},
      {"abc.lb3", LibraryFileDialog::kBinaryType, "abc.LIB"},
      {"/d.x/abc", LibraryFileDialog::kBinaryType, "/d.x/abc.LIB"},
      {"parts.dat", LibraryFileDialog::kTextType, "parts.LB3"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TestAccess<LibraryFileDialog>::AdjustName(QString::fromUtf8(c.name), c.type),
              QString::fromUtf8(c.expected))
        << c.name;
}

TEST_F(MainWindowFilesTest, OpenDialogListsEverySpellingOfTheExtension) {
  for (const char* name : {"a.lib", "b.LIB", "c.Lib", "d.txt", "e.LB3"}) {
    QFile file(Path(QString::fromLatin1(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  QStringList listed;
  ModalAnswerer<QFileDialog> answer([&](QFileDialog* dialog) {
    dialog->setDirectory(temp.path());
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QTRY_COMPARE_WITH_TIMEOUT(view->model()->rowCount(view->rootIndex()), 3, 5000);
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
      listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
    dialog->reject();
  });
  EXPECT_FALSE(OpenLibrary());
  ASSERT_TRUE(answer.answered());
  listed.sort();
  EXPECT_EQ(listed, (QStringList{"a.lib", "b.LIB", "c.Lib"}));
}

TEST_F(MainWindowFilesTest, FailedOpenReportsAndChangesNothing) {
  PartBody* body = AddPart("OLD", 2, 2, 2);
  AddPart("NEXT");
  Fill();
  ClickRow(1);
  SetLibraryPath(Std(Path("old.LB3")));
  UpdateTitle();
  ClickRow(0);
  partView()->setFocus();
  Key(partView(), Qt::Key_I, Qt::ControlModifier);  // nothing moves: no step
  ClickBox(blankPinBox());
  TypeInto(pinNameEdit(), "NEW");
  Key(pinNameEdit(), Qt::Key_Return);
  ASSERT_TRUE(modified());
  const std::string before = testing::Describe(library());
  const QString caption = Caption();
  const int steps = undoStack().count();
  {
    QFile bad(Path("bad.LIB"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(80, 'x'));
  }
  // The read failure, then the path and why.
  const std::pair<const char*, QString> cases[] = {
      {"bad.LIB", QStringLiteral("ﾗｲﾌﾞﾗﾘの形式が正しくありません")},
      {"missing.LB3", QStringLiteral("ﾌｧｲﾙまたはﾌｫﾙﾀﾞがありません")}};
  for (const auto& [name, reason] : cases) {
    SCOPED_TRACE(name);
    BoxSeen seen;
    {
      auto box = Answer(QMessageBox::Ok, &seen);
      window->OpenLibraryFile(Std(Path(QString::fromLatin1(name))));
      EXPECT_TRUE(box.answered());
    }
    EXPECT_EQ(seen.text, QString::fromLatin1(name) + QStringLiteral("\nﾌｧｲﾙの読み込みに失敗しました\n") +
                             Path(QString::fromLatin1(name)) + QStringLiteral(": ") + reason);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(testing::Describe(library()), before);
    EXPECT_EQ(Caption(), caption);
    EXPECT_TRUE(modified());
    EXPECT_EQ(undoStack().count(), steps);
    EXPECT_EQ(partList()->GetCurSel(), 0);
    EXPECT_EQ(partView()->Part(), body);
    EXPECT_EQ(library().filePath, Std(Path("old.LB3")));
  }
}

TEST_F(MainWindowFilesTest, FailedSaveReportsAndKeepsTheChanges) {
  AddPart("A");
  Fill();
  MakeModified();
  SetLibraryPath(Std(Path("no/such/dir/x.LB3")));
  BoxSeen seen;
  {
    auto box = Answer(QMessageBox::Ok, &seen);
    EXPECT_FALSE(SaveLibrary());
  }
  EXPECT_EQ(seen.text, QStringLiteral("ﾌｧｲﾙへの書き込みに失敗しました\n") + Path("no/such/dir/x.LB3") +
                           QStringLiteral(": ﾌｧｲﾙまたはﾌｫﾙﾀﾞがありません"));
  EXPECT_TRUE(modified());

  // A failed save inside the prompt stops the New that asked for it.
  {
    auto yes = Answer(QMessageBox::Yes);
    ModalAnswerer<QMessageBox> second([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
    NewLibrary();
  }
  EXPECT_EQ(partList()->GetCount(), 1);
  EXPECT_TRUE(modified());
}

TEST_F(MainWindowFilesTest, OpenEditAndSaveInTheOtherFormat) {
  // A library written by the core, opened through the dialog.
  {
    Library source;
    PartBody* raw = testing::AddBody(source, 3, 3, 1, "IC");
    testing::AddPin(*raw, PinEdge::Left, 1, "IN", "D1");
    testing::AddEntry(source, "BUF", raw);
    testing::AddEntry(source, "BUF2", raw);
    testing::AddPart(source, "OTHER");
    ASSERT_TRUE(TextLibraryFormat::Write(Std(Path("start.LB3")), source));
  }
  {
    auto choose = ChooseFile(temp.path(), QStringLiteral("start.LB3"));
    Trigger(MainWindow::kFileOpen);
    ASSERT_TRUE(choose.answered());
  }
  ASSERT_EQ(partList()->GetCount(), 3);
  EXPECT_EQ(partList()->GetCurSel(), 0);
  EXPECT_EQ(partList()->GetItemColor(1), QColor(255, 0, 0));
  EXPECT_EQ(Caption(), QStringLiteral("Zanli - start.LB3"));
  EXPECT_FALSE(modified());
  EXPECT_EQ(window->focusWidget(), partList());

  partView()->setFocus();
  Key(partView(), Qt::Key_Down);
  ASSERT_EQ(pinNameEdit()->text(), QStringLiteral("IN"));
  TypeInto(pinNameEdit(), "DATA");
  TypeInto(pinNumberEdit(), "7");
  Key(pinNumberEdit(), Qt::Key_Return);
  ASSERT_TRUE(modified());

  {
    auto choose = ChooseFile(temp.path(), QStringLiteral("end.LIB"));
    Trigger(MainWindow::kFileSaveAs);
    ASSERT_TRUE(choose.answered());
  }
  EXPECT_FALSE(modified());
  EXPECT_EQ(Caption(), QStringLiteral("Zanli - end.LIB"));
  Library back;
  ASSERT_TRUE(BinaryLibraryFormat::Read(Std(Path("end.LIB")), back));
  ASSERT_EQ(back.entries.size(), 3u);
  EXPECT_EQ(back.entries[1]->name, "BUF2");
  EXPECT_EQ(back.entries[0]->body, back.entries[1]->body);
  const PinInfo* pin = back.entries[0]->body->FindPin(PinEdge::Left, 1);
  ASSERT_NE(pin, nullptr);
  EXPECT_EQ(pin->name, "DATA");
  EXPECT_EQ(pin->numbers, std::vector<std::string>{"D7"});
}

TEST_F(MainWindowFilesTest, ExampleLibraryEditedOnBlockTwoAndSavedAsBinary) {
  ASSERT_TRUE(QFile::copy(QStringLiteral(ZANLI_EXAMPLES_DIR "/logic.LB3"), Path("logic.LB3")));
  Library original;
  ASSERT_TRUE(TextLibraryFormat::Read(Std(Path("logic.LB3")), original));
  {
    auto choose = ChooseFile(temp.path(), QStringLiteral("logic.LB3"));
    Trigger(MainWindow::kFileOpen);
    ASSERT_TRUE(choose.answered());
  }
  ASSERT_EQ(partList()->GetCount(), static_cast<int>(original.entries.size()));

  // Browse to the second part with the keyboard, then pick its pin at Left 1.
  Key(partList(), Qt::Key_Down);
  PartBody* body = partList()->GetItemBody(1);
  ASSERT_EQ(partView()->Part(), body);
  ASSERT_GE(body->blockCount, 2);
  ClickPosition(PinEdge::Left, 1);
  const PinInfo* pin = body->FindPin(PinEdge::Left, 1);
  ASSERT_NE(pin, nullptr);
  const PinNumbers before = pin->numbers;

  // Block 2 takes a new number; the other blocks keep theirs.
  blockBox()->setFocus();
  Key(blockBox(), Qt::Key_Up);
  ASSERT_EQ(partView()->GetBlock(), 1);
  TypeInto(pinNumberEdit(), "42");
  Key(pinNumberEdit(), Qt::Key_Return);
  ASSERT_TRUE(modified());

  {
    auto choose = ChooseFile(temp.path(), QStringLiteral("logic.LIB"));
    Trigger(MainWindow::kFileSaveAs);
    ASSERT_TRUE(choose.answered());
  }
  EXPECT_FALSE(modified());
  Library back;
  ASSERT_TRUE(BinaryLibraryFormat::Read(Std(Path("logic.LIB")), back));
  ASSERT_EQ(back.entries.size(), original.entries.size());
  for (size_t i = 0; i < back.entries.size(); ++i) {
    EXPECT_EQ(back.entries[i]->name, original.entries[i]->name);
    const PartBody& was = *original.entries[i]->body;
    const PartBody& now = *back.entries[i]->body;
    ASSERT_EQ(now.pins.size(), was.pins.size()) << i;
    for (size_t p = 0; p < now.pins.size(); ++p) {
      PinNumbers expected = was.pins[p]->numbers;
      // Row 1 may be an alias: every name of the edited body shows the edit.
      if (&was == original.entries[1]->body && was.pins[p]->edge == PinEdge::Left &&
          was.pins[p]->position == 1) {
        ASSERT_EQ(expected, before);
        expected.Set(1, "D42");
      }
      EXPECT_EQ(now.pins[p]->numbers, expected) << original.entries[i]->name << " pin " << p;
      EXPECT_EQ(now.pins[p]->name, was.pins[p]->name);
    }
  }
}

TEST_F(MainWindowFilesTest, AFifoIsRefusedAtOnceAndACutOffTextOpensWithAWarning) {
  const QString fifo = Path("pipe.LB3");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  BoxSeen seen;
  {
    auto box = Answer(QMessageBox::Ok, &seen);
    EXPECT_FALSE(window->OpenLibraryFile(Std(fifo)));  // returns: nothing waits for a writer
  }
  EXPECT_TRUE(seen.text.endsWith(QStringLiteral(": 通常のﾌｧｲﾙではありません"))) << seen.text.toStdString();

  // The logic example cut after a complete part: read, with the warning.
  QFile example(QStringLiteral(ZANLI_EXAMPLES_DIR "/logic.LB3"));
  ASSERT_TRUE(example.open(QIODevice::ReadOnly));
  const QByteArray bytes = example.readAll();
  QFile cut(Path("cut.LB3"));
  ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
  cut.write(bytes.left(bytes.indexOf("-COMP") + 7));
  cut.close();
  {
    auto box = Answer(QMessageBox::Ok, &seen);
    EXPECT_TRUE(window->OpenLibraryFile(Std(Path("cut.LB3"))));
    EXPECT_TRUE(box.answered());
  }
  EXPECT_EQ(seen.text, QStringLiteral("ﾌｧｲﾙの終わりが見つかりません。\n内容が欠けている可能性があります"));
  EXPECT_EQ(partList()->GetCount(), 1);
}

}  // namespace
}  // namespace zanli

namespace zanli {
namespace {

// Save As from a saved library "start.LIB": the window's name, its modified
// mark and the close question after a write the format refuses, a save-loss
// question cancelled, and one accepted.
TEST_F(MainWindowFilesTest, ASaveAsThatWroteNothingNeverClaimsTheLibrarySaved) {
  const struct {
    const char* what;
    const char* chosen;
    bool tooWide;        // for the binary format; else a pin numbered in block 2 only, which text moves
    const char* answer;  // the save-loss dialog's button, or none
    const char* caption;
    bool written;
  } cases[] = {
      {"writer refuses", "wide.LIB", true, nullptr, "Zanli - wide.LIB*", false},
      {"loss cancelled", "quad.LB3", false, "cancel", "Zanli - start.LIB", false},
      {"loss accepted", "quad.LB3", false, "save", "Zanli - quad.LB3", true},
  };
  for (const auto& c : cases) {
    if (c.tooWide)
      AddPart("WIDE", 300, 2);
    else
      AddPin(AddPart("QUAD", 2, 2, 2), PinEdge::Left, 1, "A")->numbers = {"D", "D7"};
    Fill();
    undoStack().clear();
    undoStack().setClean();
    SetLibraryPath(Std(Path("start.LIB")));
    UpdateTitle();
    testing::ModalScript script;
    if (c.answer != nullptr) {
      script.Then<SaveLossDialog>([&c](SaveLossDialog* dialog) {
        dialog->findChild<QPushButton*>(QString::fromLatin1(c.answer))->click();
      });
    } else {
      script.Then<QMessageBox>([](QMessageBox* box) { box->accept(); });
    }
    auto choose = ChooseFile(temp.path(), QString::fromLatin1(c.chosen));
    EXPECT_EQ(SaveLibraryAs(), c.written) << c.what;
    EXPECT_TRUE(script.Done()) << c.what;
    EXPECT_EQ(Caption(), QString::fromLatin1(c.caption)) << c.what;
    EXPECT_EQ(QFile::exists(Path(QString::fromLatin1(c.chosen))), c.written) << c.what;
    EXPECT_EQ(modified(), !c.written && c.answer == nullptr) << c.what;
    if (c.written) {
      // The window shows what the file holds; undo brings back what it lost.
      Library back;
      ASSERT_TRUE(TextLibraryFormat::Read(Std(Path(QString::fromLatin1(c.chosen))), back));
      EXPECT_EQ(testing::Describe(library()), testing::Describe(back));
      EXPECT_EQ(library().bodies[0]->pins[0]->numbers, (std::vector<std::string>{"D7", ""}));
      EXPECT_EQ(undoStack().undoText(), QStringLiteral("保存による変更"));
      window->action(MainWindow::kEditUndo)->trigger();
      Settle();
      EXPECT_EQ(library().bodies[0]->pins[0]->numbers, (std::vector<std::string>{"D", "D7"}));
      EXPECT_TRUE(modified());
      EXPECT_EQ(Caption(), QStringLiteral("Zanli - quad.LB3*"));
      window->action(MainWindow::kEditRedo)->trigger();
      EXPECT_FALSE(modified());
    }
    if (modified()) {
      // Closing asks, and Save tries the chosen file again.
      auto answer = Answer(QMessageBox::Cancel);
      window->close();
      EXPECT_TRUE(answer.answered()) << c.what;
      EXPECT_EQ(library().filePath, Std(Path(QString::fromLatin1(c.chosen)))) << c.what;
    }
  }
}

}  // namespace
}  // namespace zanli
