// KiCad symbol libraries: the chosen symbols of a file into the open library
// as one step, and the library or the selected part out to one file.
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <unordered_map>
#include <unordered_set>

#include "app/busy_cursor.h"
#include "app/kicad_import_dialog.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/part_list_box.h"
#include "app/plain_file_icon_provider.h"
#include "fileio/library_file.h"
#include "fileio/library_file_messages.h"
#include "kicad/kicad_exporter.h"
#include "kicad/kicad_importer.h"
#include "kicad/kicad_messages.h"
#include "kicad/kicad_symbol_writer.h"
#include "qtshared/shift_jis_codec.h"
#include "resources/kicad_texts.h"

namespace zanli {

namespace {

namespace kt = texts::kicad;

// Notes beyond this many are counted, not listed: the box must fit a screen.
constexpr int kMaxShownNotes = 20;

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }
std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string DecodeName(std::string_view bytes) {
  return ShiftJisCodec::Decode(std::string(bytes)).toStdString();
}

void SetUpFileDialog(QFileDialog& dialog, const QString& folder) {
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setIconProvider(PlainFileIconProvider::Instance());
  dialog.setNameFilters({Text(kt::kFileType), QStringLiteral("* (*)")});
  if (!folder.isEmpty()) dialog.setDirectory(folder);
}

// The chosen symbols' parts as the document takes them: each body once, with
// every chosen name it carries in the import's order (so a derived symbol's
// alias comes with its part, and one chosen without its base becomes the
// part), and each pattern new with the first body that uses it. Copies, so
// the import stays whole whatever the document does with them.
std::vector<InsertedPart> PartsToInsert(const KicadImport& import, const std::vector<size_t>& chosen) {
  std::unordered_set<const PartEntry*> wanted;
  for (size_t symbol : chosen)
    wanted.insert(import.symbols[symbol].entries.begin(), import.symbols[symbol].entries.end());
  std::vector<InsertedPart> parts;
  std::unordered_map<const PartBody*, size_t> partOf;
  std::unordered_map<const Pattern*, Pattern*> copies;
  for (const auto& entry : import.library->entries) {
    if (wanted.count(entry.get()) == 0) continue;
    const auto [found, isNew] = partOf.emplace(entry->body, parts.size());
    if (!isNew) {
      parts[found->second].names.push_back(entry->name);
      continue;
    }
    InsertedPart part;
    part.names.push_back(entry->name);
    part.body = entry->body->Clone();
    if (const Pattern* pattern = entry->body->pattern) {
      const auto copy = copies.find(pattern);
      if (copy != copies.end()) {
        part.existingPattern = copy->second;
      } else {
        part.newPattern = pattern->Clone();
        copies.emplace(pattern, part.newPattern.get());
      }
    }
    parts.push_back(std::move(part));
  }
  return parts;
}

}  // namespace

void MainWindow::ImportKicad() {
  QFileDialog dialog(this, Text(kt::kImportTitle));
  dialog.setObjectName(QStringLiteral("kicadFileDialog"));
  SetUpFileDialog(dialog, LastFolder());
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString chosenPath = dialog.selectedFiles().front();
  const std::string path = ToPath(chosenPath);

  // Names are made clear of the library's, so the parts go in as they are.
  KicadImporter::Options options;
  options.partNames = &document_.EntryNames();
  options.patternNames = &document_.PatternNames();
  KicadSymbolReader::Status status;
  KicadImport import;
  {
    const BusyCursor busy;
    import = KicadImporter::ImportFile(path, options, status);
  }
  if (!status.Ok()) {
    ShowMessageBox(this, QMessageBox::Warning,
                   QString::fromStdString(KicadMessages::ReadFailure(status, chosenPath.toStdString())));
    return;
  }
  RememberFolder(chosenPath);
  KicadImportDialog chooser(this, chosenPath, import);
  if (RunModal(chooser) != QDialog::Accepted) return;
  std::vector<InsertedPart> parts = PartsToInsert(import, chooser.Chosen());
  if (parts.empty()) return;

  const int selected = partList_->GetCurSel();
  document_.BeginGroup(StepKind::ImportKicad);
  std::string refusedName;
  for (InsertedPart& part : parts) {
    std::string name = part.names.front();
    if (document_.InsertPart(document_.EntryCount(), std::move(part), selected).status ==
        EditStatus::Refused) {
      refusedName = std::move(name);
      break;
    }
  }
  EditResult result = document_.CommitGroup();
  if (result.status == EditStatus::Refused) {
    ShowMessageBox(this, QMessageBox::Warning,
                   Text(kt::kImportRefused).arg(ShiftJisCodec::Decode(refusedName)));
    return;
  }
  CommitStep(std::move(result), true);
}

void MainWindow::ExportKicad() {
  if (document_.EntryCount() == 0) return;
  // The selected part goes out with every name of its body.
  std::vector<const PartEntry*> chosen;
  QString suggested = QFileInfo(QFile::decodeName(QByteArray::fromStdString(library().fileTitle))).baseName();
  if (const PartEntry* selected = document_.Entry(partList_->GetCurSel())) {
    const QMessageBox::StandardButton answer = ShowMessageBox(
        this, QMessageBox::Question, Text(kt::kExportWhich).arg(ShiftJisCodec::Decode(selected->name)),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return;
    if (answer == QMessageBox::Yes) {
      for (const auto& entry : library().entries)
        if (entry->body == selected->body) chosen.push_back(entry.get());
      suggested = ShiftJisCodec::Decode(chosen.front()->name);
    }
  }

  QFileDialog dialog(this, Text(kt::kExportTitle));
  dialog.setObjectName(QStringLiteral("kicadFileDialog"));
  SetUpFileDialog(dialog, LastFolder());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("kicad_sym"));
  dialog.selectFile(suggested.isEmpty() ? QString() : suggested + QStringLiteral(".kicad_sym"));
  if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString chosenPath = dialog.selectedFiles().front();
  const std::string path = ToPath(chosenPath);

  KicadExporter::Options options;
  options.decoder = [](std::string_view bytes, std::string& utf8) {
    utf8 = DecodeName(bytes);
    return true;
  };
  KicadExport exported;
  WriteResult written;
  {
    const BusyCursor busy;
    exported = KicadExporter::Export(library(), chosen, options);
    written = LibraryFile::SaveBytes(path, KicadSymbolWriter::Write(exported.library));
  }
  if (!written.Ok()) {
    ShowMessageBox(this, QMessageBox::Warning,
                   QString::fromStdString(
                       LibraryFileMessages::WriteFailure(written, chosenPath.toStdString(), DecodeName)));
    return;
  }
  RememberFolder(chosenPath);
  if (exported.notes.empty()) return;
  QStringList notes;
  for (const KicadExportNote& note : exported.notes) {
    if (notes.size() == kMaxShownNotes) {
      notes << Text(kt::kMoreNotes).arg(exported.notes.size() - kMaxShownNotes);
      break;
    }
    notes << QString::fromStdString(KicadMessages::Describe(note));
  }
  ShowMessageBox(this, QMessageBox::Information, Text(kt::kExportNotes).arg(chosenPath, notes.join('\n')));
}

}  // namespace zanli
