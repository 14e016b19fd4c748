#pragma once
// File-system services. Relative names resolve against the process's current directory, as the
// launcher always works in the directory it was started in (the disc directory).
//
// The disc is listed once: ListDirectory reads a directory into a Listing, and the rules that
// pick files (movie, subtitle, poster, notes, players) are pure functions over that value, so
// they can be tested with any order of names and never touch the disc again.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace platform {

// Whole-name match of `*` and `?`, ASCII letter case ignored.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// --- The directory listing ----------------------------------------------------------------------

// Other: devices, FIFOs, sockets, dangling links. Unknown: not looked up (see ListDirectory).
enum class EntryKind { File, Directory, Other, Unknown };

struct ListingEntry {
  std::string name;
  EntryKind kind = EntryKind::Other;  // of what a symbolic link points to
  bool operator==(const ListingEntry&) const = default;
};

// Wildcard patterns (WildcardMatch) naming the entries a caller will ask the kind of.
using NamePatterns = std::span<const std::string_view>;
// Whether `name` matches one of `patterns`.
bool MatchesAny(NamePatterns patterns, std::string_view name);

// The code of a search that found nothing: ENOENT, which has the value of the classic system's
// ERROR_FILE_NOT_FOUND (2) as well.
inline constexpr int kNothingFound = ENOENT;

struct Listing {
  // 0 when the directory held at least one entry; kNothingFound for an empty one (as a search
  // for "*.*" in an empty root gives); otherwise the system's error code for opening or reading
  // the directory (a missing medium shows here).
  int code = 0;
  std::vector<ListingEntry> entries;  // in the file system's order, never sorted; no "." or ".."
  bool operator==(const Listing&) const = default;
};

// Reads the whole directory ("" is the current directory) once, every kind of entry included
// (hidden files, directories, links). The OS backend.
//
// Most entries' kinds come with their names. A symbolic link's (a reparse point's on Windows), or
// any entry's on a file system that gives no kinds, costs a lookup of its own; it is made only for
// names matching `kindPatterns`, so that a directory of a million links lists as fast as one of a
// million files. Every other such entry is EntryKind::Unknown, which no rule takes for a file.
Listing ListDirectory(const std::string& directory, NamePatterns kindPatterns = {});

// Pure functions over a listing; none of them touches the file system.
//
// The names matching `pattern` (WildcardMatch), in listing order.
std::vector<std::string> MatchingNames(const Listing& listing, std::string_view pattern);
// The first of them, "" when none.
std::string FirstMatch(const Listing& listing, std::string_view pattern);
// The entry spelled exactly `name`, else the first whose name equals it ignoring ASCII case (in
// listing order); nullptr when none. The pointer lives as long as the listing is unchanged.
const ListingEntry* LookupEntry(const Listing& listing, std::string_view name);
// The entry that LookupEntry finds for `name` as spelled in the listing when it is a regular file
// (links followed), else "".
std::string RegularFileName(const Listing& listing, std::string_view name);
// Whether `name` (letter case ignored as in LookupEntry) is a regular file, links followed.
bool IsRegularFile(const Listing& listing, std::string_view name);

// --- Single names (each probes the disc) -------------------------------------------------------

// The name as it is spelled on disk: an exact hit first, otherwise a case-insensitive match of the
// last component in its directory (first in readdir order). nullopt when neither exists.
std::optional<std::string> ResolveCase(const std::string& path);
// True only for a regular file (links followed), letter case of the last component ignored.
bool FileExists(const std::string& path);

std::string CurrentDirectory();               // absolute, no trailing separator (except at a root)
// Makes `directory`, byte for byte, the current directory; false when it cannot be entered.
bool EnterDirectory(const std::string& directory);
// The directory that holds the running executable, with a trailing separator; "" when it cannot be
// known. Linux takes the program's name from the application's arguments and a relative one from
// the current directory, so it is asked at start-up.
std::string ExecutableDirectory();
// The directory that a launcher lying in `directory` would take for its own, as ExecutableDirectory
// spells it: a relative one taken from the current directory, with a trailing separator, without
// "." steps. Linux keeps ".." steps, as a symbolic link may lie before one; Windows resolves them,
// as its loader does with the program's path.
std::string ExecutableDirectoryAt(const std::string& directory);

// The separator this system's paths put between a directory and a name ('/' or '\\').
char PathSeparator();
// `directory` with the separator at its end, added only when it has none ("/" and "D:\\" stay).
std::string WithTrailingSeparator(std::string directory);
// Whether two directories, each spelled as the system gives it, are one as its file system
// compares names: byte for byte on Linux, ignoring letter case on Windows. A trailing separator
// does not count.
bool SameDirectory(const std::string& a, const std::string& b);
// Whether `directory` lies on a local medium the launcher may write to: an absolute path here, a
// drive letter with its colon on Windows. A network path ("\\\\server\\share\\") is not.
bool IsOnDrive(const std::string& directory);

// --- Reading disc files ---------------------------------------------------------------------------
// Every read opens without waiting and refuses what is not a regular file (a FIFO, a device, a
// link to /dev/zero): such a file fails exactly as an unreadable one does. A directory fails with
// the system's "Is a directory" message, anything else that is not a file with "Not a regular file".

// Reads up to `count` bytes at `offset`. A negative offset or one at/past the end reads nothing.
// nullopt when the file cannot be opened. The file is closed before returning.
std::optional<std::string> ReadAt(const std::string& path, std::int64_t offset, std::size_t count);

// The size in bytes of a file that ReadAt would read; nullopt when it cannot be opened.
std::optional<std::int64_t> FileSize(const std::string& path);

// The file's first `maxBytes` bytes (all of a shorter file), or the system's message when it
// cannot be read.
Result<std::string> ReadFileHead(const std::string& path, std::size_t maxBytes);

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;
// Opens a disc file for a decoder that reads through a FILE*; fails with
// CannotOpenMessage(path, reason) when it cannot be opened or is not a file.
Result<FileHandle> OpenDiscFile(const std::string& path);
// "Cannot open <path>: <reason>", the text of a file that could not be opened.
std::string CannotOpenMessage(const std::string& path, const std::string& reason);

// A directory's medium can take writes: listable, not mounted read-only, with blocks free for this
// user (a medium full but for root's reserved blocks is full).
// `listingCode` is the code of a listing of that directory already made (Listing::code). The codes that say "no medium" or "cannot be read" count as
// not ready; 0 and kNothingFound (an empty, formatted medium) do not. On Windows the drive's root
// is probed instead, with the system's critical-error prompts off, and `listingCode` is not used.
bool IsMediumReady(const std::string& directory, int listingCode);

}  // namespace platform
