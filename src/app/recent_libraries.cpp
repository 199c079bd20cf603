#include "app/recent_libraries.h"

#include <QSettings>

namespace zanli {

namespace {

const QString kKey = QStringLiteral("files/recent");

}  // namespace

QStringList RecentLibraries::Load() {
  QStringList paths = QSettings().value(kKey).toStringList();
  paths.removeAll(QString());
  paths.removeDuplicates();
  while (paths.size() > kMaxCount) paths.removeLast();
  return paths;
}

QStringList RecentLibraries::Add(const QString& path) {
  QStringList paths = Load();
  paths.removeAll(path);
  paths.prepend(path);
  while (paths.size() > kMaxCount) paths.removeLast();
  Store(paths);
  return paths;
}

QStringList RecentLibraries::Remove(const QString& path) {
  QStringList paths = Load();
  paths.removeAll(path);
  Store(paths);
  return paths;
}

void RecentLibraries::Store(const QStringList& paths) { QSettings().setValue(kKey, paths); }

}  // namespace zanli
