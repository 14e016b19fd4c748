#pragma once
// The desktop's default video player, found the freedesktop way (mimeapps.list and .desktop
// files), and the command line that plays one movie in it. This is how a disc whose players are
// Windows programs still plays on a system without Wine.
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The freedesktop base directories, each an absolute path.
struct XdgDirs {
  std::string configHome;               // $XDG_CONFIG_HOME, else ~/.config
  std::vector<std::string> configDirs;  // $XDG_CONFIG_DIRS, else /etc/xdg
  std::string dataHome;                 // $XDG_DATA_HOME, else ~/.local/share
  std::vector<std::string> dataDirs;    // $XDG_DATA_DIRS, else /usr/local/share and /usr/share
  std::vector<std::string> desktops;    // $XDG_CURRENT_DESKTOP, lower case, for <desktop>-mimeapps.list
};

// The directories as this process's environment gives them; a relative or empty value counts as
// unset, as the base-directory rules say.
XdgDirs XdgDirsFromEnvironment();

// The MIME type of an AVI file under every name the desktops register players for.
const std::vector<std::string>& AviMimeTypes();

// The Exec line of the default application for any of `mimeTypes`: the [Default Applications] of
// the mimeapps.list files in order of precedence, and failing those their [Added Associations]
// (less any [Removed Associations] of the same or a preferred file). An entry counts only when its
// .desktop file is found, is an application, is not hidden and its TryExec program is there.
std::optional<std::string> DefaultApplicationExec(const XdgDirs& dirs, const std::vector<std::string>& mimeTypes);

// The Exec line as arguments for one movie (an absolute path): %f and %F become the path, %u and
// %U its file URL, %% a percent sign; other field codes are dropped. A line without a file code
// gets the path at its end, so the player is always given the movie. A subtitle (absolute path, or
// "") is put right after the program for the players that take one on their command line.
// nullopt for an empty line or an unterminated quote.
std::optional<std::vector<std::string>> PlayerCommand(const std::string& exec, const std::string& moviePath,
                                                      const std::string& subtitlePath);

// What a player of this program name (the base name of its path) needs to be told about a
// subtitle; empty for players that are not known to take one.
std::vector<std::string> SubtitleArguments(const std::string& programName, const std::string& subtitlePath);

// A file:// URL of an absolute path, its bytes percent-encoded.
std::string FileUrlOf(const std::string& path);

// An executable named as on a command line: a path with a '/' as it is, else the first match in
// $PATH. "" when there is none.
std::string FindExecutable(const std::string& name);

}  // namespace platform
