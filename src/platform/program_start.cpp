#include "platform/program_start.h"

namespace platform {

bool FitsShellBuffer(std::string_view text) {
  return text.size() <= kShellTextMax && text.find('\0') == std::string_view::npos;
}

Failure UnableToStart(const std::string& program, const std::string& reason) {
  return {"Unable to start " + program + ": " + reason};
}

Failure UnableToOpen(const std::string& url, const std::string& reason) {
  return {"Unable to open " + url + ": " + reason};
}

}  // namespace platform
