#pragma once

#include <QString>
#include <QStringList>

namespace zanli {

// The libraries last opened or saved, newest first, at most eight, kept in
// the user's settings between runs.
class RecentLibraries {
 public:
  static constexpr int kMaxCount = 8;

  static QStringList Load();
  // Puts `path` first (once), drops what falls off the end, stores the list.
  static QStringList Add(const QString& path);
  static QStringList Remove(const QString& path);

 private:
  static void Store(const QStringList& paths);
};

}  // namespace zanli
