// Windows always has a display for a desktop program, and no per-process address-space limit that
// a user sets before starting one; the toolkit's start needs nothing changed.
#include "platform/start_conditions.h"

namespace platform {

void OpenStandardDescriptors() {}

Result<void> CheckWindowSystem() { return {}; }

bool RoomToStart(std::size_t) { return true; }

EnvironmentChanges ToolkitStartEnvironment() { return {}; }

}  // namespace platform
