// The part commands of the Edit menu through real events: the name and
// attribute dialogs with their checks, the rows they insert and select, and
// delete, cut, copy and paste through the clipboard, each undone once.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>

#include "app/clipboard_format.h"
#include "app/part_attribute_dialog.h"
#include "app/part_name_dialog.h"
#include "app/pattern_preview.h"
#include "clipboard/part_clipboard_block.h"
#include "fileio/text_library_format.h"
#include "main_window_test_support.h"
#include "modal_script.h"
#include "qtshared/shift_jis_codec.h"

namespace zanli {
namespace {

using testing::Describe;
using testing::ModalScript;

struct BoxSeen {
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

// A step that records a message box and presses one of its buttons.
std::function<void(QMessageBox*)> Press(QMessageBox::StandardButton button, BoxSeen* seen = nullptr) {
  return [button, seen](QMessageBox* box) {
    if (seen) *seen = {box->text(), box->icon(), box->standardButtons()};
    box->button(button)->click();
  };
}

// A step that types a name into the part-name dialog and presses OK.
std::function<void(PartNameDialog*)> Name(const QString& name, QString* caption = nullptr,
                                          QString* initial = nullptr) {
  return [=](PartNameDialog* dialog) {
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("partName"));
    if (caption) *caption = dialog->windowTitle();
    if (initial) *initial = field->text();
    field->setText(name);
    dialog->findChild<QPushButton*>(QStringLiteral("ok"))->click();
  };
}

class PartCommandsTest : public testing::MainWindowTestBase {
 protected:
  void Run(int command) {
    UpdateCommandStates();
    window->action(command)->trigger();
    Settle();
  }
  // Clipboard commands need the list's focus, as their keys do.
  void ListKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    // Shortcuts reach the active window only; a message box may have taken
    // that away on a platform without a window manager.
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    partList()->setFocus();
    Settle();
    Key(partList(), key, modifiers);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : library().entries) names.push_back(e->name);
    return names;
  }
  void Undo() {
    undoStack().undo();
    Settle();
  }
};

TEST_F(PartCommandsTest, NameDialogChecksTheCharactersFirstThenTheNamesInUse) {
  AddPart("USED");
  AddPart("A{B");
  Fill();
  struct Case {
    const char* initial;
    const char* typed;
    const char* message;  // empty: accepted
  } cases[] = {
      {"X", "A B", "A B は有効な部品名ではありません"},
      {"X", "A{B", "A{B は有効な部品名ではありません"},
      {"X", "Ä", "Ä は有効な部品名ではありません"},        // the code page has no Ä
      {"A{B", "A{B", "A{B は有効な部品名ではありません"},  // unchanged, but invalid
      {"X", "USED", "部品名 USED は既に存在しています"},
      {"USED", "USED", ""},  // its own name
      {"X", "A|B~", ""},
      {"X", "abc", ""},
      {"X", "ABCDEFGHIJKLMNO", ""},   // 15 bytes
      {"X", "ABCDEFGHIJKLMNOP", ""},  // the field takes 15 of them
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    PartNameDialog dialog(window.get(), c.initial, document().EntryNames());
    BoxSeen seen;
    ModalScript script;
    script.Then(Name(QString::fromUtf8(c.typed)));
    if (*c.message)
      script.Then(Press(QMessageBox::Ok, &seen)).Then<PartNameDialog>([](PartNameDialog* d) { d->reject(); });
    const int result = dialog.exec();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(seen.text, QString::fromUtf8(c.message));
    if (*c.message) {
      EXPECT_EQ(seen.icon, QMessageBox::Warning);
      EXPECT_EQ(seen.buttons, QMessageBox::Ok);
      EXPECT_EQ(result, QDialog::Rejected);
    } else {
      EXPECT_EQ(result, QDialog::Accepted);
      EXPECT_EQ(dialog.Name(), std::string(c.typed).substr(0, 15));
    }
  }
  EXPECT_EQ(PartNameDialog(window.get(), "X", document().EntryNames()).windowTitle(),
            QStringLiteral("部品名の変更"));
}

