// The file commands: New, Open, Save, Save As and the save prompt. The part
// list is the working copy of the library's entries: it is filled from them
// after a read and they are rebuilt from it before every write.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <unordered_set>

#include "app/library_file_dialog.h"
#include "app/main_window.h"
#include "app/part_list_box.h"
#include "app/part_view.h"
#include "fileio/binary_library_format.h"
#include "fileio/text_library_format.h"
#include "resources/message_texts.h"

namespace zanli {

namespace {

QString FromPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The busy cursor for as long as a file is being written.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

// True when every entry names a body of the library and every body is named:
// the only state in which the part list can stand for the entries.
bool EntriesAndBodiesAgree(const Library& library) {
  std::unordered_set<const PartBody*> bodies;
  for (const auto& body : library.bodies) bodies.insert(body.get());
  std::unordered_set<const PartBody*> named;
  for (const auto& entry : library.entries) {
    if (bodies.count(entry->body) == 0) return false;
    named.insert(entry->body);
  }
  return named.size() == bodies.size();
}

}  // namespace

bool MainWindow::IsTextLibraryPath(const std::string& path) {
  return LibraryFileDialog::Extension(FromPath(path)).compare(QStringLiteral(".LB3"), Qt::CaseInsensitive) ==
         0;
}

void MainWindow::ShowWarning(const QString& text) {
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(texts::kAppName), text, QMessageBox::Ok, this);
  RunModal(box);
}

bool MainWindow::SaveModified() {
  if (!library_.modified) return true;
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(texts::kAppName),
                  QString::fromUtf8(texts::kSaveChanges).arg(FromPath(library_.fileTitle)),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  const int answer = RunModal(box);
  if (answer == QMessageBox::No) return true;
  if (answer != QMessageBox::Yes) return false;
  return library_.hasFilePath ? SaveLibrary() : SaveLibraryAs();
}

void MainWindow::SetLibraryPath(const std::string& path) {
  library_.filePath = path;
  library_.fileTitle = ToPath(QFileInfo(FromPath(path)).fileName());
  library_.hasFilePath = true;
}

void MainWindow::NewLibrary() {
  if (!SaveModified()) return;
  // The view must let go of its body before the library frees it.
  partView->SetPart(nullptr);
  library_.Clear();
  partList->ResetContent();
  UpdateTitle();
  partList->setFocus();
  UpdateBlockBox();
  ShowPinAtCursor();
  update();
  UpdateCommandStates();
}

bool MainWindow::OpenLibrary() {
  LibraryFileDialog dialog(this, QFileDialog::AcceptOpen);
  dialog.SelectType(LibraryFileDialog::kBinaryType);
  dialog.setDefaultSuffix(QStringLiteral("LIB"));
  dialog.selectFile(QStringLiteral("*.LIB"));
  if (RunModal(dialog) != QDialog::Accepted) return false;
  const std::string path = ToPath(dialog.ChosenPath());
  if (path.empty()) return false;

  // If the reader fails without touching the library, refilling the list
  // from the entries must give back exactly what the user had.
  RebuildEntriesFromList();
  partView->SetPart(nullptr);
  partList->ResetContent();
  const bool read = IsTextLibraryPath(path) ? TextLibraryFormat::Read(path, library_)
                                            : BinaryLibraryFormat::Read(path, library_);
  if (!read) {
    // A reader that stopped half-way may leave bodies nobody names; saving
    // those would lose their parts' names, so start clean instead.
    if (!EntriesAndBodiesAgree(library_)) library_.Clear();
    FillPartListFromEntries();
    UpdateTitle();
    partList->setFocus();
    ReportReadFailure(path);
    return false;
  }
  FillPartListFromEntries();
  SetLibraryPath(path);
  partList->setFocus();
  UpdateTitle();
  partView->SetCursor(PinEdge::Left, 0);
  return true;
}

bool MainWindow::SaveLibrary() {
  RebuildEntriesFromList();
  bool written = false;
  int failure = 0;
  {
    const BusyCursor busy;
    if (IsTextLibraryPath(library_.filePath)) {
      written = TextLibraryFormat::Write(library_.filePath, library_);
      if (!written) failure = 105;
    } else {
      switch (BinaryLibraryFormat::Write(library_.filePath, library_)) {
        case BinaryWriteResult::Ok:
          written = true;
          break;
        case BinaryWriteResult::TooLarge:
          failure = 103;
          break;
        case BinaryWriteResult::Inconsistent:
          failure = 104;
          break;
        case BinaryWriteResult::WriteFailed:
          failure = 105;
          break;
      }
    }
  }
  if (written) {
    library_.modified = false;
    return true;
  }
  ReportWriteFailure(failure);
  return false;
}

bool MainWindow::SaveLibraryAs() {
  LibraryFileDialog dialog(this, QFileDialog::AcceptSave);
  dialog.SelectType(IsTextLibraryPath(library_.filePath) ? LibraryFileDialog::kTextType
                                                         : LibraryFileDialog::kBinaryType);
  dialog.selectFile(FromPath(library_.filePath));
  if (RunModal(dialog) != QDialog::Accepted) return false;
  const std::string path = ToPath(dialog.ChosenPath());
  if (path.empty()) return false;
  SetLibraryPath(path);
  UpdateTitle();
  return SaveLibrary();
}

void MainWindow::ReportReadFailure(const std::string& path) {
  ShowWarning(QString::fromUtf8(texts::kReadFailed).arg(QFileInfo(FromPath(path)).fileName()));
}

void MainWindow::ReportWriteFailure(int messageIndex) {
  const char* text = messageIndex == 103   ? texts::kDataTooLarge
                     : messageIndex == 104 ? texts::kDataInconsistent
                                           : texts::kWriteFailed;
  ShowWarning(QString::fromUtf8(text));
}

}  // namespace zanli
