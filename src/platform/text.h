#pragma once
// 8-bit text helpers. Text is bytes in the disc's code page; case changes touch ASCII letters only,
// so accented and Turkish letters pass through unchanged.
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

constexpr char AsciiLowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char AsciiUpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
bool AsciiEqualNoCase(std::string_view a, std::string_view b);
// `text` without the bytes for which `trimmed` holds at either end, nothing inside. Each kind of
// text has its own blanks: the disc's names, the desktop's key files, the INI files.
template <typename IsTrimmed>
constexpr std::string_view TrimIf(std::string_view text, IsTrimmed trimmed) {
  while (!text.empty() && trimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && trimmed(text.back())) text.remove_suffix(1);
  return text;
}
// Removes every byte with a code of 32 or less from both ends.
std::string Trim(std::string_view text);
// Removes the blanks and tabs from both ends, as the desktop's key files and lists are trimmed.
std::string_view TrimBlanks(std::string_view text);
// The non-empty pieces of `text` between the separators, as views into it.
std::vector<std::string_view> NonEmptyPieces(std::string_view text, char separator);
// Replaces the first occurrence of `what` (if any) with `with`; true when one was found.
bool ReplaceFirst(std::string& text, std::string_view what, std::string_view with);
void ReplaceAll(std::string& text, std::string_view what, std::string_view with);

// The value of a hexadecimal digit of either case; -1 for any other byte.
int HexDigitValue(char c);
// `byte` as two hexadecimal digits, upper case unless a protocol asks for lower case.
std::string HexByte(unsigned char byte, bool lowerCase = false);

// One line of a text: lines end at CR, LF or CRLF (LF CR is two breaks), as the players' and the
// classic system's readers accept all three.
struct LineSpan {
  std::size_t begin = 0;  // first byte of the line
  std::size_t end = 0;    // one past its last byte, the break excluded
  std::size_t next = 0;   // first byte of the following line (text.size() after the last one)
};
// The line that starts at `from` (< text.size()). Walk a text with
// `for (at = 0; at < text.size(); at = line.next)`; a final break thus adds no empty line.
LineSpan LineAt(std::string_view text, std::size_t from);
// The lines of a text (LineAt), which ends at its first NUL byte, as views into it; at most
// `maxLines` of them, so a reader with a limit never splits more than it keeps.
std::vector<std::string_view> SplitTextLines(std::string_view text,
                                             std::size_t maxLines = std::numeric_limits<std::size_t>::max());

// The UTF-8 byte-order mark, which some editors put at the start of a text file.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// `text` without a byte-order mark at its start (unchanged when it has none).
std::string_view WithoutUtf8Bom(std::string_view text);

}  // namespace platform
