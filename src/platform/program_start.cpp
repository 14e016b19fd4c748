#include "platform/program_start.h"

namespace platform {

bool FitsShellBuffer(std::string_view text) {
  return text.size() <= kShellTextMax && text.find('\0') == std::string_view::npos;
}

}  // namespace platform
