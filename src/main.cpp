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

}  // namespace

int main(int argc, char** argv) {
  platform::OpenStandardDescriptors();
  if (const std::string unusable = platform::UnusableDisplay(); !unusable.empty()) {
    std::fprintf(stderr, "Autorun: %s\n", unusable.c_str());
    return 1;
  }
  if (!platform::RoomToStart(kStartUpRoom)) {
    std::fputs("Autorun: not enough memory to start\n", stderr);
    return 1;
  }
  platform::LookForPluginsBesideToolkit();
  platform::ToolkitStart toolkitStart("Autorun");
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
