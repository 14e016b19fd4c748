#pragma once
// Small helpers shared by the window's source files.
#include <QFont>
#include <QWidget>

#include "platform/display.h"

namespace app {

inline QFont PixelFont(const char* family, int points, bool bold = false) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(platform::PointsToPixels(points));
  font.setBold(bold);
  return font;
}

// Whether the window shows the control once it is shown itself.
inline bool Shown(const QWidget* widget) { return !widget->isHidden(); }

}  // namespace app
