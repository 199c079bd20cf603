// The file dialogs must not read the files they list: a read from some
// special files never returns and would freeze the editor.
#include "app/plain_file_icon_provider.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/library_file_dialog.h"

namespace zanli {
namespace {

TEST(PlainFileIconProviderTest, NamesTheTypeFromTheNameNotTheContent) {
  QTemporaryDir temp;
  ASSERT_TRUE(temp.isValid());
  // Content that a sniffing provider would call a PDF document or a script.
  for (const auto& [name, content] :
       {std::pair{"notes.dat", "%PDF-1.4\n"}, std::pair{"README", "#!/bin/sh\n"}}) {
    QFile file(temp.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }
  ASSERT_TRUE(QDir(temp.path()).mkdir(QStringLiteral("sub.d")));

  LibraryFileDialog dialog(nullptr, QFileDialog::AcceptSave);
  const QAbstractFileIconProvider* provider = dialog.iconProvider();
  ASSERT_NE(provider, nullptr);
  EXPECT_EQ(provider->type(QFileInfo(temp.filePath(QStringLiteral("notes.dat")))),
            QStringLiteral("dat File"));
  EXPECT_EQ(provider->type(QFileInfo(temp.filePath(QStringLiteral("README")))), QStringLiteral("File"));
  EXPECT_EQ(provider->type(QFileInfo(temp.filePath(QStringLiteral("sub.d")))), QStringLiteral("Folder"));
  EXPECT_FALSE(provider->icon(QFileInfo(temp.filePath(QStringLiteral("notes.dat")))).isNull());

  LibraryFileDialog open(nullptr, QFileDialog::AcceptOpen);
  EXPECT_EQ(open.iconProvider(), provider);
}

}  // namespace
}  // namespace zanli
