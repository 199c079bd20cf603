// Tests that need a real X server: a private Xvfb is started for them, with
// no window manager, and the editor runs on Qt's X platform.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <utility>

#include "app/application.h"
#include "support/required_tool.h"

// Qt's X platform plugin loads the system D-Bus library, which keeps an
// allocation until exit; the leak checker of sanitizer builds must not count it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

int main(int argc, char** argv) {
  // Without one of its programs every test here would fail its own way.
  const std::pair<const char*, const char*> tools[] = {
      {"Xvfb", "xvfb"}, {"xdotool", "xdotool"}, {"xclip", "xclip"}};
  bool missing = false;
  for (const auto& [program, package] : tools) {
    const ::testing::AssertionResult found = zanli::testing::HasTool(program, package);
    if (!found) std::fprintf(stderr, "%s\n", found.message());
    missing = missing || !found;
  }
  if (missing) return 1;
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return 1;
  const pid_t server = ::fork();
  if (server == 0) {
    // The server closes descriptors it does not know; standard output it keeps.
    ::close(pipeFds[0]);
    ::dup2(pipeFds[1], 1);
    ::close(pipeFds[1]);
    ::execlp("Xvfb", "Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
    std::perror("Xvfb");
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  // Xvfb writes the display number it chose, then a line end, once it accepts
  // clients; it gives up if the pipe closes before the line end is through.
  std::string number;
  char c;
  while (::read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
  ::close(pipeFds[0]);
  if (server < 0 || number.empty()) {
    std::fprintf(stderr, "could not start Xvfb\n");
    return 1;
  }
  const std::string display = ":" + number;
  qputenv("DISPLAY", QByteArray::fromStdString(display));
  qputenv("QT_QPA_PLATFORM", "xcb");
  int result;
  {
    // The editors these tests start keep their settings in a folder of their own.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication app(argc, argv);
    zanli::Application::InstallQtTranslations();
    ::testing::InitGoogleTest(&argc, argv);
    result = RUN_ALL_TESTS();
  }
  ::kill(server, SIGTERM);
  ::waitpid(server, nullptr, 0);
  return result;
}
