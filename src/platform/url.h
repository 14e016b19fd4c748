#pragma once
// Percent-encoding, in one place for the three kinds of text that go into a URL: a whole address
// handed to the system's opener, a value put into an address's query, and a file's path; and its
// undoing.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The URL's own bytes in a form every opener takes unchanged: each byte a URL cannot carry raw is
// written as %XX of that byte (bytes from 0x80 up, controls, the blank as %20, " < > \ ^ ` { | }
// [ ], and a % that does not start a %XX); everything else stays, & ? # = / : among it. A title
// byte 0xFE thus reaches the browser as %FE, not as the UTF-8 of a replacement character.
std::string EncodeUrlBytes(std::string_view url);

// A text to stand as one value in a URL's query: the bytes that would end the value or change its
// meaning there (& # + % = ?) written as %XX, every other byte left for EncodeUrlBytes. "A+B & C"
// gives "A%2BB %26 C", and a "%41" of the text stays those three characters ("%2541").
std::string EncodeQueryValue(std::string_view value);

// The file:// URL of an absolute path: every byte but the letters, digits, - . _ ~ and / as %XX.
std::string FileUrlOf(std::string_view path);

// `text` with each %XX written as its byte; nullopt when a % does not start one.
std::optional<std::string> PercentDecode(std::string_view text);

}  // namespace platform

