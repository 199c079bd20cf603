// The File menu's exports as a user runs them: the shown part's picture
// against zanli-cli render's for the same part, block and zoom, and the PDF
// catalogue with its pages and its cancel.
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTemporaryDir>

#include "app/export_file_dialog.h"
#include "main_window_test_support.h"
#include "modal_answerer.h"
#include "support/required_tool.h"

namespace zanli {
namespace {

using testing::ModalAnswerer;

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers the export dialog: the number, SVG chosen in the type box (with
// the keyboard) when asked, then the name.
ModalAnswerer<ExportFileDialog> Export(const QString& folder, const QString& name, int number,
                                       bool svg = false) {
  return ModalAnswerer<ExportFileDialog>([=](ExportFileDialog* dialog) {
    dialog->setDirectory(folder);
    dialog->findChild<QSpinBox*>(QStringLiteral("exportNumber"))->setValue(number);
    if (svg) QTest::keyClick(dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")), Qt::Key_Down);
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    field->setText(name);
    QTest::keyClick(field, Qt::Key_Return);
  });
}

class MainWindowExportTest : public testing::MainWindowTestBase {
 protected:
  QString Path(const char* name) const { return temp.filePath(QString::fromLatin1(name)); }
  void Run(int command) {
    UpdateCommandStates();
    ASSERT_TRUE(window->action(command)->isEnabled());
    window->action(command)->trigger();
    Settle();
  }
  QTemporaryDir temp;
};

TEST_F(MainWindowExportTest, PicturesEqualZanliCliRenderOfTheSamePartBlockAndZoom) {
  const struct {
    const char* library;
    const char* part;
    int block;
    int zoom;
    const char* typed;
    bool svgType;  // chosen in the type box
    const char* written;
  } cases[] = {
      {"logic.LB3", "74HC74", 2, 1, "ff", false, "ff.png"},
      {"logic.LB3", "74HC00", 3, 2, "gate", true, "gate.svg"},
      {"analog.LB3", "OPAMP", 1, 3, "op.svg", false, "op.svg"},  // the name's type wins
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.part);
    ASSERT_TRUE(window->OpenLibraryFile(std::string(ZANLI_EXAMPLES_DIR "/") + c.library));
    Child<QLineEdit>("partFilter")->setText(QString::fromLatin1(c.part));  // selects it
    Settle();
    blockBox()->setValue(c.block);
    Settle();
    ASSERT_EQ(partView()->GetBlock(), c.block - 1);
    ASSERT_EQ(partList()->GetItemText(partList()->GetCurSel()), c.part);
    {
      auto answer = Export(temp.path(), QString::fromLatin1(c.typed), c.zoom, c.svgType);
      Run(MainWindow::kExportPicture);
    }
    const bool svg = QString::fromLatin1(c.written).endsWith(QStringLiteral(".svg"));
    const std::string cli = temp.filePath(QStringLiteral("cli")).toStdString();
    ASSERT_EQ(std::system((std::string(ZANLI_CLI) + " render " + (svg ? "--svg" : "") + " --block " +
                           std::to_string(c.block) + " --zoom " + std::to_string(c.zoom) + " " +
                           ZANLI_EXAMPLES_DIR + "/" + c.library + " " + c.part + " " + cli)
                              .c_str()),
              0);
    const QByteArray written = Contents(Path(c.written));
    ASSERT_FALSE(written.isEmpty());
    if (svg)
      EXPECT_EQ(written, Contents(QString::fromStdString(cli)));
    else  // the PNG chunks may differ between the two programs, the pixels not
      EXPECT_EQ(QImage::fromData(written).convertToFormat(QImage::Format_RGB32),
                QImage(QString::fromStdString(cli)).convertToFormat(QImage::Format_RGB32));
  }
}

TEST_F(MainWindowExportTest, CatalogueHasTheLibrarysPagesAndACancelLeavesNoFile) {
  ASSERT_TRUE(testing::HasTool("pdfinfo", "poppler-utils"));
  ASSERT_TRUE(window->OpenLibraryFile(ZANLI_EXAMPLES_DIR "/logic.LB3"));
  {
    auto answer = Export(temp.path(), QStringLiteral("logic"), 5);
    Run(MainWindow::kExportCatalog);
  }
  // 12 parts (their aliases share the cells), 5 a page, under the file's name.
  const std::string pdf = Path("logic.pdf").toStdString();
  EXPECT_EQ(std::system(("pdfinfo " + pdf + " | grep -q '^Pages: *3$'").c_str()), 0);
  EXPECT_EQ(std::system(("pdftotext " + pdf + " - | grep -q logic.LB3").c_str()), 0);

  for (int i = 0; i < 3000; ++i) AddPart(std::string("P").append(std::to_string(i)));
  Fill();
  QFile old(Path("old.pdf"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
  old.close();
  QTimer canceller;
  QObject::connect(&canceller, &QTimer::timeout, [this] {
    auto* progress = window->findChild<QProgressDialog*>(QStringLiteral("catalogProgress"));
    if (progress != nullptr && progress->isVisible()) progress->cancel();
  });
  canceller.start(1);
  for (const char* name : {"old.pdf", "new.pdf"}) {
    ModalAnswerer<QMessageBox> replace([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    auto answer = Export(temp.path(), QString::fromLatin1(name), 1);
    Run(MainWindow::kExportCatalog);
  }
  EXPECT_EQ(Contents(Path("old.pdf")), QByteArray("old"));
  EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList({"logic.pdf", "old.pdf"}));
}

}  // namespace
}  // namespace zanli
