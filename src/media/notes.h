#pragma once
// The release notes shown under the media report: which file holds them, its lines as bytes, and
// the one conversion to display text, done where the panel draws them.
#include <QString>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace media {

// Read when no "*.nfo" lies beside the movie: the name Windows gives a new file made from the
// desktop, which disc authors leave their notes in. Subtitle discovery never takes it for a
// subtitle.
inline constexpr const char* kFallbackNotesFile = "NEW TEXT DOCUMENT.TXT";

// Notes beyond this are not read; no release note comes near it.
inline constexpr std::size_t kMaxNotesBytes = std::size_t{1} << 20;
// What the panel shows at most. Real notes are a few hundred lines of at most a few hundred
// characters; a hostile file (a mebibyte of line breaks, one endless line, piles of combining
// marks) would otherwise keep the text layout busy for minutes.
inline constexpr std::size_t kMaxNotesLines = 3000;
inline constexpr std::size_t kMaxNotesLineBytes = 2000;
inline constexpr std::size_t kMaxNotesShownBytes = std::size_t{128} << 10;
// The panel's last line when something was left out.
inline constexpr const char* kNotesCutLine = "[The rest of the release notes is not shown.]";

enum class NotesEncoding { Utf8, Cp437, Cp1252 };

struct Notes {
  std::vector<std::string> lines;  // the file's bytes, without the line breaks
  NotesEncoding encoding = NotesEncoding::Cp1252;
  bool cut = false;  // lines, or the end of a line, were left out by the limits above
};

// The first "*.nfo" entry of the listing, else kFallbackNotesFile in any letter case, as spelled
// on disk; "" when neither exists.
std::string FindNotesFile(const platform::Listing& here);

// The notes file `notesFile` from its first kMaxNotesBytes `bytes` (a file that fills them is cut
// there) up to the first NUL byte, split at CR, LF or CRLF, within the limits above (a line is cut
// at a character boundary). A file that is valid UTF-8 as a whole is UTF-8; otherwise an ".nfo"
// file is code page 437 (its box drawing) and any other 1252.
Notes ParseNotes(std::string_view bytes, std::string_view notesFile);

// One line as display text.
QString NotesLineText(std::string_view line, NotesEncoding encoding);

}  // namespace media
