// The pattern editor dialog and its name, size and in-use dialogs, and the
// editor session as one step of the main window's history.
#include "app/pattern_editor/pattern_editor.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <optional>

#include "app/pattern_editor/pattern_canvas.h"
#include "app/pattern_editor/pattern_in_use_dialog.h"
#include "app/pattern_editor/pattern_name_dialog.h"
#include "app/pattern_editor/pattern_size_dialog.h"
#include "main_window_test_support.h"
#include "modal_answerer.h"
#include "model/name_set.h"

namespace zanli {
namespace {

using testing::MainWindowTestBase;
using testing::ModalAnswerer;
using EditorAccess = TestAccess<PatternEditor>;
using CanvasAccess = TestAccess<PatternCanvas>;

// Presses OK with the field texts given and reports the message box that
// refused them, if any; the box is closed, the dialog then closed by Cancel.
template <typename Dialog>
std::optional<QString> PressOk(Dialog& dialog,
                               std::initializer_list<std::pair<const char*, QString>> fields) {
  for (const auto& [name, text] : fields)
    dialog.template findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
  std::optional<QString> message;
  ModalAnswerer<QMessageBox> answer([&message](QMessageBox* box) {
    message = box->text();
    box->accept();
  });
  dialog.template findChild<QPushButton*>(QStringLiteral("ok"))->click();
  return message;
}

TEST(PatternDialogsTest, NameDialogChecksUnchangedThenRulesThenUniqueness) {
  NameSet taken;
  for (const char* name : {"A{", "GATE", "NEW_0"}) taken.Add(name);
  struct Row {
    std::string initial;
    QString typed;
    std::optional<QString> message;  // none: accepted
  };
  const Row rows[] = {
      {"GATE", "OPAMP", std::nullopt},
      {"GATE", "gate", std::nullopt},  // names are case-sensitive
      {"GATE", "ABCDEFGH", std::nullopt},
      {"A{", "A{", std::nullopt},  // a stored name that breaks the rules is kept as it is
      {"GATE", "NEW_0", "ﾊﾟﾀｰﾝ名 NEW_0 は既に存在しています"},
      {"GATE", "A B", "A B は有効なﾊﾟﾀｰﾝ名ではありません"},
      {"GATE", "B}", "B} は有効なﾊﾟﾀｰﾝ名ではありません"},
      {"GATE", "", " は有効なﾊﾟﾀｰﾝ名ではありません"},
      {"GATE", "Ä", "Ä は有効なﾊﾟﾀｰﾝ名ではありません"},
      {"GATE", "ｱ", "ｱ は有効なﾊﾟﾀｰﾝ名ではありません"},
  };
  for (const Row& row : rows) {
    PatternNameDialog dialog(row.initial, taken);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ﾊﾟﾀｰﾝ名の変更"));
    EXPECT_EQ(PressOk(dialog, {{"patternName", row.typed}}), row.message) << row.typed.toStdString();
    EXPECT_EQ(dialog.isVisible(), row.message.has_value()) << row.typed.toStdString();
    if (!row.message) {
      EXPECT_EQ(dialog.Name(), row.typed.toStdString());
    }
  }
  // An empty initial name becomes the first free default name.
  PatternNameDialog fresh(std::string(), taken, QStringLiteral("新しいﾊﾟﾀｰﾝ"));
  EXPECT_EQ(fresh.windowTitle(), QStringLiteral("新しいﾊﾟﾀｰﾝ"));
  EXPECT_EQ(fresh.findChild<QLineEdit*>(QStringLiteral("patternName"))->text(), QStringLiteral("NEW_1"));
  EXPECT_EQ(fresh.findChild<QLineEdit*>(QStringLiteral("patternName"))->maxLength(), 8);
}

TEST(PatternDialogsTest, SizeDialogRefusesZeroNegativeGarbageTooWideAndTooLarge) {
  const QString zero = QStringLiteral("ﾊﾟﾀｰﾝのｻｲｽﾞに0は指定できません");
  const QString wide = QStringLiteral("ﾊﾟﾀｰﾝのXｻｲｽﾞは20以下でなければなりません");
  const QString large = QStringLiteral("ﾊﾟﾀｰﾝのｻｲｽﾞが大きすぎます");
  struct Row {
    int32_t width, height;
    QString x, y;
    std::optional<QString> message;
    int32_t newWidth = 0, newHeight = 0;
  };
  const Row rows[] = {
      {21, 21, "2", "2", std::nullopt, 21, 21},
      {25, 25, "2", "2", std::nullopt, 21, 21},
      {35, 35, "3", "3", std::nullopt, 31, 31},
      {21, 21, "20", "15", std::nullopt, 201, 151},
      {21, 21, " 4", "3 ", std::nullopt, 41, 31},
      {21, 21, "0", "2", zero},
      {21, 21, "2", "0", zero},
      {21, 21, "-1", "2", zero},
      {21, 21, "2", "-5", zero},
      {21, 21, "x", "2", zero},
      {21, 21, "", "2", zero},
      {21, 21, "21", "2", wide},
      {21, 21, "20", "16", large},
      {5, 5, "0", "0", std::nullopt, 1, 1},
  };
  for (const Row& row : rows) {
    PatternSizeDialog dialog(row.width, row.height);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ﾊﾟﾀｰﾝのｻｲｽﾞ変更"));
    const std::string what = row.x.toStdString() + " x " + row.y.toStdString();
    EXPECT_EQ(PressOk(dialog, {{"xSize", row.x}, {"ySize", row.y}}), row.message) << what;
    EXPECT_EQ(dialog.isVisible(), row.message.has_value()) << what;
    if (!row.message) {
      EXPECT_EQ(dialog.PatternWidth(), row.newWidth) << what;
      EXPECT_EQ(dialog.PatternHeight(), row.newHeight) << what;
    }
  }
}

class PatternEditorTest : public MainWindowTestBase {
 protected:
  // Runs the editor from the main window's menu; `session` drives it and
  // the editor is closed afterwards as the user closes it.
  void Edit(const std::function<void(PatternEditor&)>& session) {
    ModalAnswerer<PatternEditor> answer([&session](PatternEditor* editor) {
      EXPECT_TRUE(QTest::qWaitForWindowActive(editor));
      session(*editor);
      if (editor->isVisible()) editor->close();
    });
    window->action(MainWindow::kEditPatterns)->trigger();
    ASSERT_TRUE(answer.answered());
    Settle();
  }
  static QStringList Items(const PatternEditor& editor) {
    QStringList items;
    for (int i = 0; i < EditorAccess::PatternBox(editor)->count(); ++i)
      items << EditorAccess::PatternBox(editor)->itemText(i);
    return items;
  }
  // Answers the next name or size dialog with the given texts.
  template <typename Dialog>
  static std::unique_ptr<ModalAnswerer<Dialog>> Answer(
      std::initializer_list<std::pair<const char*, QString>> fields) {
    std::vector<std::pair<const char*, QString>> values(fields);
    return std::make_unique<ModalAnswerer<Dialog>>([values](Dialog* dialog) {
      for (const auto& [name, text] : values)
        dialog->template findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
      dialog->accept();
    });
  }
};

TEST_F(PatternEditorTest, OpensOnTheShownPartsPatternWithSortedItemsMenuTextsAndToolButtons) {
  AddPattern("zeta", 21, 31);
  Pattern* gate = AddPattern("GATE", 101, 61);
  AddPattern("alpha", 21, 31);
  AddPattern("Big", 201, 151);
  AddPart("AND2", 10, 6)->pattern = gate;
  Fill();
  Edit([gate](PatternEditor& editor) {
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("ﾊﾟﾀｰﾝの編集"));
    EXPECT_EQ(Items(editor), (QStringList{"10x6  GATE", "20x15  Big", "2x3  alpha", "2x3  zeta"}));
    EXPECT_EQ(EditorAccess::PatternBox(editor)->currentText(), QStringLiteral("10x6  GATE"));
    EXPECT_EQ(EditorAccess::CurrentPattern(editor)->name, "GATE");
    EXPECT_NE(EditorAccess::CurrentPattern(editor), gate);  // a working copy

    QStringList menus;
    for (QAction* menu : editor.findChild<QMenuBar*>()->actions()) menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"編集(&E)", "表示(&V)"}));

