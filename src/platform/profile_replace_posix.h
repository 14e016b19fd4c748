#pragma once
// Putting new bytes into an INI file on POSIX systems, given its directory and the file opened.
// For profile_posix.cpp only.
#include <sys/stat.h>

#include <string>

namespace platform {

// The name every temporary file of `name` gets beside it: ".vplayer.ini.autorun-" and six letters
// or digits. Nothing else is ever given such a name by the launcher, which is what lets a later
// start remove the ones an earlier, killed start left.
std::string TemporaryPrefix(const std::string& name);

// Removes, from the directory `dir`, the regular files named TemporaryPrefix(name) and six letters
// or digits that no running update holds (each holds a lock on its own while it writes).
void RemoveStaleTemporaries(int dir, const std::string& name);

// Writes `bytes` as the new content of `name` in `dir`, whose open descriptor `original` and state
// `info` were checked by the caller. A temporary file beside it with the original's owner, group,
// mode and extended attributes, flushed and renamed over it; interrupted by SIGTERM, SIGINT or
// SIGHUP, the temporary file is removed first. Where no temporary file can be made or made the
// same as the original, the file is written in place (space reserved first, one write, flushed),
// as the system's profile functions do. False when neither happened.
bool ReplaceContent(int dir, const std::string& name, int original, const struct stat& info,
                    const std::string& bytes);

}  // namespace platform
