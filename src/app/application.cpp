#include "app/application.h"

#include "app/main_window.h"
#include "render/symbol_text_renderer.h"
#include "zanli_version.h"

namespace zanli {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // Nothing is stored under these names; they only identify the program.
  setApplicationName(QStringLiteral("Zanli"));
  setOrganizationName(QStringLiteral("Tolvenko"));
  setApplicationVersion(QLatin1String(kVersion));
  // The pin text font is built once, before the first part is drawn.
  SymbolTextRenderer::Instance();
}

int Application::Run() {
  MainWindow window;
  window.exec();
  return 0;
}

}  // namespace zanli