    const struct {
      int id;
      const char* name;
      const char* tip;
    } tools[] = {{PatternEditor::kToolSelect, "selectTool", "選択"},
                 {PatternEditor::kToolPen, "penTool", "ﾍﾟﾝ"},
                 {PatternEditor::kToolLine, "lineTool", "直線"},
                 {PatternEditor::kToolEllipse, "ellipseTool", "楕円"}};
    for (const auto& [id, name, tip] : tools) {
      auto* button = editor.findChild<QToolButton*>(QString::fromLatin1(name));
      ASSERT_NE(button, nullptr);
      EXPECT_EQ(button->toolTip(), QString::fromUtf8(tip));
      EXPECT_EQ(button->icon().availableSizes().value(0), QSize(16, 15));
      EXPECT_EQ(button->isChecked(), id == PatternEditor::kToolSelect);
    }
    editor.action(PatternEditor::kToolEllipse)->trigger();
    EXPECT_EQ(EditorAccess::Canvas(editor)->State().Tool(), PatternTool::Ellipse);
    EXPECT_FALSE(editor.action(PatternEditor::kToolSelect)->isChecked());

    // The canvas fills the window below the box and the buttons.
    const QRect canvas = EditorAccess::Canvas(editor)->geometry();
    EXPECT_EQ(canvas.left(), 4);
    EXPECT_EQ(canvas.right(), EditorAccess::Canvas(editor)->parentWidget()->width() - 5);
    EXPECT_GT(canvas.top(), EditorAccess::PatternBox(editor)->geometry().bottom());