TEST_F(PartCommandsTest, NewPartAndAliasGoBeforeTheSelectedRowAndAreSelected) {
  // On an empty list the new part is the first row, a 2 x 2 body of one block.
  QString caption, initial;
  {
    ModalScript script;
    script.Then(Name(QStringLiteral("FIRST"), &caption, &initial));
    Run(MainWindow::kNewPart);
  }
  EXPECT_EQ(caption, QStringLiteral("新しい部品"));
  EXPECT_EQ(initial, QStringLiteral("NEWNAME0"));
  ASSERT_EQ(Names(), std::vector<std::string>{"FIRST"});
  EXPECT_EQ(partList()->GetCurSel(), 0);
  ASSERT_NE(partView()->Part(), nullptr);
  EXPECT_EQ(partView()->Part()->xSize, 2);
  EXPECT_EQ(partView()->Part()->blockCount, 1);
  EXPECT_FALSE(blockBox()->isEnabled());

  for (const char* name : {"B", "C", "NEWNAME0", "NEWNAME2"}) {
    ModalScript script;
    script.Then(Name(QString::fromLatin1(name)));
    Run(MainWindow::kNewPart);
  }
  // Rows: NEWNAME2 NEWNAME0 C B FIRST; with row 3 selected, the lowest free
  // default name goes in as row 3.
  ClickRow(3);
  {
    ModalScript script;
    script.Then(Name(QStringLiteral("NEWNAME1"), nullptr, &initial));
    Run(MainWindow::kNewPart);
  }
  EXPECT_EQ(initial, QStringLiteral("NEWNAME1"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"NEWNAME2", "NEWNAME0", "C", "NEWNAME1", "B", "FIRST"}));
  EXPECT_EQ(partList()->GetCurSel(), 3);

  // A new alias of B goes just before it; all names of that body turn red.
  ClickRow(4);
  PartBody* body = partView()->Part();
  {
    ModalScript script;
    script.Then(Name(QStringLiteral("B_ALIAS"), &caption));
    Run(MainWindow::kNewAlias);
  }
  EXPECT_EQ(caption, QStringLiteral("新しい別名"));
  EXPECT_EQ(library().entries[4]->name, "B_ALIAS");
  EXPECT_EQ(library().entries[4]->body, body);
  EXPECT_EQ(partList()->GetCurSel(), 4);
  EXPECT_EQ(partList()->GetItemColor(4), QColor(255, 0, 0));
  EXPECT_EQ(partList()->GetItemColor(5), QColor(255, 0, 0));
  EXPECT_NE(partList()->GetItemColor(3), QColor(255, 0, 0));

  // Undo takes them out again, one step each, and back to the row selected.
  Undo();
  EXPECT_EQ(partList()->GetCurSel(), 4);
  EXPECT_EQ(library().entries[4]->name, "B");
  Undo();
  EXPECT_EQ(Names(), (std::vector<std::string>{"NEWNAME2", "NEWNAME0", "C", "B", "FIRST"}));
  EXPECT_EQ(partList()->GetCurSel(), 3);
  EXPECT_EQ(library().bodies.size(), 5u);
}

TEST_F(PartCommandsTest, RenameRefusesTakenAndInvalidNamesAndKeepsTheView) {
  PartBody* body = AddPart("OLD", 3, 3);
  AddAlias("ALIAS", body);
  Fill();
  ClickPosition(PinEdge::Left, 2);
  BoxSeen taken, invalid;
  {
    ModalScript script;
    script.Then(Name(QStringLiteral("ALIAS")))
        .Then(Press(QMessageBox::Ok, &taken))
        .Then(Name(QStringLiteral("NO GOOD")))
        .Then(Press(QMessageBox::Ok, &invalid))
        .Then(Name(QStringLiteral("NEW")));
    Run(MainWindow::kRenamePart);
    EXPECT_TRUE(script.Done());
  }
  EXPECT_EQ(taken.text, QStringLiteral("部品名 ALIAS は既に存在しています"));
  EXPECT_EQ(invalid.text, QStringLiteral("NO GOOD は有効な部品名ではありません"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"NEW", "ALIAS"}));
  EXPECT_EQ(partView()->CursorPosition(), 2) << "the view is not touched";
  EXPECT_EQ(undoStack().count(), 1);
  // Its own name again: accepted, but nothing changed, so no step.
  {
    ModalScript script;
    script.Then(Name(QStringLiteral("NEW")));
    Run(MainWindow::kRenamePart);
  }
  EXPECT_EQ(undoStack().count(), 1);
}

