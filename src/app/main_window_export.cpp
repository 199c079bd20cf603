// The File menu's exports: the shown part as a picture file, and the whole
// library as a PDF catalogue. Both write through the core's safe
// replacement, so a failed or cancelled export leaves the previous file.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>

#include "app/export_file_dialog.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/part_list_box.h"
#include "app/part_view.h"
#include "catalog/catalog_writer.h"
#include "fileio/library_file.h"
#include "fileio/library_file_messages.h"
#include "qtshared/png_encoder.h"
#include "qtshared/shift_jis_codec.h"
#include "render/part_picture.h"
#include "render/symbol_renderer.h"
#include "resources/window_texts.h"

namespace zanli {

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

std::string DecodeName(std::string_view bytes) {
  return ShiftJisCodec::Decode(std::string(bytes)).toStdString();
}

// Says why `path` was not written.
void ShowWriteFailure(QWidget* parent, const WriteResult& written, const QString& path) {
  ShowMessageBox(
      parent, QMessageBox::Warning,
      QString::fromStdString(LibraryFileMessages::WriteFailure(written, path.toStdString(), DecodeName)));
}

}  // namespace

void MainWindow::ExportPicture() {
  const PartEntry* entry = document_.Entry(partList_->GetCurSel());
  const PartBody* body = partView_->Part();
  if (entry == nullptr || body == nullptr || entry->body != body) return;
  const QString name = ShiftJisCodec::Decode(entry->name);

  enum { kPng, kSvg };
  ExportFileDialog dialog(
      this, Text(texts::kExportPictureCaption),
      {{Text(texts::kPngType), QStringLiteral("png")}, {Text(texts::kSvgType), QStringLiteral("svg")}},
      {Text(texts::kZoomLabel), PartPicture::kMinZoom, PartPicture::kMaxZoom, PartViewZoom()});
  if (!LastFolder().isEmpty()) dialog.setDirectory(LastFolder());
  dialog.selectFile(name);
  if (RunModal(dialog) != QDialog::Accepted) return;
  const QString path = dialog.ChosenPath();
  if (path.isEmpty()) return;
  RememberFolder(path);
  const int32_t zoom = dialog.ChosenNumber();
  const int32_t block = partView_->GetBlock();

  const int64_t width = PartPicture::Width(*body, zoom);
  const int64_t height = PartPicture::Height(*body, zoom);
  if (!SymbolRenderer::DrawingFits(width, height)) {
    ShowMessageBox(this, QMessageBox::Warning,
                   Text(texts::kPictureTooLarge)
                       .arg(name)
                       .arg(width)
                       .arg(height)
                       .arg(SymbolRenderer::kMaxDrawingPixels));
    return;
  }
  QByteArray bytes;
  {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (dialog.ChosenType() == kSvg)
      bytes = QByteArray::fromStdString(PartPicture::Svg(*body, block, zoom, name.toStdString()));
    else
      bytes = PngEncoder::Encode(PartPicture::Raster(*body, block, zoom));
    QApplication::restoreOverrideCursor();
  }
  if (bytes.isEmpty()) {
    ShowMessageBox(this, QMessageBox::Warning, Text(texts::kPngEncodingFailed).arg(path));
    return;
  }
  const WriteResult written =
      LibraryFile::SaveBytes(QFile::encodeName(path).toStdString(),
                             std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  if (!written.Ok()) ShowWriteFailure(this, written, path);
}

void MainWindow::ExportCatalog() {
  ExportFileDialog dialog(this, Text(texts::kExportCatalogCaption),
                          {{Text(texts::kPdfType), QStringLiteral("pdf")}},
                          {Text(texts::kPerPageLabel), CatalogWriter::kMinPerPage, CatalogWriter::kMaxPerPage,
                           CatalogWriter::kDefaultPerPage});
  if (!LastFolder().isEmpty()) dialog.setDirectory(LastFolder());
  dialog.selectFile(
      QFileInfo(QFile::decodeName(QByteArray::fromStdString(library().fileTitle))).completeBaseName());
  if (RunModal(dialog) != QDialog::Accepted) return;
  const QString path = dialog.ChosenPath();
  if (path.isEmpty()) return;
  RememberFolder(path);

  CatalogOptions options;
  options.perPage = dialog.ChosenNumber();
  options.title = library().fileTitle;
  const int parts = static_cast<int>(CatalogWriter::PartCount(library()));
  QProgressDialog progress(Text(texts::kCatalogProgress), Text(texts::kCancel), 0, parts, this);
  progress.setObjectName(QStringLiteral("catalogProgress"));
  progress.setWindowTitle(Text(texts::kExportCatalogCaption));
  progress.setWindowModality(Qt::WindowModal);
  // Shown from the first part on: until it shows, the window is not blocked
  // and the library must not change under the writer.
  progress.setMinimumDuration(0);
  progress.setValue(0);
  // Each part's turn lets the dialog paint and see the Cancel button.
  const CatalogResult result = CatalogWriter::WriteFile(QFile::encodeName(path).toStdString(), library(),
                                                        options, [&progress](size_t done, size_t /*total*/) {
                                                          progress.setValue(static_cast<int>(done));
                                                          return !progress.wasCanceled();
                                                        });
  progress.reset();
  TakeKeyboardOnX(this);
  if (result.status == CatalogStatus::Failed) ShowWriteFailure(this, result.write, path);
}

}  // namespace zanli
