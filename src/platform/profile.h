#pragma once
// Profile (INI) files in the classic format: [Section] lines and key=value lines, names matched
// ignoring ASCII case. The byte-level functions do the work; the file functions wrap them.
#include <string>
#include <string_view>

namespace platform {

inline constexpr std::size_t kProfileValueMax = 2047;

// The value of `key` in `section`, "" when missing. A value in matching single or double quotes is
// returned without them; at most kProfileValueMax characters. Nothing is trimmed.
std::string ProfileRead(std::string_view content, std::string_view section, std::string_view key);
// `content` with the key's value replaced in place, or the key appended to the end of its section,
// or the section and key appended to the end. Every other byte stays (line endings included).
std::string ProfileWrite(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value);

// File forms; the file name is resolved ignoring letter case. A missing file reads as "".
std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key);
// Never creates a file. Replaces it atomically (same directory, permission bits kept). Throws
// platform::Error("Unable to write to <path>") and leaves the original unchanged on failure.
void WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace platform
