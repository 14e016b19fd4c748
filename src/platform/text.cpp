#include "platform/text.h"

namespace platform {

namespace {
bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }
}  // namespace

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string HexByte(unsigned char byte, bool lowerCase) {
  const char* digits = lowerCase ? "0123456789abcdef" : "0123456789ABCDEF";
  return {digits[byte >> 4], digits[byte & 0x0F]};
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLowerChar(c);
  return out;
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpperChar(c);
  return out;
}

bool AsciiEqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLowerChar(a[i]) != AsciiLowerChar(b[i])) return false;
  return true;
}

std::string Trim(std::string_view text) { return std::string(TrimIf(text, IsBlankOrControl)); }

std::string_view TrimBlanks(std::string_view text) {
  return TrimIf(text, [](char c) { return c == ' ' || c == '\t'; });
}

std::vector<std::string_view> NonEmptyPieces(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (;;) {
    const std::size_t end = text.find(separator);
    if (end != 0 && !text.empty()) pieces.push_back(text.substr(0, end));
    if (end == std::string_view::npos) return pieces;
    text.remove_prefix(end + 1);
  }
}

bool ReplaceFirst(std::string& text, std::string_view what, std::string_view with) {
  if (what.empty()) return false;
  const auto at = text.find(what);
  if (at == std::string::npos) return false;
  text.replace(at, what.size(), with);
  return true;
}

void ReplaceAll(std::string& text, std::string_view what, std::string_view with) {
  if (what.empty()) return;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
}

LineSpan LineAt(std::string_view text, std::size_t from) {
  std::size_t end = from;
  while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
  std::size_t next = end;
  if (next < text.size()) {
    ++next;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
  }
  return {from, end, next};
}

std::vector<std::string_view> SplitTextLines(std::string_view text, std::size_t maxLines) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string_view> lines;
  for (std::size_t at = 0; at < text.size() && lines.size() < maxLines;) {
    const LineSpan line = LineAt(text, at);
    lines.push_back(text.substr(line.begin, line.end - line.begin));
    at = line.next;
  }
  return lines;
}

std::string_view WithoutUtf8Bom(std::string_view text) {
  return text.starts_with(kUtf8ByteOrderMark) ? text.substr(kUtf8ByteOrderMark.size()) : text;
}

}  // namespace platform
