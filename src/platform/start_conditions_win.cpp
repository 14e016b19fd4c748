// Windows always has a display for a desktop program, and no per-process address-space limit that
// a user sets before starting one; the toolkit's start needs nothing changed.
#include <cstdlib>

#include "platform/start_conditions.h"

namespace platform {

void OpenStandardDescriptors() {}

std::string UnusableDisplay() { return ScaleFactorProblem(std::getenv("QT_SCALE_FACTOR")); }

bool RoomToStart(std::size_t) { return true; }

EnvironmentChanges ToolkitStartEnvironment() { return {}; }

}  // namespace platform
