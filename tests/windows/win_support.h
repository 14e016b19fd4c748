#pragma once
// Helpers for the Windows backends' tests: paths with the system's separator and file attributes.
#include <windows.h>

#include <string>

#include "support/temp_dir.h"

namespace wintest {

// The temporary directory with backslashes and a trailing one, as the launcher's own paths are.
inline std::string Native(const testsupport::TempDir& dir) {
  std::string path = dir.path();
  for (char& c : path)
    if (c == '/') c = '\\';
  return path + "\\";
}

// Wine reports some things Windows does not; the tests that meet them say so instead of failing.
inline bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

inline DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

}  // namespace wintest
