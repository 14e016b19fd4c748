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
// Applies `edits` in order with ProfileWrite. A file in UTF-16 (it begins with FF FE or FE FF) is
// Skipped, as 8-bit lines would corrupt it; more than kProfileFileMax bytes is TooLarge.
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
// applies all `edits` to it in one read and one atomic replace, all on one opened file:
//  - Skipped (silent, as for a file that cannot be written): missing; a symbolic link; not a
//    regular file; more than one hard link (it would change a file outside its directory); cannot
//    be made writable (a read-only medium, not its owner's); UTF-16.
//  - Unchanged: no edits (the start-up resets the attributes even when it writes nothing), or
//    nothing changes.
//  - Failed, "Unable to write to <path>": the attributes were reset but the write did not happen:
//    the file cannot be read or is larger than 1 MiB, the new file cannot be written completely,
//    or its owner and group cannot be made the original's (not done when permitted only partly).
//    None of the edits is then in the file.
// The new file gets the original's owner, group and mode (with the owner's write bit) before it
// replaces the original's name; it is flushed to the medium once.
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
