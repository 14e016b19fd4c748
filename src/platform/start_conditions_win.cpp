// Windows always has a display for a desktop program, and no per-process address-space limit that
// a user sets before starting one.
#include "platform/start_conditions.h"

namespace platform {

std::string MissingDisplay() { return ""; }

bool RoomToStart(std::size_t) { return true; }

}  // namespace platform
