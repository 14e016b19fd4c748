#include "platform/program_start.h"

namespace platform {

bool FitsShellBuffer(std::string_view text) {
  return text.size() <= kShellTextMax && text.find('\0') == std::string_view::npos;
}

Result<void> StartProgram(const ProgramStart& start, NativeWindow owner) {
  if (const Result<void> started = SystemStartProgram(start, owner); !started)
    return Failure{"Unable to start " + start.program + ": " + started.error()};
  return {};
}

Result<void> OpenUrl(const std::string& url) {
  if (const Result<void> opened = SystemOpenUrl(url); !opened)
    return Failure{"Unable to open " + url + ": " + opened.error()};
  return {};
}

}  // namespace platform
