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
};

}  // namespace zanli
