#include "platform/handle_win.h"

#include <windows.h>

#include <algorithm>

namespace platform {

Handle::~Handle() {
  if (ok()) CloseHandle(handle_);
}

std::optional<std::string> ReadUpTo(void* file, std::size_t cap, unsigned long& error) {
  std::string bytes;
  char chunk[65536];
  while (bytes.size() < cap) {
    DWORD got = 0;
    if (!ReadFile(file, chunk, static_cast<DWORD>(std::min(sizeof chunk, cap - bytes.size())), &got, nullptr)) {
      error = GetLastError();
      return std::nullopt;
    }
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  return bytes;
}

}  // namespace platform
