#pragma once
// Which file of the current directory is the movie and which is its subtitle file. Both rules work
// on the directory's own listing, so the names come back spelled exactly as they lie on disk.
#include <array>
#include <string>
#include <string_view>

#include "media/notes.h"

namespace movie {

// Text files that a disc carries for people, never subtitles. Upper case; a name is compared after
// upper-casing its ASCII letters. The first entry is the fallback release-notes file.
inline constexpr std::array<std::string_view, 3> IgnoredTextFiles = {media::kFallbackNotesFile, "README.TXT",
                                                                     "BENIOKU.TXT"};

// True when `name`, upper-cased, is one of IgnoredTextFiles.
bool IsIgnoredTextFile(std::string_view name);

// The first "*.avi" entry of the current directory in listing order, or "". Any later "*.avi" entry
// is never looked at.
std::string FindMovieFile();

// The subtitle file for `movieFileName` (a bare name ending in ".avi"), or "" when there is none:
//   1. a file named after the movie with ".txt", ".sub", ".srt" (tried in that order, letter case
//      ignored; a spelling that matches exactly is preferred);
//   2. else the "*.txt" entries: the first one if it is not an ignored text file, otherwise the last
//      acceptable one in listing order;
//   3. else the first "*.sub" entry, else the first "*.srt" entry.
// The named-after-the-movie step takes regular files only: a directory called "Film.srt" cannot be
// handed to a player as a subtitle, so there the step moves on. The wildcard steps take every kind
// of entry, directories included, as the listing gives them. Wildcard characters in the movie's
// name are plain characters in step 1.
std::string FindSubtitleFile(const std::string& movieFileName);

}  // namespace movie
