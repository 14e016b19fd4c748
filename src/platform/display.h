#pragma once
// The screen and its work area, the window system's side of the launcher's own title strip, and
// the layout's pixel rule.
#include <cstdint>

namespace platform {

// A top-level window as the window system knows it (the toolkit's winId); 0 for none.
using NativeWindow = std::uintptr_t;

// A point in native pixels of the whole desktop.
struct NativePoint {
  int x = 0;
  int y = 0;
};

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

enum class SystemMove {
  Started,      // the window manager moves the window until the button is released
  ButtonUp,     // the button is no longer held: a move started now would follow a free pointer
  Unsupported,  // the window manager offers no such move; the program moves the window itself
  ToolkitMove,  // this system's move is the toolkit's own, which starts at the pointer as it is now
};

// Hands the top-level window `window` to the window manager's interactive move, as from a press
// of the primary button at `press`, so that the
// point pressed stays under the pointer however far the pointer has gone since. Asks first
// whether the button is held at this moment rather than trusting the events, which may be queued
// behind its release.
SystemMove StartSystemMove(NativeWindow window, NativePoint press);

// Ends a move that StartSystemMove started, for a release that came between the question and the
// window manager taking the pointer. Nothing when none runs.
void CancelSystemMove(NativeWindow window);

}  // namespace platform
