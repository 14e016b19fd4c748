#pragma once
// What a program needs from the system before its toolkit starts: standard descriptors, a display
// it can reach and draw on, a usable scale, and room to start at all. Without them the toolkit
// aborts, draws nothing, writes into the wrong stream or waits for ever; the program says instead
// what is wrong and ends. And what the toolkit's start must not leave behind: a session bus
// launched for it, runtime directories in the wrong place.
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/result.h"

namespace platform {

// Opens the standard descriptors (0 to 2) that the starter left closed on the null device, so
// that the display's socket never becomes "standard error" and the toolkit's messages never go
// into it. Call first.
void OpenStandardDescriptors();

// Whether the toolkit can open a window and draw in it: the scale (CheckScaleFactor of
// QT_SCALE_FACTOR), then the window system (CheckWindowSystem). The failure says what is wrong in
// one line. Call before the application object is created.
Result<void> CheckDisplay();

// What the value of QT_SCALE_FACTOR (nullptr: unset) leaves wrong: a number the toolkit would take
// but that leaves no window to see (0, negative, not finite, far too large or small). Text that is
// no number is ignored by the toolkit, and so here.
Result<void> CheckScaleFactor(const char* value);

// The backend: whether the display the toolkit will choose can be reached and drawn on; it may
// connect to it once to find out. Where there is no display to reach, the failure is NoDisplay's.
Result<void> CheckWindowSystem();

// The one line for a display that cannot be reached, and why.
Failure NoDisplay(const std::string& reason);

// Whether the process can still take `bytes` of address space and, with those held, start a
// thread. A program passes what its toolkit and start-up take beyond what it holds when main
// begins, with a margin: under `ulimit -v`, with less they fail in ways that cannot be caught
// (an abort in a library, or a wait for a thread that was never started).
bool RoomToStart(std::size_t bytes);

// The variables that the toolkit's start is given in place of those the process has, each with
// its value (nullopt: unset), decided from the process's environment: a session bus address that
// leads nowhere where none is set (the bus library would otherwise launch a bus that outlives
// the program), no XDG_RUNTIME_DIR that is not an absolute path and no TMPDIR that is not an
// existing directory (the toolkit would make its runtime directory in the current directory or
// at the root), and X11 in a Wayland session that offers it (Wayland does not let a program
// place its own window).
using EnvironmentChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;
EnvironmentChanges ToolkitStartEnvironment();

// Lives around the building of the application object. The toolkit is given, for its start only,
// the ToolkitStartEnvironment; once it has started (`Started`) every variable is as the program
// was given it, so the programs it starts inherit the starter's environment. A toolkit that
// cannot start ends the program with one line saying why, beginning with `program`, and status 1,
// never with an abort.
class ToolkitStart {
 public:
  explicit ToolkitStart(const char* program);
  ~ToolkitStart();
  ToolkitStart(const ToolkitStart&) = delete;
  ToolkitStart& operator=(const ToolkitStart&) = delete;
  // Call once the application object exists.
  void Started();

 private:
  void Set(const char* name, const std::optional<std::string>& value);
  void Restore();

  EnvironmentChanges saved_;
  bool restored_ = false;
};

}  // namespace platform
