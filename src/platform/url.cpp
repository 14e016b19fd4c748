#include "platform/url.h"

#include "platform/text.h"

namespace platform {

namespace {

bool IsUnreserved(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

// `text` with every byte for which `raw(text, at)` is false written as %XX.
template <typename CarriedRaw>
std::string PercentEncode(std::string_view text, CarriedRaw raw) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (raw(text, at)) {
      out += text[at];
      continue;
    }
    out += '%' + HexByte(static_cast<unsigned char>(text[at]));
  }
  return out;
}

bool CarriedRawInUrl(std::string_view url, std::size_t at) {
  const auto byte = static_cast<unsigned char>(url[at]);
  if (byte <= 0x20 || byte >= 0x7F) return false;
  if (byte == '%') return at + 2 < url.size() && HexDigitValue(url[at + 1]) >= 0 && HexDigitValue(url[at + 2]) >= 0;
  return std::string_view("\"<>\\^`{|}[]").find(static_cast<char>(byte)) == std::string_view::npos;
}

}  // namespace

std::string EncodeUrlBytes(std::string_view url) { return PercentEncode(url, CarriedRawInUrl); }

std::string EncodeQueryValue(std::string_view value) {
  return PercentEncode(value, [](std::string_view text, std::size_t at) {
    return std::string_view("&#+%=?").find(text[at]) == std::string_view::npos;
  });
}

std::optional<std::string> PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '%') {
      out += text[at];
      continue;
    }
    const int high = at + 2 < text.size() ? HexDigitValue(text[at + 1]) : -1;
    const int low = at + 2 < text.size() ? HexDigitValue(text[at + 2]) : -1;
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    at += 2;
  }
  return out;
}

std::string FileUrlOf(std::string_view path) {
  return "file://" + PercentEncode(path, [](std::string_view text, std::size_t at) {
           return text[at] == '/' || IsUnreserved(text[at]);
         });
}

}  // namespace platform
