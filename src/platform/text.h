#pragma once
// 8-bit text helpers. Text is bytes in the disc's code page; case changes touch ASCII letters only,
// so accented and Turkish letters pass through unchanged.
#include <string>
#include <string_view>

namespace platform {

std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
bool AsciiEqualNoCase(std::string_view a, std::string_view b);
// Removes every byte with a code of 32 or less from both ends, nothing inside.
std::string Trim(std::string_view text);
// `text` without its last `n` bytes ("" when shorter).
std::string DropLast(std::string_view text, std::size_t n);
// Replaces the first occurrence of `what` (if any) with `with`; true when one was found.
bool ReplaceFirst(std::string& text, std::string_view what, std::string_view with);
void ReplaceAll(std::string& text, std::string_view what, std::string_view with);

}  // namespace platform
