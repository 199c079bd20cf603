// The editor takes no arguments; files are opened from its menu only.
#include "app/application.h"

int main(int argc, char** argv) {
  zanli::Application app(argc, argv);
  return app.Run();
}
