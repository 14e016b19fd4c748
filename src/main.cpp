// Program entry: the application titled "Zorvalin", its one window, the message loop.
#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "app/main_window.h"
#include "app/system_services.h"
#include "platform/start_conditions.h"
#include "platform/toolkit.h"

namespace {

// Measured on the demo disc: the window shows once about 25 MiB of address space are free beyond
// what the program holds at this point and one thread's stack (the display connection and its
// threads, the fonts, the pictures); the rest is for a large poster's decoding.
constexpr std::size_t kStartUpRoom = std::size_t{40} << 20;

// What the program calls itself in the lines it ends with.
constexpr const char* kProgramName = "Autorun";

}  // namespace

int main(int argc, char** argv) {
  platform::OpenStandardDescriptors();
  if (const platform::Result<void> display = platform::CheckDisplay(); !display) {
    std::fprintf(stderr, "%s: %s\n", kProgramName, display.error().c_str());
    return 1;
  }
  if (!platform::RoomToStart(kStartUpRoom)) {
    std::fprintf(stderr, "%s: not enough memory to start\n", kProgramName);
    return 1;
  }
  platform::LookForPluginsBesideToolkit();
  platform::ToolkitStart toolkitStart(kProgramName);
  QApplication application(argc, argv);
  toolkitStart.Started();
  QApplication::setApplicationName(QString::fromLatin1(app::kApplicationTitle));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icon.png")));

  app::SystemServices services;
  app::SystemDialogs dialogs;
  app::TMainWin MainWin(services, dialogs, app::ReadSystemFacts());
  MainWin.FormCreate();
  if (!MainWin.ShowAfterStartUp()) return 0;
  return QApplication::exec();
}
