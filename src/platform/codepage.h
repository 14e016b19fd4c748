#pragma once
// Turns 8-bit disc text into display text at the widget edge: valid UTF-8 is shown as UTF-8,
// anything else is decoded with the given single-byte code page.
#include <QString>
#include <string_view>

namespace platform {

enum class CodePage { Cp437, Cp1252, Cp1254 };

bool IsValidUtf8(std::string_view bytes);
QString DecodeText(std::string_view bytes, CodePage fallback);
// The code page alone, for callers that decided the encoding over a larger text than `bytes`
// (a line of a file that as a whole is not UTF-8 must not switch to UTF-8 on its own).
QString DecodeCodePage(std::string_view bytes, CodePage page);

}  // namespace platform
