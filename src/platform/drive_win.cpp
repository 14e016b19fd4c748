#include "platform/drive_win.h"

#include <windows.h>

#include <string>

#include "platform/text.h"

namespace platform {

CriticalErrorsOff::CriticalErrorsOff() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
// SetErrorMode replaces the whole mode, so the flags that were set before come back with it.
CriticalErrorsOff::~CriticalErrorsOff() { SetErrorMode(previous_); }

bool DriveCodeSaysReady(std::int32_t code) {
  // STG_E_DISKISWRITEPROTECTED is an HRESULT; as a signed 32-bit code it is negative.
  constexpr std::int32_t kWriteProtected = static_cast<std::int32_t>(0x80030013u);
  switch (code) {
    case ERROR_NOT_READY:
    case ERROR_NOT_DOS_DISK:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
    case ERROR_DISK_CORRUPT:
    case ERROR_UNRECOGNIZED_MEDIA:
    case kWriteProtected:
      return false;
    default:
      return true;
  }
}

bool IsDriveReady(char letter) {
  const char drive = AsciiUpperChar(letter);
  if (drive < 'A' || drive > 'Z') return false;
  std::int32_t code = 0;
  {
    const CriticalErrorsOff quiet;
    WIN32_FIND_DATAA found{};
    const std::string pattern = std::string(1, drive) + ":\\*.*";
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
      code = static_cast<std::int32_t>(GetLastError());
    else
      FindClose(search);
  }
  return DriveCodeSaysReady(code);
}

}  // namespace platform
