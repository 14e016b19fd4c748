#include "platform/handle_win.h"

#include <windows.h>

#include <algorithm>

#include "platform/text.h"

namespace platform {

Handle::~Handle() {
  if (ok()) CloseHandle(handle_);
}

std::string SystemMessage(unsigned long code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                          FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length && text ? Trim(std::string_view(text, length)) : "error " + std::to_string(code);
  if (text) LocalFree(text);
  return message;
}

Result<std::string> ReadUpTo(void* file, std::size_t cap) {
  std::string bytes;
  char chunk[65536];
  while (bytes.size() < cap) {
    DWORD got = 0;
    if (!ReadFile(file, chunk, static_cast<DWORD>(std::min(sizeof chunk, cap - bytes.size())), &got, nullptr))
      return Failure{SystemMessage(GetLastError())};
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  return bytes;
}

}  // namespace platform
