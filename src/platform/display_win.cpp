// Windows: the toolkit's move is the system's own move loop, which ends by itself on release.
#include <windows.h>

#include "platform/display.h"

namespace platform {

SystemMove StartSystemMove(NativeWindow, NativePoint) {
  // The physical button that acts as the primary one.
  const int primary = ::GetSystemMetrics(SM_SWAPBUTTON) != 0 ? VK_RBUTTON : VK_LBUTTON;
  return (::GetAsyncKeyState(primary) & 0x8000) != 0 ? SystemMove::ToolkitMove : SystemMove::ButtonUp;
}

void CancelSystemMove(NativeWindow) {}

}  // namespace platform