TEST_F(PartCommandsTest, AttributeDialogChecksInOrderAndOffersPatternsOfThePartsSize) {
  PartBody* body = AddPart("P", 2, 2, 2);
  Pattern* big = AddPattern("BIG", 31, 21);
  Pattern* zeta = AddPattern("ZETA", 21, 25);
  Pattern* alpha = AddPattern("alpha", 29, 29);
  Fill();
  struct Case {
    const char *x, *y, *blocks;
    const char* message;
  } cases[] = {
      {"0", "300", "0", "Xｻｲｽﾞは1～255でなければなりません"},
      {"256", "1", "1", "Xｻｲｽﾞは1～255でなければなりません"},
      {"", "1", "1", "Xｻｲｽﾞは1～255でなければなりません"},
      {"5", "300", "0", "Yｻｲｽﾞは1～255でなければなりません"},
      {"5", "5", "0", "ﾌﾞﾛｯｸ数は1～255でなければなりません"},
      {"255", "255", "255", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    PartAttributeDialog dialog(window.get(), PartAttributes{"U", 2, 2, 2, nullptr}, library().patterns);
    dialog.findChild<QLineEdit*>(QStringLiteral("xSize"))->setText(QString::fromLatin1(c.x));
    dialog.findChild<QLineEdit*>(QStringLiteral("ySize"))->setText(QString::fromLatin1(c.y));
    dialog.findChild<QLineEdit*>(QStringLiteral("blockCount"))->setText(QString::fromLatin1(c.blocks));
    BoxSeen seen;
    ModalScript script;
    script.Then<QMessageBox>([&seen](QMessageBox* box) {
      seen = {box->text(), box->icon(), box->standardButtons()};
      box->accept();
    });
    dialog.accept();
    EXPECT_EQ(seen.text, QString::fromUtf8(c.message));
    if (*c.message) {
      EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    }
    EXPECT_EQ(dialog.result(), *c.message ? QDialog::Rejected : QDialog::Accepted);
  }

  PartAttributeDialog dialog(window.get(), PartAttributes{"U", 2, 2, 2, nullptr}, library().patterns);
  auto* list = dialog.findChild<QListWidget*>(QStringLiteral("patternList"));
  auto* use = dialog.findChild<QCheckBox*>(QStringLiteral("usePattern"));
  auto* preview = dialog.findChild<PatternPreview*>(QStringLiteral("patternPreview"));
  auto* prefix = dialog.findChild<QLineEdit*>(QStringLiteral("numberPrefix"));
  EXPECT_FALSE(list->isEnabled());
  std::vector<QString> texts;
  for (int i = 0; i < list->count(); ++i) texts.push_back(list->item(i)->text());
  // The pattern editor's order: case does not put "ZETA" before "alpha".
  EXPECT_EQ(texts, (std::vector<QString>{"2x2  alpha", "2x2  ZETA", "3x2  BIG"}));
  // Checking the box picks the first of the part's size in the list's order.
  dialog.show();
  QTest::mouseClick(use, Qt::LeftButton, {}, QPoint(5, use->height() / 2));
  EXPECT_TRUE(list->isEnabled());
  EXPECT_EQ(TestAccess<PatternPreview>::ShownPattern(*preview), alpha);
  list->setCurrentRow(1);
  EXPECT_EQ(TestAccess<PatternPreview>::ShownPattern(*preview), zeta);
  TypeInto(prefix, QStringLiteral("ic1abcdef"));
  EXPECT_EQ(prefix->text(), QStringLiteral("IC1AB"));
  dialog.accept();
  EXPECT_EQ(dialog.Attributes().pattern, zeta);
  EXPECT_EQ(dialog.Attributes().numberPrefix, "IC1AB");
  // No pattern of a 3 x 3 part's size: nothing selected, OK gives none.
  PartAttributeDialog other(window.get(), PartAttributes{"U", 3, 3, 1, nullptr}, library().patterns);
  other.show();
  auto* otherUse = other.findChild<QCheckBox*>(QStringLiteral("usePattern"));
  QTest::mouseClick(otherUse, Qt::LeftButton, {}, QPoint(5, otherUse->height() / 2));
  EXPECT_TRUE(other.findChild<QListWidget*>(QStringLiteral("patternList"))->selectedItems().isEmpty());
  other.accept();
  EXPECT_EQ(other.Attributes().pattern, nullptr);
  (void)big;
  (void)body;
}

TEST_F(PartCommandsTest, AttributesApplyAsOneStepKeepingPinsAndTheirFirstNumbers) {
  PartBody* body = AddPart("P", 2, 4, 2);
  AddPin(body, PinEdge::Left, 1, "A", "D1")->numbers = {"D1", "D5"};
  AddPin(body, PinEdge::Left, 4, "B", "D2")->numbers = {"H2", "D6"};
  AddPattern("TRI", 21, 21);
  Fill();
  const std::string before = Describe(library());
  ModalScript script;
  script.Then<PartAttributeDialog>([](PartAttributeDialog* d) {
    d->findChild<QLineEdit*>(QStringLiteral("ySize"))->setText(QStringLiteral("2"));
    d->findChild<QLineEdit*>(QStringLiteral("blockCount"))->setText(QStringLiteral("1"));
    d->findChild<QLineEdit*>(QStringLiteral("numberPrefix"))->setText(QStringLiteral("IC"));
    d->findChild<QCheckBox*>(QStringLiteral("usePattern"))->click();
    d->findChild<QPushButton*>(QStringLiteral("ok"))->click();
  });
  Run(MainWindow::kPartAttributes);
  EXPECT_EQ(body->ySize, 2);
  EXPECT_EQ(body->blockCount, 1);
  EXPECT_EQ(body->numberPrefix, "IC");
  ASSERT_NE(body->pattern, nullptr);
  ASSERT_EQ(body->pins.size(), 2u) << "pins beyond the shrunk edge stay";
  EXPECT_EQ(body->pins[1]->position, 4);
  EXPECT_EQ(body->pins[1]->numbers, std::vector<std::string>{"H2"});
  EXPECT_FALSE(blockBox()->isEnabled());
  EXPECT_EQ(blockBox()->text(), QStringLiteral("1"));
  Undo();
  EXPECT_EQ(Describe(library()), before);
}

TEST_F(PartCommandsTest, DeleteActsOnlyFromTheListAndUndoBringsTheBodyBack) {
  PartBody* shared = AddPart("P1");
  AddAlias("P1A", shared);
  AddPin(AddPart("P2"), PinEdge::Left, 0, "X");
  Fill();
  const std::string before = Describe(library());
  ClickRow(2);
  partView()->setFocus();
  Key(partView(), Qt::Key_Delete);
  EXPECT_EQ(library().entries.size(), 3u) << "the Delete key in the view deletes nothing";
  ListKey(Qt::Key_Delete, Qt::NoModifier);
  EXPECT_EQ(Names(), (std::vector<std::string>{"P1", "P1A"}));
  EXPECT_EQ(library().bodies.size(), 1u);
  EXPECT_EQ(partList()->GetCurSel(), 1);
  EXPECT_EQ(partView()->Part(), shared);
  ListKey(Qt::Key_Delete, Qt::NoModifier);
  EXPECT_EQ(library().bodies.size(), 1u) << "P1 still names the body";
  ListKey(Qt::Key_Z);
  ListKey(Qt::Key_Z);
  EXPECT_EQ(Describe(library()), before);
  EXPECT_EQ(partList()->GetCurSel(), 2);
}

// Alt+E gives the menu bar the focus before the Edit menu's rules run; they
// follow the part list all the same, as when the menu is clicked open.
TEST_F(PartCommandsTest, EditMenuOpenedFromTheKeyboardEnablesAsFromTheMouse) {
  AddPin(AddPart("P1"), PinEdge::Left, 0, "X");
  Fill();
  ClickRow(0);
  ListKey(Qt::Key_C);  // the clipboard offers a part
  const auto editMenuStates = [this](QWidget* from) {
    from->setFocus();
    QTest::keyClick(from, Qt::Key_E, Qt::AltModifier);
    Settle();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    EXPECT_NE(menu, nullptr);
    std::vector<bool> states;
    for (int id :
         {MainWindow::kEditCut, MainWindow::kEditCopy, MainWindow::kEditPaste, MainWindow::kEditDelete})
      states.push_back(window->action(id)->isEnabled());
    if (menu != nullptr) menu->close();
    Settle();
    return states;
  };
  EXPECT_EQ(editMenuStates(partList()), (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(editMenuStates(pinNameEdit()), (std::vector<bool>{false, false, false, false}));
}

class PastePartTest : public PartCommandsTest {
 protected:
  void SetUp() override {
    PartCommandsTest::SetUp();
    PartBody* gate = AddPart("GATE", 3, 3, 2);
    AddPin(gate, PinEdge::Left, 1, "\\C", "D1")->numbers = {"D1", "H4"};
    tri = AddPattern("TRI", 21, 21);
    tri->bits[0] = 0xF0;
    gate->pattern = tri;
    AddAlias("GATE_ALT", gate);
    AddPart("OTHER");
    Fill();
  }
  void Copy(int row) {
    ClickRow(row);
    ListKey(Qt::Key_C);
  }
  std::string Block() const {
    const QByteArray data =
        QApplication::clipboard()->mimeData()->data(QString::fromLatin1(kPartClipboardFormat));
    return std::string(data.constData(), static_cast<size_t>(data.size()));
  }
  Pattern* tri = nullptr;
};

TEST_F(PastePartTest, PastingIntoTheSameLibraryRenamesAndAsksAboutTheEqualPattern) {
  Copy(0);
  ASSERT_EQ(Block(), PartClipboardBlock::Build("GATE", *library().entries[0]->body));
  const std::string start = Describe(library());
  BoxSeen renamed, question, patternRenamed;
  // Yes shares the existing pattern.
  {
    ModalScript script;
    script.Then(Press(QMessageBox::Ok, &renamed)).Then(Press(QMessageBox::Yes, &question));
    ListKey(Qt::Key_V);
    EXPECT_TRUE(script.Done());
  }
  EXPECT_EQ(renamed.text,
            QStringLiteral("同名の部品が存在するため\n  GATEを\n  NEWNAME0 に\n変更して貼り付けます"));
  EXPECT_EQ(renamed.icon, QMessageBox::NoIcon);
  EXPECT_EQ(renamed.buttons, QMessageBox::Ok);
  EXPECT_EQ(question.text,
            QStringLiteral("貼り付けようとしたものと同じ内容のﾊﾟﾀｰﾝが存在します\n既存のﾊﾟﾀｰﾝを使いますか?"));
  EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
  // Inserted before the selected row and selected, with a body of its own.
  EXPECT_EQ(library().entries[0]->name, "NEWNAME0");
  EXPECT_EQ(partList()->GetCurSel(), 0);
  EXPECT_NE(library().entries[0]->body, library().entries[1]->body);
  EXPECT_EQ(library().entries[0]->body->pattern, tri);
  EXPECT_EQ(library().patterns.size(), 1u);
  Undo();
  EXPECT_EQ(Describe(library()), start);

  // No adds a second pattern under the lowest free default name.
  {
    ModalScript script;
    script.Then(Press(QMessageBox::Ok))
        .Then(Press(QMessageBox::No))
        .Then(Press(QMessageBox::Ok, &patternRenamed));
    ListKey(Qt::Key_V);
    EXPECT_TRUE(script.Done());
  }
  EXPECT_EQ(patternRenamed.text,
            QStringLiteral("同名のﾊﾟﾀｰﾝが存在するため\n  TRI を\n  NEW_0 に\n変更して貼り付けます"));
  ASSERT_EQ(library().patterns.size(), 2u);
  EXPECT_EQ(library().patterns[1]->name, "NEW_0");
  EXPECT_EQ(library().entries[0]->body->pattern, library().patterns[1].get());
  Undo();
  EXPECT_EQ(Describe(library()), start);
}

TEST_F(PastePartTest, CutThenPasteRestoresTheNameAndAnAliasPastesAsAPartOfItsOwn) {
  // The alias, cut: its body stays for GATE; pasted back it is a new part,
  // and its pattern, equal to TRI, is offered for sharing.
  Copy(1);
  ListKey(Qt::Key_X);
  EXPECT_EQ(Names(), (std::vector<std::string>{"GATE", "OTHER"}));
  EXPECT_EQ(library().bodies.size(), 2u);
  EXPECT_EQ(partList()->GetCurSel(), 1);
  ModalScript script;
  script.Then(Press(QMessageBox::Yes));
  ListKey(Qt::Key_V);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(Names(), (std::vector<std::string>{"GATE", "GATE_ALT", "OTHER"}));
  EXPECT_NE(library().entries[1]->body, library().entries[0]->body);
  EXPECT_EQ(library().bodies.size(), 3u);
}

TEST_F(PastePartTest, APatternNameTakenByOtherContentIsRenamedWithoutAQuestion) {
  Copy(0);
  // Another library, whose TRI differs from the pasted one.
  PartBody* body = AddPart("HOST");
  Pattern* other = AddPattern("TRI", 11, 11);
  body->pattern = other;
  Fill();
  BoxSeen seen;
  ModalScript script;
  script.Then(Press(QMessageBox::Ok, &seen));
  ListKey(Qt::Key_V);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(seen.text,
            QStringLiteral("同名のﾊﾟﾀｰﾝが存在するため\n  TRI を\n  NEW_0 に\n変更して貼り付けます"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"GATE", "HOST"}));
  // Pasted into an empty list it would be row 0; here before HOST.
  EXPECT_EQ(partList()->GetCurSel(), 0);
}

TEST_F(PastePartTest, PastingIntoAnEmptyListSelectsTheNewRow) {
  Copy(2);
  Fill();  // an empty library
  ListKey(Qt::Key_V);
  EXPECT_EQ(Names(), std::vector<std::string>{"OTHER"});
  EXPECT_EQ(partList()->GetCurSel(), 0);
  EXPECT_NE(partView()->Part(), nullptr);
}

TEST_F(PastePartTest, EmptyNamesGetDefaultNamesAndHostileBlocksChangeNothing) {
  // A block with empty part and pattern names, as another program may offer.
  PartBody body;
  Pattern pattern("", 11, 11);
  pattern.bits[0] = 0x80;
  body.pattern = &pattern;
  auto* data = new QMimeData;
  const std::string block = PartClipboardBlock::Build("", body);
  data->setData(QString::fromLatin1(kPartClipboardFormat),
                QByteArray(block.data(), static_cast<qsizetype>(block.size())));
  QApplication::clipboard()->setMimeData(data);
  BoxSeen part, patternSeen;
  {
    ModalScript script;
    script.Then(Press(QMessageBox::Ok, &part)).Then(Press(QMessageBox::Ok, &patternSeen));
    ListKey(Qt::Key_V);
    EXPECT_TRUE(script.Done());
  }
  // No name to speak of, so no clash: the message says the name it gets.
  EXPECT_EQ(part.text, QStringLiteral("名前のない部品を\n  NEWNAME0 として\n貼り付けます"));
  EXPECT_TRUE(patternSeen.text.contains(QStringLiteral("NEW_0")));
  EXPECT_EQ(library().entries[0]->name, "NEWNAME0");

  const std::string before = Describe(library());
  std::string hostile = block;
  hostile[20] = '\x7f';  // a pin count far beyond the block
  const std::pair<std::string, const char*> refused[] = {
      {hostile, "ﾋﾟﾝの数だけの記録がﾃﾞｰﾀにありません"},
      {"junk", "ﾃﾞｰﾀが見出しの 28 ﾊﾞｲﾄに足りません"},
      {"", "ﾃﾞｰﾀが見出しの 28 ﾊﾞｲﾄに足りません"},
  };
  for (const auto& [bytes, why] : refused) {
    auto* junk = new QMimeData;
    junk->setData(QString::fromLatin1(kPartClipboardFormat),
                  QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    QApplication::clipboard()->setMimeData(junk);
    BoxSeen seen;
    ModalScript script;
    script.Then(Press(QMessageBox::Ok, &seen));
    ListKey(Qt::Key_V);
    EXPECT_EQ(seen.text, QStringLiteral("貼り付けるﾃﾞｰﾀが壊れています\n") + QString::fromUtf8(why));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(Describe(library()), before);
  }
}

TEST_F(PastePartTest, CopyAlsoOffersTheTextLibraryAndThePicture) {
  Copy(0);
  const QMimeData* data = QApplication::clipboard()->mimeData();
  Library back;
  ASSERT_TRUE(TextLibraryFormat::ReadBytes(ShiftJisCodec::Encode(data->text()), back));
  ASSERT_EQ(back.entries.size(), 1u);
  EXPECT_EQ(back.entries[0]->name, "GATE");
  ASSERT_NE(back.entries[0]->body->pattern, nullptr);
  EXPECT_TRUE(PatternsEqual(*back.entries[0]->body->pattern, *tri));
  // The symbol of block 1 as the part view draws it, told by its geometry
  // rather than drawn again: a 3 × 3 body is 151 pixels square, the
  // pattern's first row starts at (60, 60) with no outline around it, the pin
  // at Left 1 runs from (50, 70) to the body with its barred name inside and
  // its number, shown in blue, outside; block 2's hidden number would be red.
  QImage picture;
  ASSERT_TRUE(picture.loadFromData(data->data(QStringLiteral("image/png")), "PNG"));
  ASSERT_EQ(picture.size(), QSize(151, 151));
  const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255), blue = qRgb(0, 0, 255);
  for (int x = 60; x < 64; ++x) EXPECT_EQ(picture.pixel(x, 60), black) << x;
  for (const QPoint& p : {QPoint(64, 60), QPoint(90, 75), QPoint(75, 90), QPoint(60, 90)})
    EXPECT_EQ(picture.pixel(p), white) << p.x() << "," << p.y();
  for (int x = 50; x < 60; ++x) EXPECT_EQ(picture.pixel(x, 70), black) << x;
  QRect blueInside, blueOutside;
  for (int y = 0; y < 151; ++y)
    for (int x = 0; x < 151; ++x) {
      const QRgb pixel = picture.pixel(x, y);
      ASSERT_TRUE(pixel == black || pixel == white || pixel == blue) << x << "," << y;
      if (pixel == blue) (x > 60 ? blueInside : blueOutside) |= QRect(x, y, 1, 1);
    }
  // The name's one 8 × 8 character 5 units in from the anchor, its bar the
  // row above; the number's in the 8 × 8 cell that ends 8 units outside.
  EXPECT_EQ(blueInside, QRect(65, 66, 8, 9));
  EXPECT_FALSE(blueOutside.isEmpty());
  EXPECT_TRUE(QRect(45, 61, 8, 8).contains(blueOutside)) << blueOutside.x() << "," << blueOutside.y();
}

}  // namespace
}  // namespace zanli
