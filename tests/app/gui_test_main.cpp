// The GUI tests share one QApplication on the offscreen platform, with Qt's
// own texts in Japanese as the editor loads them, and settings kept in a
// folder of their own instead of the user's.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "app/application.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Tolvenko"));
  QCoreApplication::setApplicationName(QStringLiteral("Zanli"));
  zanli::Application::InstallQtTranslations();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
