#pragma once
// File-system services. Relative names resolve against the process's current directory, as the
// launcher always works in the directory it was started in (the disc directory).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Whole-name match of `*` and `?`, ASCII letter case ignored.
bool WildcardMatch(std::string_view pattern, std::string_view name);

struct DirSearch {
  int code = 0;                     // 0 when an entry was found, otherwise an errno (ENOENT: none)
  std::vector<std::string> names;   // matching entries in readdir order, never sorted
};
// Every kind of entry (files, directories, dot-files, links), not "." and "..".
DirSearch SearchDirectory(const std::string& directory, std::string_view pattern);
// First entry of the current directory matching `pattern`, or "".
std::string FindFirst(std::string_view pattern);

// The name as it is spelled on disk: an exact hit first, otherwise a case-insensitive match of the
// last component in its directory (first in readdir order). nullopt when neither exists.
std::optional<std::string> ResolveCase(const std::string& path);
// True only for a regular file (links followed), letter case of the last component ignored.
bool FileExists(const std::string& path);

std::string CurrentDirectory();               // absolute, no trailing separator (except "/")
std::string ExecutableDirectory();            // directory of the running executable, trailing '/'

// Reads up to `count` bytes at `offset`. A negative offset or one at/past the end reads nothing.
// nullopt when the file cannot be opened. The file is closed before returning.
std::optional<std::string> ReadAt(const std::string& path, std::int64_t offset, std::size_t count);

struct FileRead {
  std::string bytes;   // at most the requested cap
  std::string error;   // the system's message when the file could not be read, else ""
};
FileRead ReadFileHead(const std::string& path, std::size_t maxBytes);

// Splits at CR, LF or CRLF; the text ends at the first NUL byte. A final line break adds no line.
std::vector<std::string> SplitTextLines(std::string_view bytes);

// Makes an existing file writable by its owner (the launcher's "reset attributes"). False when the
// file is missing, its file system is read-only, or the change is not permitted.
bool MakeWritable(const std::string& path);

// A directory's medium can take writes: listable, not mounted read-only, with free blocks.
bool IsMediumReady(const std::string& directory);

}  // namespace platform
