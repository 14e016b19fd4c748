#pragma once
// Profile (INI) files in the classic format: [Section] lines and key=value lines, names matched
// ignoring ASCII case. The byte-level functions do the work; the file functions wrap them.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr std::size_t kProfileValueMax = 2047;
// Player INI files are a few kilobytes; a larger file is not one, and is neither read nor written
// (a partial read would turn a write into silent truncation).
inline constexpr std::size_t kProfileFileMax = 1u << 20;

// The file is read as the system's profile functions read it, so that the players find what the
// launcher writes. Lines end at CR, LF or CRLF. Blanks are tab, LF, vertical tab, form feed, CR,
// ^Z and space; they belong to no name or value at either end. A line that starts with '[' and
// holds a ']' opens a section named by what lies between the '[' and the line's last ']'. Any
// other line is a key: its name up to the first '=', its value after it; without '=' the key is
// there with an empty value. A name or value ends at its first NUL byte. Comments (';') are keys
// that never match. Names match ignoring ASCII letter case; the first section of a name and the
// first key of a name within it count.
//
// The value of `key` in `section`, "" when missing. A value in matching single or double quotes is
// returned without them; at most kProfileValueMax characters. Nothing else is trimmed.
std::string ProfileRead(std::string_view content, std::string_view section, std::string_view key);
// Whether `value`, once written, reads back as itself: no line break or NUL, no blank at either
// end, not wrapped in a pair of matching quotes, at most kProfileValueMax characters.
bool IsProfileValue(std::string_view value);
// `content` with the key's value replaced in place (a key line without '=' gets "=value"), or the
// key added after the last key line of its section (so blank lines and comments before the next
// section stay there), or the section and key appended to the end. Every other byte stays. New
// lines take the file's most common line break (CRLF when it has none); a file without a final
// break gets one before an appended section. A value that IsProfileValue refuses is not written:
// the content comes back unchanged.
std::string ProfileWrite(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value);

// A UTF-8 byte-order mark at the start is not part of the first line: ProfileRead and
// ProfileWrite look past it and keep it.

struct ProfileEdit {
  std::string section, key, value;
};

// What one update of a file's bytes comes to.
struct ProfileBytes {
  enum class Kind { Updated, Unchanged, Skipped, TooLarge };
  Kind kind = Kind::Unchanged;
  std::string bytes;   // Updated: the new content
  std::string reason;  // Skipped: why ("UTF-16")
};
inline constexpr std::string_view kUnwritableValue = "name cannot be written as an INI value";
// Applies `edits` in order with ProfileWrite. Skipped, with nothing applied: a file in UTF-16 (it
// begins with FF FE or FE FF), as 8-bit lines would corrupt it; an edit whose value IsProfileValue
// refuses (kUnwritableValue); new content of more than kProfileFileMax bytes ("too large"), which
// the launcher would no longer read. A file of more than kProfileFileMax bytes is TooLarge.
ProfileBytes ApplyProfileEdits(std::string_view content, const std::vector<ProfileEdit>& edits);

// File forms; the file name is resolved ignoring letter case. A missing file, or one larger than
// any INI file (over 1 MiB), reads as "".
std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key);

struct ProfileUpdate {
  enum class Kind {
    Written,    // the edits are in the file
    Unchanged,  // made writable; nothing to write, or the file already held every value
    Skipped,    // left alone without a word, `reason` says why
    Failed,     // `error` is "Unable to write to <path>"; the file is as it was
  };
  Kind kind = Kind::Unchanged;
  std::string reason;
  std::string error;
};

// Resets the attributes of the existing INI file at `path` (letter case of its name ignored) and
// applies all `edits` to it in one read and one replace, all on one opened file:
//  - Skipped (silent, as for a file that cannot be written): missing; a symbolic link; not a
//    regular file; more than one hard link (it would change a file outside its directory); cannot
//    be made writable (a read-only medium, not its owner's); and, with nothing written, what
//    ApplyProfileEdits skips (UTF-16, a value that cannot be written, too large once written).
//  - Unchanged: no edits (the start-up resets the attributes even when it writes nothing), or
//    nothing changes.
//  - Failed, "Unable to write to <path>": the attributes were reset but the write did not happen:
//    the file cannot be read or is larger than 1 MiB, or the new content cannot be written
//    completely. None of the edits is then in the file.
// The new content goes into a temporary file beside the original, which gets the original's
// owner, group, mode (with the owner's write bit) and extended attributes, is flushed once and
// replaces the original's name. Where no such file can be made (a directory the user cannot
// write to, an attribute that cannot be set), the file is rewritten in place as the system's
// profile functions do it. Temporary files that an earlier, killed update left are removed first.
ProfileUpdate UpdateProfileFile(const std::string& path, const std::vector<ProfileEdit>& edits);

// The step UpdateProfileFile's backends share once the file is checked and reset: applies `edits`
// to its `content` (nullopt when it could not be read) and hands the new bytes to `replace`, which
// returns whether the atomic replace happened.
ProfileUpdate WriteEditedProfile(const std::string& path, const std::optional<std::string>& content,
                                 const std::vector<ProfileEdit>& edits,
                                 const std::function<bool(const std::string& bytes)>& replace);

// One key through UpdateProfileFile; throws platform::Error("Unable to write to <path>") unless
// it was Written or Unchanged.
void WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace platform