    // Neither Enter nor Escape closes the editor.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
      QTest::keyClick(EditorAccess::Canvas(editor), key);
      EXPECT_TRUE(editor.isVisible()) << key;
    }
  });
  EXPECT_EQ(undoStack().count(), 0);  // looked, changed nothing
  EXPECT_FALSE(modified());
}

TEST_F(PatternEditorTest, MenuItemsFollowThePatternTheSelectionAndTheUndoStep) {
  Fill();  // no patterns at all
  Edit([](PatternEditor& editor) {
    EditorAccess::UpdateCommandStates(editor);
    for (int id :
         {PatternEditor::kZoomIn, PatternEditor::kZoomOut, PatternEditor::kRenamePattern,
          PatternEditor::kResizePattern, PatternEditor::kDeletePattern, PatternEditor::kCut,
          PatternEditor::kCopy, PatternEditor::kDeleteSelection, PatternEditor::kPaste, PatternEditor::kUndo})
      EXPECT_FALSE(editor.action(id)->isEnabled()) << id;
    EXPECT_TRUE(editor.action(PatternEditor::kNewPattern)->isEnabled());

    auto name = Answer<PatternNameDialog>({});
    editor.action(PatternEditor::kNewPattern)->trigger();
    EXPECT_EQ(Items(editor), QStringList{"2x2  NEW_0"});
    EXPECT_EQ(EditorAccess::CurrentPattern(editor)->width, 21);

    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QApplication::clipboard()->setImage(picture);
    EditorAccess::Canvas(editor)->SetTool(PatternTool::Pen);
    QTest::mouseClick(EditorAccess::Canvas(editor)->viewport(), Qt::LeftButton, {},
                      CanvasAccess::CellCentreOnViewport(*EditorAccess::Canvas(editor), {3, 3}));
    EditorAccess::UpdateCommandStates(editor);
    for (int id :
         {PatternEditor::kZoomIn, PatternEditor::kRenamePattern, PatternEditor::kPaste, PatternEditor::kUndo})
      EXPECT_TRUE(editor.action(id)->isEnabled()) << id;
    EXPECT_FALSE(editor.action(PatternEditor::kCopy)->isEnabled());
    // A paste switches to Select, and its button shows it.
    editor.action(PatternEditor::kPaste)->trigger();
    EXPECT_TRUE(editor.action(PatternEditor::kToolSelect)->isChecked());
    EditorAccess::UpdateCommandStates(editor);
    for (int id : {PatternEditor::kCut, PatternEditor::kCopy, PatternEditor::kDeleteSelection})
      EXPECT_TRUE(editor.action(id)->isEnabled()) << id;
    // The Delete key removes the pasted selection.
    // The offscreen platform gives the keyboard back to no one after a dialog.
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    QTest::keyClick(EditorAccess::Canvas(editor), Qt::Key_Delete);
    EXPECT_FALSE(EditorAccess::Canvas(editor)->HasFloatingSelection());
  });
  ASSERT_EQ(library().patterns.size(), 1u);
  EXPECT_EQ(library().patterns[0]->name, "NEW_0");
}

