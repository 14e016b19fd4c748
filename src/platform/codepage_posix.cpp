// POSIX systems have no ANSI code page: file names are bytes, so the caller's code page decides.
#include "platform/codepage.h"

namespace platform {

std::optional<QString> DecodeSystemAnsi(std::string_view) { return std::nullopt; }

}  // namespace platform
