// The pin table under a real X server: a list another program put on the
// clipboard (xclip) is pasted with real keys (xdotool), and the part saved.
#include <QApplication>
#include <QClipboard>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "../app/main_window_test_support.h"
#include "../app/modal_answerer.h"
#include "app/pin_list_paste_dialog.h"
#include "app/pin_table_window.h"
#include "fileio/library_file.h"
#include "pinlist/pin_table_text.h"

namespace zanli {
namespace {

using testing::MainWindowTestBase;
using testing::ModalAnswerer;

class PinTableX11Test : public MainWindowTestBase {};

bool Keys(const QString& keys) {
  return QProcess::execute(QStringLiteral("xdotool"), {"key", "--clearmodifiers", keys}) == 0;
}

TEST_F(PinTableX11Test, AListFromAnotherProgramPastedWithRealKeysIsSavedAsPasted) {
  AddPart("IC");
  Fill();
  QTemporaryDir temp;
  const std::string path = temp.filePath(QStringLiteral("pins.LB3")).toStdString();
  SetLibraryPath(path);

  ASSERT_TRUE(Keys(QStringLiteral("ctrl+t")));
  PinTableWindow* table = nullptr;
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return (table = window->findChild<PinTableWindow*>()) != nullptr; }, 3000));
  ASSERT_TRUE(QTest::qWaitForWindowActive(table, 3000));

  const QString list = QStringLiteral("Pin\tName\tSide\n1\tD\tL\n2\t\\CLK\tL\n3\tQ\tR\n4\t\\Q\tR\n");
  QProcess xclip;
  xclip.start(QStringLiteral("xclip"), {"-selection", "clipboard", "-i"});
  ASSERT_TRUE(xclip.waitForStarted());
  xclip.write(list.toUtf8());
  xclip.closeWriteChannel();
  ASSERT_TRUE(xclip.waitForFinished());
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::clipboard()->text() == list; }, 3000));

  // The dialog's OK clicked with the real pointer.
  ModalAnswerer<PinListPasteDialog> paste([](PinListPasteDialog* dialog) {
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog, 3000));
    QPushButton* ok = nullptr;
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
      if (button->isDefault()) ok = button;
    ASSERT_NE(ok, nullptr);
    const QPoint centre = ok->mapToGlobal(ok->rect().center());
    EXPECT_EQ(
        QProcess::execute(QStringLiteral("xdotool"), {"mousemove", "--sync", QString::number(centre.x()),
                                                      QString::number(centre.y()), "click", "1"}),
        0);
  });
  table->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(table, 3000));
  QTest::qWait(200);
  ASSERT_TRUE(Keys(QStringLiteral("ctrl+v")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return paste.answered() && undoStack().count() == 1; }, 5000))
      << paste.answered() << " " << testing::Describe(library());

  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), 3000));
  ASSERT_TRUE(Keys(QStringLiteral("ctrl+s")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !modified(); }, 3000));

  const ReadResult read = LibraryFile::Read(path);
  ASSERT_NE(read.library, nullptr);
  const PartBody& saved = *read.library->entries.at(0)->body;
  EXPECT_EQ(
      PinTableText(saved, PinsInCursorOrder(saved)),
      "\x95\xD3\t\x88\xCA\x92\x75\t\x96\xBC\x91\x4F\t\x94\xD4\x8D\x86\x82\xF0\xCA\xDF\xB0\xC2\x82\xC9\x8A\xF1"
      "\x82\xB9\x82\xE9\t\xB8\xDB\xAF\xB8\t\x95\x89\x98\x5F\x97\x9D\t\x94\xD4\x8D\x86"
      "1\r\n"
      "\x8D\xB6\t1\tD\t\t\t\t1\r\n"
      "\x8D\xB6\t2\t\\CLK\t\t\t\t2\r\n"
      "\x89\x45\t2\t\\Q\t\t\t\t4\r\n"
      "\x89\x45\t1\tQ\t\t\t\t3\r\n");
  table->close();
}

}  // namespace
}  // namespace zanli
