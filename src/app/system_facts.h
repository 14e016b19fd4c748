#pragma once
// What the start-up asks of the system it runs on, besides the disc: read by the program entry
// (ReadSystemFacts), given by the inspector's options, set by a test.
#include <functional>
#include <string>

#include "platform/display.h"
#include "platform/online.h"

namespace app {

struct SystemFacts {
  // The launcher's own directory with a trailing separator, "" when it cannot be known; read while
  // the current directory is still the one the launcher was started in.
  std::string launcherDirectory;
  platform::ScreenSize screen;
  platform::WorkArea work;
  // Asked only when the start-up reaches its Internet check, which may wait for the system.
  std::function<bool()> isOnline = platform::IsInternetConnected;
};

}  // namespace app
