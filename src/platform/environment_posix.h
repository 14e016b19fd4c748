#pragma once
// What the POSIX backends find around them: the variables of the environment, read the way the
// desktop's rules read them, and what kind of thing a path names. For the *_posix and *_linux
// backends and their tests only.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The variable's value when it is set and not empty.
std::optional<std::string> NonEmptyVariable(const char* name);

// The variable's value when it is an absolute path, else "": a relative one would be taken from
// wherever the program was started, the disc's own directory.
std::string AbsolutePathVariable(const char* name);

// The absolute paths of a ':'-separated variable, the relative and empty ones left out; `fallback`
// when none is left.
std::vector<std::string> AbsolutePathsVariable(const char* name, std::vector<std::string> fallback);

// Whether `path`, its links followed, names a thing of this kind (S_IFREG, S_IFDIR, S_IFSOCK...).
bool IsKind(const std::string& path, mode_t kind);

}  // namespace platform
