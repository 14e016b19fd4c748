#pragma once
// Profile (INI) files in the classic format: [Section] lines and key=value lines, names matched
// ignoring ASCII case. The byte-level functions do the work; the file functions wrap them.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

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

// What becomes of one INI file at start-up, from the listing that may hold it to its write.
struct ProfileUpdate {
  enum class Kind {
    Absent,     // no such file: nothing to do, nothing to report
    Unread,     // the file must be read before anything can be decided
    Written,    // `bytes` replace the file's content
    Unchanged,  // nothing to write, or the file already holds every value
    Skipped,    // not written, for `reason`; still made writable unless the platform refused the file
    Failed,     // cannot be written: `reason` is "Unable to write to <path>", the text the user sees;
                // the file's bytes stay as they were
  };
  Kind kind = Kind::Absent;
  std::string reason;
  std::string bytes;
  bool operator==(const ProfileUpdate&) const = default;
};

inline constexpr std::string_view kUnwritableValue = "name cannot be written as an INI value";
// Applies `edits` in order with ProfileWrite: Written with the new content, or Unchanged. Skipped,
// with nothing applied: a file in UTF-16 (it begins with FF FE or FE FF), as 8-bit lines would
// corrupt it; an edit whose value IsProfileValue refuses (kUnwritableValue); content of more than
// kProfileFileMax bytes, before or after the edits ("too large"), which the launcher does not read.
ProfileUpdate ApplyProfileEdits(std::string_view content, const std::vector<ProfileEdit>& edits);

// The whole content of the INI file at `path` (the name's letter case ignored) as the launcher
// reads it: nullopt when it is missing, cannot be read, or is larger than kProfileFileMax.
std::optional<std::string> ReadProfileContent(const std::string& path);

// What reading an existing INI file tells about writing it, learned without changing anything.
struct ProfileFacts {
  // Whether it may be written, or why not: "missing", "a symbolic link", "not a regular file",
  // "more than one hard link", "cannot be made writable: <reason>" (a read-only medium, another
  // user's file). A refused file is left alone without a word.
  Result<void> writable;
  std::optional<std::string> content;  // up to kProfileFileMax + 1 bytes; nullopt when unreadable
  // Where no temporary file like it can be made beside it (a directory the user cannot write to,
  // an owner or group the user cannot give), the file is rewritten in place.
  bool inPlace = false;
  std::int64_t allocated = 0;  // bytes the file holds on its medium
  std::int64_t room = -1;      // bytes still free for this user on its medium; -1 when not known
  std::int64_t block = 1;      // the medium's unit of allocation
  bool operator==(const ProfileFacts&) const = default;
};

// The text the user sees when the INI file at `path` cannot be written.
inline std::string UnableToWrite(const std::string& path) { return "Unable to write to " + path; }

// The decision for the file at `path` with `facts`: Skipped for a refusal, for a value that
// IsProfileValue refuses (whatever the content) and for what ApplyProfileEdits skips; Unchanged
// without edits (its attributes are still reset) or changes;
// Failed when the content could not be read or is larger than kProfileFileMax, or when the new
// content does not fit on the medium (beside the old one, or over it when written in place).
ProfileUpdate PlanProfileUpdate(const std::string& path, const ProfileFacts& facts,
                                const std::vector<ProfileEdit>& edits);

// The name every temporary file of the INI file `name` gets beside it: ".vplayer.ini.autorun-" and
// six letters or digits. Nothing else is ever given such a name, which is what lets a later start
// remove the ones an earlier, killed start left.
std::string TemporaryPrefix(std::string_view name);
inline constexpr std::size_t kTemporarySuffixLength = 6;
inline constexpr std::string_view kTemporarySuffixLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
bool IsTemporaryOf(std::string_view name, std::string_view entry);

// An existing INI file opened for reading, with what it tells about writing it. The file stays
// open until the object goes, so that the start-up reads it once and carries out its update on
// the very file it read. Opening changes nothing.
class ProfileFile {
 public:
  ProfileFile();
  ProfileFile(ProfileFile&&) noexcept;
  ProfileFile& operator=(ProfileFile&&) noexcept;
  ~ProfileFile();
  // The file at `path` (the last name's letter case ignored), never through a link.
  static ProfileFile Open(const std::string& path);
  const std::string& path() const { return path_; }  // as given to Open
  const ProfileFacts& facts() const { return facts_; }
  // Carries out `update`: unless the file was refused, resets its attributes (the owner may write
  // it), removes the `stale` temporary files an earlier start left beside it (their names as
  // listed), and for Written replaces its content in one step: a temporary file beside it with
  // the original's owner, group, mode and extended attributes, flushed, renamed over it; or, in
  // place, space reserved first, one write, flushed. False when the reset or the write failed.
  bool Apply(const ProfileUpdate& update, const std::vector<std::string>& stale);

 private:
  struct Opened;
  std::unique_ptr<Opened> opened_;
  std::string path_;
  ProfileFacts facts_;
};

}  // namespace platform
