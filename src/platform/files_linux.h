#pragma once
// The Linux answers behind ExecutableDirectory and IsMediumReady, as functions of plain values so
// that each case can be tried. For the *_linux backends and their tests only.
#include <sys/statvfs.h>

#include <string>

namespace platform {

// The directory that holds the file the running program was loaded from, with a trailing '/';
// "" when it cannot be known. The candidates are the target of /proc/self/exe, the program's name
// as started (`argv0`, a relative one taken from `startDirectory`) and `startDirectory` itself; one
// counts only when the file it names is the running program (same device and inode), so a
// program started through the dynamic loader is not taken for the loader, and a directory whose
// name the kernel cannot give (longer than PATH_MAX) is still found.
std::string ProgramDirectory(const std::string& argv0, const std::string& startDirectory);

// Whether a medium that statvfs describes as `fs` takes this user's writes: mounted read-write,
// with blocks available to the user (root's reserved blocks do not count for anyone else). A file
// system that reports no blocks at all says nothing about its space and counts as having some.
bool CanTakeWrites(const struct statvfs& fs);

}  // namespace platform
