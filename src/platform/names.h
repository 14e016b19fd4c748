#pragma once
// The launcher's small rules for names, each in one place.
#include <string>
#include <string_view>

namespace platform {

// A name of fewer than two characters counts as no name: the movie's, the subtitle's, the
// poster's, the notes', a program picked in the file dialog.
constexpr bool CountsAsName(std::string_view name) { return name.size() >= 2; }

// A name, INI entry or title of two characters or fewer is never trusted: no subtitle is written
// into a player's settings with one, no movie entry read back with one is looked for, no notes
// file with one is read, and no web search is made for such a title.
constexpr bool IsTrustedEntry(std::string_view entry) { return entry.size() > 2; }

// A file name without its last four characters, whatever they are: for "*.avi", "*.srt", "*.sub"
// and "*.txt" names, the name without its extension and dot. "" for a shorter name.
inline std::string BaseName(std::string_view fileName) {
  return std::string(fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0));
}

}  // namespace platform
