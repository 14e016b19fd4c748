#include "platform/program_start_win.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/handle_win.h"
#include "platform/program_start.h"

namespace platform {

namespace {

// ShellExecuteA's own codes above the system's error codes, which the system words itself.
std::string ShellErrorText(INT_PTR code) {
  switch (code) {
    case 0: return "the system is out of memory or resources";
    case SE_ERR_SHARE: return "a sharing violation occurred";
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC: return "no program is associated with it";
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY: return "the program did not answer the shell";
    case SE_ERR_DLLNOTFOUND: return "a library it needs was not found";
    default: break;
  }
  return SystemMessage(static_cast<unsigned long>(code));
}

}  // namespace

// ShellExecuteA returns a value above 32 on success, an error code of 32 or less otherwise.
Result<void> ShellOpen(void* owner, const std::string& file, const std::string& parameters, int show) {
  if (file.empty()) return Failure{kNoSuchFile};
  if (!FitsShellBuffer(file) || !FitsShellBuffer(parameters))
    return Failure{"longer than the " + std::to_string(kShellTextMax) + " characters the shell takes"};
  const HINSTANCE result = ShellExecuteA(static_cast<HWND>(owner), "open", file.c_str(),
                                         parameters.empty() ? nullptr : parameters.c_str(), nullptr, show);
  const INT_PTR code = reinterpret_cast<INT_PTR>(result);
  if (code > 32) return {};
  return Failure{ShellErrorText(code)};
}

// Every player runs here, so the movie is not needed.
Result<void> SystemStartProgram(const ProgramStart& start, NativeWindow owner) {
  return ShellOpen(reinterpret_cast<void*>(owner), start.program, start.parameters, SW_SHOWNORMAL);
}

Result<void> SystemOpenUrl(const std::string& url) { return ShellOpen(nullptr, url, std::string(), SW_SHOW); }

}  // namespace platform
