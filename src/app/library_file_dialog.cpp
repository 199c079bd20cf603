#include "app/library_file_dialog.h"

#include <QAbstractItemView>
#include <QLineEdit>

#include "app/plain_file_icon_provider.h"

namespace zanli {

namespace {

// The descriptions stay as users know them; the patterns list the spellings
// of the extension so a case-sensitive file system shows them all.
const QString kTextDescription = QStringLiteral("Veld library file(*.lb3)");
const QString kBinaryFilter = QStringLiteral("NQ2/Veld library file(*.lib) (*.LIB *.[lL][iI][bB])");
const QString kTextFilter = kTextDescription + QStringLiteral(" (*.LB3 *.[lL][bB]3)");

}  // namespace

LibraryFileDialog::LibraryFileDialog(QWidget* parent, AcceptMode mode) : QFileDialog(parent) {
  setObjectName(QStringLiteral("libraryFileDialog"));
  setOption(QFileDialog::DontUseNativeDialog, true);
  setOption(QFileDialog::HideNameFilterDetails, true);
  setOption(QFileDialog::ReadOnly, false);
  setIconProvider(PlainFileIconProvider::Instance());
  setAcceptMode(mode);
  setNameFilters({kBinaryFilter, kTextFilter});
  if (mode == AcceptSave) {
    setFileMode(QFileDialog::AnyFile);
    connect(this, &QFileDialog::filterSelected, this, &LibraryFileDialog::OnFilterSelected);
  } else {
    setFileMode(QFileDialog::ExistingFile);
  }
}

void LibraryFileDialog::SelectType(Type type) {
  selectNameFilter(type == kTextType ? kTextFilter : kBinaryFilter);
  shownType_ = type;
}

LibraryFileDialog::Type LibraryFileDialog::SelectedType() const { return TypeOfFilter(selectedNameFilter()); }

LibraryFileDialog::Type LibraryFileDialog::TypeOfFilter(const QString& filter) {
  // With the patterns hidden Qt may hand out the description alone.
  return filter.startsWith(kTextDescription) ? kTextType : kBinaryType;
}

QString LibraryFileDialog::Extension(const QString& path) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  return dot > slash ? path.mid(dot) : QString();
}

QString LibraryFileDialog::TypeExtension(Type type) {
  return type == kTextType ? QStringLiteral(".LB3") : QStringLiteral(".LIB");
}

QString LibraryFileDialog::AdjustName(const QString& name, Type type) {
  const QString wanted = TypeExtension(type);
  const QString extension = Extension(name);
  if (extension.compare(wanted, Qt::CaseInsensitive) == 0) return name;
  return name.left(name.size() - extension.size()) + wanted;
}

QString LibraryFileDialog::ChosenPath() const {
  const QStringList files = selectedFiles();
  if (files.isEmpty()) return QString();
  QString path = files.first();
  if (acceptMode() == AcceptSave && Extension(path).isEmpty()) path += TypeExtension(SelectedType());
  return path;
}

void LibraryFileDialog::OnFilterSelected(const QString& filter) {
  // Picking the type already chosen leaves the name as the user typed it.
  const Type type = TypeOfFilter(filter);
  if (type == shownType_) return;
  shownType_ = type;
  auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (field == nullptr) return;
  // A file still selected in the list would win over the adjusted name.
  for (QAbstractItemView* view : findChildren<QAbstractItemView*>()) {
    if (view->objectName() == QLatin1String("listView") || view->objectName() == QLatin1String("treeView"))
      view->clearSelection();
  }
  field->setText(AdjustName(field->text(), type));
}

}  // namespace zanli
