#pragma once
// The fonts the window is designed with, where this system lacks them.

namespace app {

// Maps the Windows font families the window is designed with onto metric-compatible families of
// this system, so captions keep their designed widths. Safe to call more than once.
void SubstituteWindowsFonts();

}  // namespace app
