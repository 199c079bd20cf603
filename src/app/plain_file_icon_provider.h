#pragma once

#include <QFileIconProvider>

namespace zanli {

// Icons and type names for the file dialogs from the file's kind and name
// alone. Qt's own provider reads a file's first bytes to guess its type, and
// a read from some special files (under /proc, or a pipe) never returns: the
// dialog, and the unsaved library with it, would freeze.
class PlainFileIconProvider : public QFileIconProvider {
 public:
  using QFileIconProvider::icon;
  QIcon icon(const QFileInfo& info) const override;
  QString type(const QFileInfo& info) const override;

  // The one instance the dialogs share; it lives as long as the process,
  // since a dialog's file model may still ask it while being torn down.
  static PlainFileIconProvider* Instance();
};

}  // namespace zanli
