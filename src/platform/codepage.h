#pragma once
// Turns 8-bit disc text into display text at the widget edge: valid UTF-8 is shown as UTF-8,
// anything else is decoded with the given single-byte code page.
#include <QString>
#include <optional>
#include <string_view>

namespace platform {

enum class CodePage { Cp437, Cp1252, Cp1254 };

// Length of the UTF-8 sequence that `lead` starts: 1 for ASCII, 2 to 4 for a lead byte, 0 for a
// byte that cannot start one (continuation bytes 80-BF, C0 and C1 which only start overlong
// forms, F5-FF which would lie beyond U+10FFFF).
int Utf8SequenceLength(unsigned char lead);
// Well-formed UTF-8: no overlong form, surrogate or code point past U+10FFFF, nothing cut short.
bool IsValidUtf8(std::string_view bytes);
// On a system with an ANSI code page (Windows: GetACP), text that is not UTF-8 is decoded with it,
// as the system's own "A" functions gave it; `fallback` serves systems without one.
QString DecodeText(std::string_view bytes, CodePage fallback);
// The system's ANSI code page decoding of `bytes`; nullopt where there is none (POSIX). The backend.
std::optional<QString> DecodeSystemAnsi(std::string_view bytes);
// The code page alone, for callers that decided the encoding over a larger text than `bytes`
// (a line of a file that as a whole is not UTF-8 must not switch to UTF-8 on its own).
QString DecodeCodePage(std::string_view bytes, CodePage page);

}  // namespace platform
