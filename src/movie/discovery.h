#pragma once
// Which entry of the current directory is the movie, which its subtitle file, and which players
// are there: pure rules over one listing of the directory, so the names come back spelled exactly
// as they lie on disk and the disc is read once.
#include <array>
#include <string>
#include <string_view>

#include "media/notes.h"
#include "movie/players.h"
#include "platform/files.h"

namespace movie {

// Text files that a disc carries for people, never subtitles. Upper case; a name is compared after
// upper-casing its ASCII letters. The first entry is the fallback release-notes file.
inline constexpr std::array<std::string_view, 3> IgnoredTextFiles = {media::kFallbackNotesFile, "README.TXT",
                                                                     "BENIOKU.TXT"};

// Every name the start-up asks about in the disc's and the launcher's directories, as patterns:
// the movie, its subtitles, the poster, the release notes, the players' programs and INI files.
// Only these entries' kinds are worth a lookup (see platform::ListDirectory), so the start-up lists
// its directories with them; a rule that comes to ask about another name must add it here.
inline constexpr std::array<std::string_view, 14> kStartupNames = {
    "*.avi", "*.txt", "*.sub", "*.srt", "*.jpg", "*.bmp", "*.nfo", media::kFallbackNotesFile,
    kVPlayer.executable, kVPlayer.iniWriteName, kVPlayer.iniReadName,
    kBSPlayer.executable, kBSPlayer.iniWriteName, kBSPlayer.iniReadName};

// True when `name`, upper-cased, is one of IgnoredTextFiles.
bool IsIgnoredTextFile(std::string_view name);

// The first "*.avi" entry of the listing, whatever its kind, or "". Any later "*.avi" entry is
// never looked at.
std::string FindMovieFile(const platform::Listing& here);

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
std::string FindSubtitleFile(const platform::Listing& here, const std::string& movieFileName);

// Whether the player's executable lies in the listed directory as a regular file (links followed,
// letter case ignored).
bool PlayerPresent(const platform::Listing& here, PlayerKind kind);

}  // namespace movie
