#pragma once
// The fonts the window is designed with: their sizes in the layout's pixels, and substitutes where
// this system lacks them.
#include <QFont>

#include "platform/display.h"

namespace app {

inline QFont PixelFont(const char* family, int points, bool bold = false) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(platform::PointsToPixels(points));
  font.setBold(bold);
  return font;
}

// Maps the Windows font families the window is designed with onto metric-compatible families of
// this system, so captions keep their designed widths. Safe to call more than once.
void SubstituteWindowsFonts();

}  // namespace app
