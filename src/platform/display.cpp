#include "platform/display.h"

#include <QByteArray>
#include <QtGlobal>

namespace platform {

void PreferX11UnderWayland() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return;
  const bool wayland = qgetenv("XDG_SESSION_TYPE") == "wayland" ||
                       !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
  if (wayland && !qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "xcb");
}

}  // namespace platform
