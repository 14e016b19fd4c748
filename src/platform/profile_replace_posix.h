#pragma once
// Putting new bytes into an INI file on POSIX systems, given its directory and the file opened.
// For profile_posix.cpp only.
#include <sys/stat.h>

#include <string>
#include <vector>

namespace platform {

// Removes, from the directory `dir`, the `stale` temporary files (their names as listed) that no
// running update holds (each holds a lock on its own while it writes); only regular files.
void RemoveStaleTemporaries(int dir, const std::vector<std::string>& stale);

// Writes `bytes` as the new content of `name` in `dir`, whose open descriptor `original` and state
// `info` were checked by the caller. A temporary file beside it with the original's owner, group,
// mode and extended attributes, flushed and renamed over it; interrupted by SIGTERM, SIGINT or
// SIGHUP, the temporary file is removed first. Where no temporary file can be made or made the
// same as the original, the file is written in place (space reserved first, one write, flushed),
// as the system's profile functions do; `inPlace` goes there at once. False when neither happened.
bool ReplaceContent(int dir, const std::string& name, int original, const struct stat& info,
                    const std::string& bytes, bool inPlace);

}  // namespace platform
