#pragma once

namespace platform {

// The screen the window starts on, and its work area: the desktop without task bars, right and
// bottom one past it, left and top its first pixel.
struct ScreenSize {
  int width = 0;
  int height = 0;
};
struct WorkArea {
  int right = 0;
  int bottom = 0;
  int left = 0;
  int top = 0;
};

// Layout is in pixels at 96 dots per inch whatever the screen's resolution, so font sizes given in
// points become fixed pixel heights (8 pt: 11 px, 14 pt: 19 px).
constexpr int PointsToPixels(int points) { return (points * 96 + 36) / 72; }

}  // namespace platform