TEST_F(PatternEditorTest, RenameResizeAndDeleteKeepTheBoxSortedAndRefuseAPatternInUse) {
  Pattern* used = AddPattern("USED", 21, 21);
  AddPattern("FREE", 21, 21)->bits.assign(4 * 21, 0xFF);
  AddPattern("LAST", 31, 21);
  PartBody* body = AddPart("zz", 2, 2);
  body->pattern = used;
  AddAlias("Alias", body);
  AddAlias("abc", body);
  AddPart("OTHER");
  Fill();
  Edit([](PatternEditor& editor) {
    EditorAccess::PatternBox(editor)->setCurrentIndex(
        EditorAccess::PatternBox(editor)->findText(QStringLiteral("2x2  FREE")));
    ASSERT_EQ(EditorAccess::CurrentPattern(editor)->name, "FREE");
    auto rename = Answer<PatternNameDialog>({{"patternName", "AAA"}});
    EditorAccess::RenamePattern(editor);
    EXPECT_EQ(Items(editor), (QStringList{"2x2  AAA", "2x2  USED", "3x2  LAST"}));
    EXPECT_EQ(EditorAccess::PatternBox(editor)->currentIndex(), 0);

    // X = 1 keeps pixels 0 … 10 of each row; growing back does not return them.
    auto shrink = Answer<PatternSizeDialog>({{"xSize", "1"}, {"ySize", "2"}});
    EditorAccess::ResizePattern(editor);
    auto grow = Answer<PatternSizeDialog>({{"xSize", "2"}, {"ySize", "2"}});
    EditorAccess::ResizePattern(editor);
    const Pattern& resized = *EditorAccess::CurrentPattern(editor);
    ASSERT_EQ(resized.width, 21);
    for (int32_t x = 0; x < 21; ++x) EXPECT_EQ(resized.Pixel(x, 20), x <= 10) << x;

    EditorAccess::PatternBox(editor)->setCurrentIndex(1);
    ASSERT_EQ(EditorAccess::CurrentPattern(editor)->name, "USED");
    QStringList users;
    ModalAnswerer<PatternInUseDialog> inUse([&users](PatternInUseDialog* dialog) {
      users = dialog->Names();
      EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Zanli ﾊﾟﾀｰﾝの削除"));
      dialog->accept();
    });
    EditorAccess::DeletePattern(editor);
    EXPECT_EQ(users, (QStringList{"abc", "Alias", "zz"}));
    EXPECT_EQ(Items(editor).size(), 3);

    // An unused one goes after the question; the item now at its place, or
    // the new last item, is shown.
    EditorAccess::PatternBox(editor)->setCurrentIndex(2);
    QString question;
    ModalAnswerer<QMessageBox> yes([&question](QMessageBox* box) {
      question = box->text();
      box->done(QMessageBox::Yes);
    });
    EditorAccess::DeletePattern(editor);
    EXPECT_EQ(question, QStringLiteral("作業中のﾊﾟﾀｰﾝを削除します"));
    EXPECT_EQ(Items(editor), (QStringList{"2x2  AAA", "2x2  USED"}));
    EXPECT_EQ(EditorAccess::CurrentPattern(editor)->name, "USED");
  });
  ASSERT_EQ(library().patterns.size(), 2u);
  EXPECT_EQ(library().patterns[0]->name, "USED");
  EXPECT_EQ(library().patterns[1]->name, "AAA");
  EXPECT_EQ(library().bodies[0]->pattern, library().patterns[0].get());
}

