#include "platform/url.h"

namespace platform {

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool CarriedRaw(std::string_view url, std::size_t at) {
  const auto byte = static_cast<unsigned char>(url[at]);
  if (byte <= 0x20 || byte >= 0x7F) return false;
  if (byte == '%') return at + 2 < url.size() && IsHexDigit(url[at + 1]) && IsHexDigit(url[at + 2]);
  return std::string_view("\"<>\\^`{|}[]").find(static_cast<char>(byte)) == std::string_view::npos;
}

}  // namespace

std::string EncodeUrlBytes(std::string_view url) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(url.size());
  for (std::size_t at = 0; at < url.size(); ++at) {
    if (CarriedRaw(url, at)) {
      out += url[at];
      continue;
    }
    const auto byte = static_cast<unsigned char>(url[at]);
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
  }
  return out;
}

}  // namespace platform
