// The File menu's exports as a user runs them: the picture of the shown part
// against what zanli-cli render writes for the same part, block and zoom,
// and the PDF catalogue with its pages and its cancel.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cstdio>

#include "app/export_file_dialog.h"
#include "main_window_test_support.h"
#include "modal_answerer.h"
#include "support/required_tool.h"

namespace zanli {
namespace {

using testing::ModalAnswerer;

std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers the export dialog: the number, the type box moved down `typeSteps`
// entries as a user does with the keyboard, then the name.
ModalAnswerer<ExportFileDialog> Export(const QString& folder, const QString& name, int number,
                                       int typeSteps = 0) {
  return ModalAnswerer<ExportFileDialog>([=](ExportFileDialog* dialog) {
    dialog->setDirectory(folder);
    dialog->findChild<QSpinBox*>(QStringLiteral("exportNumber"))->setValue(number);
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    for (int i = 0; i < typeSteps; ++i) QTest::keyClick(types, Qt::Key_Down);
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    field->setText(name);
    QTest::keyClick(field, Qt::Key_Return);
  });
}

class MainWindowExportTest : public testing::MainWindowTestBase {
 protected:
  void SetUp() override {
    MainWindowTestBase::SetUp();
    ASSERT_TRUE(temp.isValid());
  }
  QString Path(const QString& name) const { return temp.filePath(name); }
  void Run(int command) {
    UpdateCommandStates();
    ASSERT_TRUE(window->action(command)->isEnabled());
    window->action(command)->trigger();
    Settle();
  }
  // Finds the part with the filter; it is the first row shown, and selected.
  void Select(const char* name) {
    auto* filter = Child<QLineEdit>("partFilter");
    filter->setText(QString::fromLatin1(name));
    Settle();
    ASSERT_EQ(partList()->GetItemText(partList()->GetCurSel()), name);
  }
  QTemporaryDir temp;
};

TEST_F(MainWindowExportTest, PicturesEqualZanliCliRenderOfTheSamePartBlockAndZoom) {
  const struct {
    const char* library;
    const char* part;
    int block;
    int zoom;
    const char* typed;  // the name typed in the dialog
    int typeSteps;      // 1 chooses SVG in the type box
    const char* written;
  } cases[] = {
      {"logic.LB3", "74HC74", 2, 1, "flipflop.png", 0, "flipflop.png"},
      {"logic.LB3", "74HC00", 3, 2, "gate", 1, "gate.svg"},        // the type box gives the extension
      {"analog.LB3", "OPAMP", 1, 3, "opamp.svg", 0, "opamp.svg"},  // the name's extension wins
      {"analog.LB3", "NPN", 1, 4, "npn", 0, "npn.png"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.part);
    ASSERT_TRUE(window->OpenLibraryFile(std::string(ZANLI_EXAMPLES_DIR "/") + c.library));
    Select(c.part);
    blockBox()->setValue(c.block);
    Settle();
    ASSERT_EQ(partView()->GetBlock(), c.block - 1);
    {
      auto answer = Export(temp.path(), QString::fromLatin1(c.typed), c.zoom, c.typeSteps);
      Run(MainWindow::kExportPicture);
      ASSERT_TRUE(answer.answered());
    }
    const QString written = Path(QString::fromLatin1(c.written));
    const bool svg = written.endsWith(QStringLiteral(".svg"));
    const std::string expected = temp.path().toStdString() + "/expected";
    ASSERT_EQ(std::system((std::string(ZANLI_CLI) + " render " + (svg ? "--svg " : "") + "--block " +
                           std::to_string(c.block) + " --zoom " + std::to_string(c.zoom) + " " +
                           ZANLI_EXAMPLES_DIR + "/" + c.library + " " + c.part + " " + expected)
                              .c_str()),
              0);
    const QByteArray bytes = Contents(written);
    ASSERT_FALSE(bytes.isEmpty());
    const QByteArray cli = Contents(QString::fromStdString(expected));
    if (svg) {
      EXPECT_EQ(bytes, cli);
    } else {
      // PNG encoders may differ in their chunks: the pixels must not.
      const QImage image = QImage::fromData(bytes, "PNG").convertToFormat(QImage::Format_RGB32);
      EXPECT_FALSE(image.isNull());
      EXPECT_EQ(image, QImage::fromData(cli, "PNG").convertToFormat(QImage::Format_RGB32));
    }
  }
}

TEST_F(MainWindowExportTest, APictureBeyondThePixelBudgetIsRefusedAndNothingWritten) {
  AddPart("HUGE", 255, 255);  // fits at zoom 1 only
  Fill();
  QString said;
  ModalAnswerer<QMessageBox> box([&said](QMessageBox* message) {
    said = message->text();
    message->accept();
  });
  auto answer = Export(temp.path(), QStringLiteral("huge.png"), 2);
  Run(MainWindow::kExportPicture);
  EXPECT_TRUE(said.contains(QStringLiteral("HUGE")) && said.contains(QStringLiteral("5342 x 5342")))
      << said.toStdString();
  EXPECT_FALSE(QFile::exists(Path(QStringLiteral("huge.png"))));
}

TEST_F(MainWindowExportTest, CatalogueHasTheLibrarysPagesAndACancelLeavesNoFile) {
  ASSERT_TRUE(testing::HasTool("pdfinfo", "poppler-utils"));
  ASSERT_TRUE(window->OpenLibraryFile(ZANLI_EXAMPLES_DIR "/logic.LB3"));
  {
    auto answer = Export(temp.path(), QStringLiteral("logic"), 5);
    Run(MainWindow::kExportCatalog);
  }
  // 12 parts (their 9 aliases share the cells), 5 a page.
  const std::string pdf = Path(QStringLiteral("logic.pdf")).toStdString();
  EXPECT_EQ(Output("pdfinfo " + pdf + " | sed -n 's/^Pages: *//p'"), "3\n");
  EXPECT_NE(Output("pdftotext " + pdf + " - | head -1").find("logic.LB3"), std::string::npos);

  // Large enough to be cancelled on its way; an old file stays as it was and
  // a new one is never made.
  for (int i = 0; i < 3000; ++i) AddPart("P" + std::to_string(i));
  Fill();
  QFile old(Path(QStringLiteral("old.pdf")));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
  old.close();
  QTimer canceller;
  QObject::connect(&canceller, &QTimer::timeout, [this] {
    auto* progress = window->findChild<QProgressDialog*>(QStringLiteral("catalogProgress"));
    if (progress != nullptr && progress->isVisible() && progress->value() > 0) progress->cancel();
  });
  canceller.start(1);
  for (const char* name : {"old.pdf", "new.pdf"}) {
    SCOPED_TRACE(name);
    ModalAnswerer<QMessageBox> replace([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    auto answer = Export(temp.path(), QString::fromLatin1(name), 1);
    Run(MainWindow::kExportCatalog);
    EXPECT_TRUE(answer.answered());
  }
  EXPECT_EQ(Contents(Path(QStringLiteral("old.pdf"))), QByteArray("old"));
  EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files, QDir::Name),
            QStringList({QStringLiteral("logic.pdf"), QStringLiteral("old.pdf")}));
}

}  // namespace
}  // namespace zanli
