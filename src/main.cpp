// Program entry: the application titled "Zorvalin", its one window, the message loop.
#include <QApplication>
#include <QIcon>

#include "app/main_window.h"
#include "platform/display.h"
#include "platform/services.h"
#include "platform/toolkit.h"

int main(int argc, char** argv) {
  platform::PreferX11UnderWayland();
  platform::LookForPluginsBesideToolkit();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(app::kApplicationTitle));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icon.png")));

  const std::unique_ptr<platform::Services> services = platform::MakeSystemServices();
  app::TMainWin MainWin(*services);
  MainWin.FormCreate();
  if (!MainWin.ShowAfterStartUp()) return 0;
  return QApplication::exec();
}
