#pragma once

#include <QFileDialog>
#include <QString>

#include "app/test_access.h"

namespace zanli {

// The open and save dialogs of the file commands: the two library types, and
// in the save dialog a file name whose extension follows the chosen type.
class LibraryFileDialog : public QFileDialog {
  Q_OBJECT

 public:
  enum Type { kBinaryType = 1, kTextType = 2 };

  LibraryFileDialog(QWidget* parent, AcceptMode mode);

  void SelectType(Type type);
  // The chosen path; in the save dialog with the type's extension added when
  // the name has none.
  QString ChosenPath() const;

 private:
  friend struct TestAccess<LibraryFileDialog>;

  Type SelectedType() const;
  // The extension of the last path component, dot included ("" when none).
  static QString Extension(const QString& path);
  // ".LB3" for the text type, ".LIB" for the binary type.
  static QString TypeExtension(Type type);
  // The file-name field after switching to `type`: a different extension is
  // replaced, a missing one added.
  static QString AdjustName(const QString& name, Type type);
  // The type a name filter of these dialogs stands for.
  static Type TypeOfFilter(const QString& filter);
  void OnFilterSelected(const QString& filter);

  Type shownType_ = kBinaryType;  // the first filter
};

}  // namespace zanli
