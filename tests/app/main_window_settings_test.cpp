// What the editor remembers between runs: the window's place and size, the
// folder of the file dialogs, and the last eight libraries in the File menu.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>

#include "fileio/text_library_format.h"
#include "main_window_test_support.h"
#include "modal_answerer.h"

namespace zanli {
namespace {

class MainWindowSettingsTest : public testing::MainWindowTestBase {
 protected:
  void SetUp() override {
    MainWindowTestBase::SetUp();
    ASSERT_TRUE(temp.isValid());
  }
  QString WriteLibrary(const QString& name) {
    Library library;
    testing::AddPart(library, name.toStdString());
    const QString path = temp.filePath(name + QStringLiteral(".LB3"));
    EXPECT_TRUE(TextLibraryFormat::Write(QFile::encodeName(path).toStdString(), library));
    return path;
  }
  // The recent entries of the File menu, in order.
  QStringList RecentTexts() const {
    QStringList texts;
    for (int i = 1; i <= 9; ++i)
      if (auto* a = window->findChild<QAction*>(QStringLiteral("recent%1").arg(i))) texts << a->text();
    return texts;
  }
  void Restart() {
    undoStack().setClean();
    window.reset();
    window = std::make_unique<MainWindow>();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }
  QTemporaryDir temp;
};

TEST_F(MainWindowSettingsTest, TheLastEightLibrariesStayInTheFileMenuAcrossRuns) {
  for (int i = 0; i < 10; ++i)
    ASSERT_TRUE(
        window->OpenLibraryFile(QFile::encodeName(WriteLibrary(QStringLiteral("L%1").arg(i))).toStdString()));
  // Opening one again moves it to the front.
  window->OpenLibraryFile(QFile::encodeName(temp.filePath(QStringLiteral("L5.LB3"))).toStdString());
  const QStringList expected{"&1 L5.LB3", "&2 L9.LB3", "&3 L8.LB3", "&4 L7.LB3",
                             "&5 L6.LB3", "&6 L4.LB3", "&7 L3.LB3", "&8 L2.LB3"};
  EXPECT_EQ(RecentTexts(), expected);
  Restart();
  EXPECT_EQ(RecentTexts(), expected);
  // They stand above the exit item.
  QList<QAction*> items;
  for (QMenu* menu : window->findChildren<QMenu*>())
    if (menu->actions().contains(window->action(MainWindow::kAppExit))) items = menu->actions();
  ASSERT_FALSE(items.isEmpty());
  EXPECT_LT(items.indexOf(window->findChild<QAction*>(QStringLiteral("recent8"))),
            items.indexOf(window->action(MainWindow::kAppExit)));

  // A library that is gone leaves the list with the read-failure message.
  ASSERT_TRUE(QFile::remove(temp.filePath(QStringLiteral("L9.LB3"))));
  QString text;
  testing::ModalAnswerer<QMessageBox> box([&text](QMessageBox* b) {
    text = b->text();
    b->accept();
  });
  window->findChild<QAction*>(QStringLiteral("recent2"))->trigger();
  Settle();
  EXPECT_TRUE(text.startsWith(QStringLiteral("L9.LB3\nﾌｧｲﾙの読み込みに失敗しました\n")))
      << text.toStdString();
  EXPECT_EQ(RecentTexts().size(), 7);
  EXPECT_EQ(RecentTexts().at(1), QStringLiteral("&2 L8.LB3"));

  // A library of the list opens from it.
  window->findChild<QAction*>(QStringLiteral("recent3"))->trigger();
  Settle();
  EXPECT_EQ(Caption(), QStringLiteral("Zanli - L7.LB3"));

  // Two libraries of one name are told apart by their folders.
  QDir(temp.path()).mkdir(QStringLiteral("other"));
  ASSERT_TRUE(
      QFile::copy(temp.filePath(QStringLiteral("L7.LB3")), temp.filePath(QStringLiteral("other/L7.LB3"))));
  window->OpenLibraryFile(QFile::encodeName(temp.filePath(QStringLiteral("other/L7.LB3"))).toStdString());
  EXPECT_EQ(RecentTexts().at(0), QStringLiteral("&1 L7.LB3  (%1)")
                                     .arg(QDir::toNativeSeparators(temp.filePath(QStringLiteral("other")))));
  EXPECT_EQ(RecentTexts().at(1),
            QStringLiteral("&2 L7.LB3  (%1)").arg(QDir::toNativeSeparators(temp.path())));
  EXPECT_EQ(RecentTexts().at(2), QStringLiteral("&3 L5.LB3"));
}

TEST_F(MainWindowSettingsTest, TheWindowAndTheDialogsStartWhereTheUserLeftThem) {
  window->resize(window->width() + 120, window->height() + 70);
  window->move(40, 30);
  Settle();
  const QSize size = window->size();
  window->OpenLibraryFile(QFile::encodeName(WriteLibrary(QStringLiteral("HERE"))).toStdString());
  Restart();
  EXPECT_EQ(window->size(), size);

  // New library: Save As starts in the folder last used.
  QString directory;
  testing::ModalAnswerer<QFileDialog> peek([&directory](QFileDialog* dialog) {
    directory = dialog->directory().absolutePath();
    dialog->reject();
  });
  EXPECT_FALSE(SaveLibraryAs());
  EXPECT_EQ(directory, QDir(temp.path()).absolutePath());
}

}  // namespace
}  // namespace zanli
