#pragma once
// The launcher's small rules for names, each in one place.
#include <string>
#include <string_view>

namespace movie {

// A name of fewer than two characters counts as no name: the movie's, the subtitle's, the
// poster's, a program picked in the file dialog.
constexpr bool IsName(std::string_view name) { return name.size() >= 2; }

// A name or INI entry of two characters or fewer is never trusted to name a file: no subtitle is
// written into a player's settings with one, and no movie entry read back with one is looked for.
constexpr bool IsUsableEntry(std::string_view entry) { return entry.size() > 2; }

// A file name without its last four characters, whatever they are: for "*.avi", "*.srt", "*.sub"
// and "*.txt" names, the name without its extension and dot. "" for a shorter name.
inline std::string BaseName(std::string_view fileName) {
  return std::string(fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0));
}

}  // namespace movie
