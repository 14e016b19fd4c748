#include "platform/display.h"

#include <QByteArray>
#include <QFont>
#include <QStringList>
#include <QtGlobal>

namespace platform {

void PreferX11UnderWayland() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return;
  const bool wayland = qgetenv("XDG_SESSION_TYPE") == "wayland" ||
                       !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
  if (wayland && !qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "xcb");
}

void SubstituteWindowsFonts() {
  // MS Sans Serif's small bitmap letters are narrower than Arial's; the narrow cut keeps
  // "Select Player" beside its picture on a 97-pixel button.
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             QStringList{QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Liberation Sans"),
                                         QStringLiteral("DejaVu Sans")});
  QFont::insertSubstitutions(QStringLiteral("Arial"),
                             QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                             QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}

}  // namespace platform
