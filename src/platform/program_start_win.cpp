#include "platform/program_start_win.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/program_start.h"

namespace platform {

// ShellExecuteA returns a value above 32 on success, an error code of 32 or less otherwise.
bool ShellOpen(void* owner, const std::string& file, const std::string& parameters, int show) {
  if (file.empty() || !FitsShellBuffer(file) || !FitsShellBuffer(parameters)) return false;
  const HINSTANCE result = ShellExecuteA(static_cast<HWND>(owner), "open", file.c_str(),
                                         parameters.empty() ? nullptr : parameters.c_str(), nullptr, show);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

// Every player runs here, so the movie is not needed.
bool StartProgram(const ProgramStart& start, OwnerWindow owner) {
  return ShellOpen(reinterpret_cast<void*>(owner), start.program, start.parameters, SW_SHOWNORMAL);
}

bool OpenUrl(const std::string& url) { return ShellOpen(nullptr, url, std::string(), SW_SHOW); }

}  // namespace platform