TEST_F(PatternEditorTest, ASessionIsOneStepThatUndoesEveryNameSizeAndBit) {
  Pattern* gate = AddPattern("GATE", 31, 21);
  gate->SetPixel(4, 4, true);
  AddPattern("OLD", 21, 21)->SetPixel(1, 1, true);
  AddPart("AND2", 3, 2)->pattern = gate;
  Fill();
  const std::string before = testing::Describe(library());

  Edit([](PatternEditor& editor) {
    ASSERT_EQ(EditorAccess::CurrentPattern(editor)->name, "GATE");
    PatternCanvas* canvas = EditorAccess::Canvas(editor);
    editor.action(PatternEditor::kToolPen)->trigger();
    QTest::mouseClick(canvas->viewport(), Qt::LeftButton, {},
                      CanvasAccess::CellCentreOnViewport(*canvas, {7, 8}));
    auto rename = Answer<PatternNameDialog>({{"patternName", "GATE2"}});
    EditorAccess::RenamePattern(editor);
    auto resize = Answer<PatternSizeDialog>({{"xSize", "4"}, {"ySize", "3"}});
    EditorAccess::ResizePattern(editor);
    EditorAccess::PatternBox(editor)->setCurrentIndex(
        EditorAccess::PatternBox(editor)->findText(QStringLiteral("2x2  OLD")));
    ModalAnswerer<QMessageBox> yes([](QMessageBox* box) { box->done(QMessageBox::Yes); });
    EditorAccess::DeletePattern(editor);
    auto name = Answer<PatternNameDialog>({});
    EditorAccess::NewPattern(editor);
  });
  const std::string after = testing::Describe(library());
  ASSERT_EQ(undoStack().count(), 1);
  EXPECT_EQ(undoStack().undoText(), QStringLiteral("ﾊﾟﾀｰﾝの編集"));
  EXPECT_TRUE(modified());
  ASSERT_EQ(library().patterns.size(), 2u);
  const Pattern& edited = *library().patterns[0];
  EXPECT_EQ(edited.name, "GATE2");
  EXPECT_EQ(edited.width, 41);
  EXPECT_EQ(edited.height, 31);
  EXPECT_TRUE(edited.Pixel(4, 4));
  EXPECT_TRUE(edited.Pixel(7, 8));
  EXPECT_EQ(library().patterns[1]->name, "NEW_0");
  EXPECT_EQ(library().bodies[0]->pattern, &edited);

  window->action(MainWindow::kEditUndo)->trigger();
  EXPECT_EQ(testing::Describe(library()), before);
  EXPECT_FALSE(modified());
  window->action(MainWindow::kEditRedo)->trigger();
  EXPECT_EQ(testing::Describe(library()), after);

  // Drawing and undoing it inside the editor leaves nothing to record.
  Edit([](PatternEditor& editor) {
    editor.action(PatternEditor::kToolPen)->trigger();
    QTest::mouseClick(EditorAccess::Canvas(editor)->viewport(), Qt::LeftButton, {},
                      CanvasAccess::CellCentreOnViewport(*EditorAccess::Canvas(editor), {1, 1}));
    EditorAccess::UpdateCommandStates(editor);
    editor.action(PatternEditor::kUndo)->trigger();
  });
  EXPECT_EQ(undoStack().count(), 1);
  EXPECT_EQ(testing::Describe(library()), after);
}

}  // namespace
}  // namespace zanli
