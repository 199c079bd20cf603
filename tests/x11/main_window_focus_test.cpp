#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "../app/main_window_test_support.h"
#include "../app/modal_answerer.h"

namespace zanli {
namespace {

using testing::MainWindowTestBase;
using testing::ModalAnswerer;

class MainWindowFocusTest : public MainWindowTestBase {};

// Without a window manager the X focus falls back to the root window when a
// dialog closes; the keys a user types next must still reach the editor.
TEST_F(MainWindowFocusTest, KeysReachTheWindowAgainAfterTheOpenDialog) {
  QTemporaryDir temp;
  ASSERT_TRUE(QFile::copy(QStringLiteral(ZANLI_EXAMPLES_DIR "/logic.LB3"), temp.filePath("logic.LB3")));
  ModalAnswerer<QFileDialog> choose([&temp](QFileDialog* dialog) {
    dialog->setDirectory(temp.path());
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    field->setText(QStringLiteral("logic.LB3"));
    QTest::keyClick(field, Qt::Key_Return);
  });
  window->action(MainWindow::kFileOpen)->trigger();
  ASSERT_TRUE(choose.answered());
  ASSERT_GT(partList()->GetCount(), 1);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), 3000));
  EXPECT_EQ(QApplication::focusWidget(), partList());
}

}  // namespace
}  // namespace zanli
