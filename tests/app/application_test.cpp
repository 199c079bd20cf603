// Qt's own texts read in Japanese, as the rest of the editor, whatever the
// user's locale: the test main installs them as the application does.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "app/library_file_dialog.h"

namespace zanli {
namespace {

TEST(ApplicationTest, QtMessageBoxesAndFileDialogsReadInJapanese) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Zanli"), QStringLiteral("?"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
  EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));

  LibraryFileDialog dialog(nullptr, QFileDialog::AcceptOpen);
  auto* nameLabel = dialog.findChild<QLabel*>(QStringLiteral("fileNameLabel"));
  auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  ASSERT_NE(nameLabel, nullptr);
  ASSERT_NE(buttons, nullptr);
  EXPECT_EQ(nameLabel->text(), QStringLiteral("ファイル名(&N):"));
  EXPECT_EQ(buttons->button(QDialogButtonBox::Open)->text(), QStringLiteral("開く(&O)"));
  EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
}

}  // namespace
}  // namespace zanli
