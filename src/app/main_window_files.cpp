// The file commands: New, Open, Save, Save As and the save prompt. A read
// fills a fresh library that replaces the open one only when it succeeded;
// the history then starts again. A successful write marks the history's
// present step as the saved state.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMenu>
#include <QSettings>
#include <QUndoStack>
#include <optional>

#include "app/busy_cursor.h"
#include "app/library_file_dialog.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/part_list_box.h"
#include "app/part_view.h"
#include "app/pin_panel.h"
#include "app/recent_libraries.h"
#include "app/save_loss_dialog.h"
#include "check/checked_save.h"
#include "fileio/library_file.h"
#include "fileio/library_file_messages.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/check_texts.h"
#include "resources/message_texts.h"

namespace zanli {

namespace {

QString FromPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// A path as the messages show it.
std::string ShownPath(const std::string& path) { return FromPath(path).toStdString(); }

std::string DecodeName(std::string_view bytes) {
  return ShiftJisCodec::Decode(std::string(bytes)).toStdString();
}

}  // namespace

bool MainWindow::SaveModified() {
  if (!IsModified()) return true;
  const QMessageBox::StandardButton answer = ShowMessageBox(
      this, QMessageBox::Warning, QString::fromUtf8(texts::kSaveChanges).arg(FromPath(library().fileTitle)),
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::Cancel);
  if (answer == QMessageBox::No) return true;
  if (answer != QMessageBox::Yes) return false;
  return library().hasFilePath ? SaveLibrary() : SaveLibraryAs();
}

void MainWindow::SetLibraryPath(const std::string& path) { document_.SetFilePath(path); }

QString MainWindow::LastFolder() { return QSettings().value(QStringLiteral("files/lastFolder")).toString(); }

void MainWindow::RememberFolder(const QString& path) {
  QSettings().setValue(QStringLiteral("files/lastFolder"), QFileInfo(path).absolutePath());
}

void MainWindow::UpdateRecentMenu() {
  // Later, not now: the action being triggered may be one of them.
  for (QAction* old : recentActions_) {
    fileMenu_->removeAction(old);
    old->setObjectName(QString());
    old->deleteLater();
  }
  recentActions_.clear();
  const QStringList paths = RecentLibraries::Load();
  if (paths.isEmpty()) return;
  QAction* exit = action(kAppExit);
  // Two libraries of one name are told apart by their folders.
  QHash<QString, int> sameName;
  for (const QString& path : paths) ++sameName[QFileInfo(path).fileName()];
  for (int i = 0; i < paths.size(); ++i) {
    const QFileInfo file(paths[i]);
    QString text = file.fileName();
    if (sameName.value(text) > 1) text += QStringLiteral("  (%1)").arg(QDir::toNativeSeparators(file.path()));
    auto* recent = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(text), fileMenu_);
    recent->setObjectName(QStringLiteral("recent%1").arg(i + 1));
    recent->setToolTip(paths[i]);
    recent->setStatusTip(paths[i]);
    const QString path = paths[i];
    connect(recent, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    fileMenu_->insertAction(exit, recent);
    recentActions_.push_back(recent);
  }
  recentActions_.push_back(fileMenu_->insertSeparator(exit));
}

void MainWindow::OpenRecent(const QString& path) {
  if (!SaveModified()) return;
  // One that is gone leaves the list, after the read failure says why.
  if (!OpenLibraryFile(ToPath(path)) && !QFileInfo::exists(path)) {
    RecentLibraries::Remove(path);
    UpdateRecentMenu();
  }
}

void MainWindow::NewLibrary() {
  if (!SaveModified()) return;
  // The steps of the old library go with it.
  undoStack_->clear();
  undoStack_->setClean();
  document_.ReplaceLibrary(std::make_unique<Library>());
  partList_->setFocus();
  UpdateCommandStates();
}

bool MainWindow::OpenLibrary() {
  LibraryFileDialog dialog(this, QFileDialog::AcceptOpen);
  dialog.SelectType(LibraryFileDialog::kBinaryType);
  dialog.setDefaultSuffix(QStringLiteral("LIB"));
  if (!LastFolder().isEmpty()) dialog.setDirectory(LastFolder());
  dialog.selectFile(QStringLiteral("*.LIB"));
  if (RunModal(dialog) != QDialog::Accepted) return false;
  const std::string path = ToPath(dialog.ChosenPath());
  if (path.empty()) return false;
  return OpenLibraryFile(path);
}

bool MainWindow::OpenLibraryFile(const std::string& path) {
  ReadResult read;
  {
    const BusyCursor busy;
    read = LibraryFile::Read(path);
  }
  if (!read.Ok()) {
    ShowMessageBox(this, QMessageBox::Warning,
                   QString::fromStdString(LibraryFileMessages::ReadFailure(read, ShownPath(path))));
    return false;
  }
  undoStack_->clear();
  undoStack_->setClean();
  document_.ReplaceLibrary(std::move(read.library));
  SetLibraryPath(path);
  RememberFolder(FromPath(path));
  RecentLibraries::Add(QFileInfo(FromPath(path)).absoluteFilePath());
  UpdateRecentMenu();
  UpdateTitle();
  partList_->setFocus();
  // Read, but a text that lost its end may have lost parts with it.
  if (read.missingTrailer)
    ShowMessageBox(this, QMessageBox::Warning, QString::fromStdString(LibraryFileMessages::MissingTrailer()));
  return true;
}

bool MainWindow::SaveLibrary() {
  const std::string path = library().filePath;
  return WriteLibrary(path) == WriteOutcome::Written;
}

MainWindow::WriteOutcome MainWindow::WriteLibrary(const std::string& path) {
  const Library& library = document_.library();
  const LibraryFormat format = LibraryFile::FormatOf(path);
  // Held while the user is asked: the report keeps the library read back,
  // and without a commit the previous file stays and the new one goes.
  std::optional<CheckedSave> save;
  {
    const BusyCursor busy;
    save.emplace(path, library, format);
  }
  WriteResult written = save->Written();
  bool changes = false;
  if (written.Ok()) {
    if (!ConfirmSaveLosses(save->Losses(), changes)) return WriteOutcome::Declined;
    const BusyCursor busy;
    written = save->Commit();
  }
  save.reset();
  if (!written.Ok()) {
    ShowMessageBox(
        this, QMessageBox::Warning,
        QString::fromStdString(LibraryFileMessages::WriteFailure(written, ShownPath(path), DecodeName)));
    return WriteOutcome::Failed;
  }
  if (!library.hasFilePath || library.filePath != path) {
    SetLibraryPath(path);
    UpdateTitle();
  }
  // The user accepted that the file holds less: the window shows what it
  // holds, as a step before the saved state, which undo takes back.
  if (changes) {
    ReadResult back;
    {
      const BusyCursor busy;
      back = LibraryFile::Read(path);
    }
    if (back.Ok())
      CommitStep(document_.AdoptSavedLibrary(std::move(back.library), partList_->GetCurSel()), true);
  }
  undoStack_->setClean();
  RecentLibraries::Add(QFileInfo(FromPath(path)).absoluteFilePath());
  UpdateRecentMenu();
  return WriteOutcome::Written;
}

bool MainWindow::ConfirmSaveLosses(const CheckReport& losses, bool& changes) {
  // Not knowing what a save would change is no reason to refuse it: the
  // user decides, and No is the default.
  if (losses.Has(CheckKind::SaveNotChecked)) {
    changes = ShowMessageBox(this, QMessageBox::Warning, QString::fromUtf8(texts::check::kSaveUnchecked),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                             QMessageBox::No) == QMessageBox::Yes;
    return changes;
  }
  // A save that would change the library asks first. One the writer refused
  // never gets here; one the reader would refuse asks nothing, as the
  // writer's own checks decide.
  if (losses.HasSaveRefusal() || losses.Empty()) return true;
  SaveLossDialog dialog(this, losses);
  changes = RunModal(dialog) == QDialog::Accepted;
  return changes;
}

bool MainWindow::SaveLibraryAs() {
  LibraryFileDialog dialog(this, QFileDialog::AcceptSave);
  dialog.SelectType(LibraryFile::FormatOf(library().filePath) == LibraryFormat::Text
                        ? LibraryFileDialog::kTextType
                        : LibraryFileDialog::kBinaryType);
  // An untitled library starts in the folder last used.
  if (!library().hasFilePath && !LastFolder().isEmpty()) dialog.setDirectory(LastFolder());
  dialog.selectFile(FromPath(library().filePath));
  if (RunModal(dialog) != QDialog::Accepted) return false;
  const std::string path = ToPath(dialog.ChosenPath());
  if (path.empty()) return false;
  RememberFolder(FromPath(path));
  const bool samePath = library().hasFilePath && library().filePath == path;
  switch (WriteLibrary(path)) {
    case WriteOutcome::Written:
      return true;
    case WriteOutcome::Declined:  // nothing changes, the name included
      return false;
    case WriteOutcome::Failed:
      // The window takes the chosen name, so that Save tries it again; but
      // no file there holds the library, so it has unsaved changes.
      SetLibraryPath(path);
      if (!samePath) undoStack_->resetClean();
      UpdateTitle();
      return false;
  }
  return false;
}

}  // namespace zanli
