#pragma once
// Small helpers shared by the window's source files.
#include <QFont>
#include <QImage>
#include <QWidget>

#include "platform/display.h"

namespace app {

inline QFont PixelFont(const char* family, int points, bool bold = false) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(platform::PointsToPixels(points));
  font.setBold(bold);
  return font;
}

inline QImage Asset(const char* name) {
  return QImage(QStringLiteral(":/assets/") + QLatin1String(name));
}

// Whether the window shows the control once it is shown itself.
inline bool Shown(const QWidget* widget) { return !widget->isHidden(); }

}  // namespace app
