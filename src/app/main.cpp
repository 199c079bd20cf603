// zanli [FILE]: the editor, opening FILE at start when one is given (what a
// file manager does with the desktop entry). --version prints the version.
#include <cstdio>
#include <cstring>

#include "app/application.h"
#include "zanli_version.h"

int main(int argc, char** argv) {
  // Before any window system is asked for: this works without a display.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("zanli %s\n", zanli::kVersion);
      return 0;
    }
  }
  zanli::Application app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  return app.Run(args.size() > 1 ? args.at(1) : QString());
}
