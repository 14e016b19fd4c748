#pragma once
// The release notes shown under the media report: which file holds them, and its lines as display
// text.
#include <QString>

#include <cstddef>
#include <string>
#include <vector>

namespace media {

// Read when no "*.nfo" lies beside the movie: the name Windows gives a new file made from the
// desktop, which disc authors leave their notes in. Subtitle discovery never takes it for a
// subtitle.
inline constexpr const char* kFallbackNotesFile = "NEW TEXT DOCUMENT.TXT";

// Notes beyond this are not shown; no release note comes near it.
inline constexpr std::size_t kMaxNotesBytes = std::size_t{1} << 20;

// The first "*.nfo" entry of the current directory, else kFallbackNotesFile in any letter case, as
// spelled on disk; "" when neither exists.
std::string FindNotesFile();

// The notes file's lines, read as far as kMaxNotesBytes and up to the first NUL byte, split at CR,
// LF or CRLF. A file that is valid UTF-8 as a whole is read as UTF-8; otherwise an ".nfo" file is
// read as code page 437 (its box drawing) and any other as 1252. Throws platform::Error with the
// system's message when the file cannot be read.
std::vector<QString> ReadNotesLines(const std::string& notesFile);

}  // namespace media
