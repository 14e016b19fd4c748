// Text that is not UTF-8 is in the system's ANSI code page on Windows: the "A" functions give every
// file name in it, and the discs' INI files were written in it. A Turkish system (1254) thus shows
// its titles natively, a Western one (1252) its own.
#include <windows.h>

#include "platform/codepage.h"

namespace platform {

std::optional<QString> DecodeSystemAnsi(std::string_view bytes) {
  if (bytes.empty()) return QString();
  if (bytes.size() > 0x7FFFFFFF) return std::nullopt;
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length) != length) return std::nullopt;
  return QString::fromWCharArray(wide.data(), length);
}

}  // namespace platform
