#pragma once

#include <QApplication>

namespace zanli {

// The process: names the application, prepares what the window needs, runs
// the one main window until it is closed.
class Application : public QApplication {
  Q_OBJECT

 public:
  Application(int& argc, char** argv);
  // Runs the main window to its end, first opening `path` when it is not
  // empty; the process exit code.
  int Run(const QString& path = QString());
  // Installs Qt's own Japanese texts (message-box buttons, file dialogs) into
  // the running application whatever the user's locale, so they read as the
  // rest of the editor. False when they are not installed: Qt's English stays.
  static bool InstallQtTranslations();
};

}  // namespace zanli
