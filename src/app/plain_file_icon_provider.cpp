#include "app/plain_file_icon_provider.h"

#include <QFileInfo>

namespace zanli {

QIcon PlainFileIconProvider::icon(const QFileInfo& info) const {
  if (info.isRoot()) return icon(Drive);
  return icon(info.isDir() ? Folder : File);
}

QString PlainFileIconProvider::type(const QFileInfo& info) const {
  if (info.isRoot()) return QStringLiteral("Drive");
  if (info.isDir()) return QStringLiteral("Folder");
  const QString suffix = info.suffix();
  return suffix.isEmpty() ? QStringLiteral("File") : suffix + QStringLiteral(" File");
}

PlainFileIconProvider* PlainFileIconProvider::Instance() {
  static auto* const provider = new PlainFileIconProvider;
  return provider;
}

}  // namespace zanli
