#pragma once
// Stand-ins for files, for a dry run that must answer as the real file would without touching it.
#include <cstddef>
#include <string>

namespace platform {

// Makes `copy` (a path that does not exist yet) stand in for the file at `original`, so that an
// update through UpdateProfileFile decides on it as on the original:
//  - a regular file: its first `maxBytes` bytes, then its mode (read-only stays read-only), and its
//    owner and group where the system permits; a second name in the copy's directory when the
//    original has more than one hard link;
//  - a symbolic link: a link to an empty file in the copy's directory;
//  - a directory: an empty directory; any other kind: a named pipe.
// Nothing is ever written outside the copy's directory. False when the stand-in could not be made.
bool MakeStandIn(const std::string& original, const std::string& copy, std::size_t maxBytes);

}  // namespace platform
