#pragma once
// Profile (INI) files in the classic format: [Section] lines and key=value lines, names matched
// ignoring ASCII case. The byte-level functions do the work; the file functions wrap them.
#include <string>
#include <string_view>

namespace platform {

inline constexpr std::size_t kProfileValueMax = 2047;
// Player INI files are a few kilobytes; a larger file is not one, and is neither read nor written
// (a partial read would turn a write into silent truncation).
inline constexpr std::size_t kProfileFileMax = 1u << 20;

// Lines end at CR, LF or CRLF. Blanks and tabs before a key name, around '=' and at the end of a
// line belong to neither key nor value; lines starting with ';' are comments. The first section of
// a name and the first key of a name within it count.
//
// The value of `key` in `section`, "" when missing. A value in matching single or double quotes is
// returned without them; at most kProfileValueMax characters. Nothing else is trimmed.
std::string ProfileRead(std::string_view content, std::string_view section, std::string_view key);
// `content` with the key's value replaced in place, or the key added after the last key line of its
// section (so blank lines and comments before the next section stay there), or the section and
// key appended to the end. Every other byte stays. New lines take the file's most common line
// break (CRLF when it has none); a file without a final break gets one before an appended
// section. A value ends at its first CR, LF or NUL, so it cannot add lines of its own.
std::string ProfileWrite(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value);

// File forms; the file name is resolved ignoring letter case. A missing file, or one larger than
// any INI file (over 1 MiB), reads as "".
std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key);
// Never creates a file. Replaces it atomically (same directory, permission bits kept). Throws
// platform::Error("Unable to write to <path>") and leaves the original unchanged on failure: a
// missing file, one that is not a regular file, not writable, too large, or a failed replacement.
void WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace platform
