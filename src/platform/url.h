#pragma once
// Web addresses handed to the system's opener byte for byte.
#include <string>
#include <string_view>

namespace platform {

// The URL's own bytes in a form every opener takes unchanged: each byte a URL cannot carry raw is
// written as %XX of that byte (bytes from 0x80 up, controls, the blank as %20, " < > \ ^ ` { | }
// [ ], and a % that does not start a %XX); everything else stays, & ? # = / : among it. A title
// byte 0xFE thus reaches the browser as %FE, not as the UTF-8 of a replacement character.
std::string EncodeUrlBytes(std::string_view url);

}  // namespace platform

