#include "app/application.h"

#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/main_window.h"
#include "render/symbol_text_renderer.h"
#include "zanli_version.h"

namespace zanli {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // The settings (the window's place, the recent libraries, the folder of the
  // file dialogs, the part view's zoom) are kept under these names.
  setApplicationName(QStringLiteral("Zanli"));
  setOrganizationName(QStringLiteral("Tolvenko"));
  setApplicationVersion(QLatin1String(kVersion));
  InstallQtTranslations();
  // The pin text font is built once, before the first part is drawn.
  SymbolTextRenderer::Instance();
}

bool Application::InstallQtTranslations() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}

int Application::Run(const QString& path) {
  MainWindow window;
  if (!path.isEmpty()) {
    // After the window is up, so a read failure's message has its parent.
    QMetaObject::invokeMethod(
        &window, [&window, path] { window.OpenLibraryFile(QFile::encodeName(path).toStdString()); },
        Qt::QueuedConnection);
  }
  window.exec();
  return 0;
}

}  // namespace zanli
