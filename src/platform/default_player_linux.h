#pragma once
// The video player the desktop would choose for an AVI file, found the freedesktop way and in
// GIO's order (mimeapps.list, defaults.list, mimeinfo.cache, .desktop files), and the command
// line that plays one movie in it. This is how a disc whose players are Windows programs still
// plays on a system without Wine.
#include <optional>
#include <set>
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

// Every name of the AVI type: the one shared-mime-info's `aliases` files (in the data
// directories) make canonical and its aliases. Without any such file, the names desktops have
// used for it.
std::set<std::string> AviMimeTypes(const XdgDirs& dirs);

// An application entry that can be started.
struct DesktopApplication {
  std::string id;        // its desktop id, "org.gnome.Totem.desktop"
  std::string file;      // the .desktop file
  std::string exec;      // its Exec line, the key file's escapes undone
  std::string name;      // Name, for %c
  std::string icon;      // Icon, for %i
  std::string terminal;  // Terminal=true: the terminal program that shows it; else ""
};

// The .desktop file of desktop id `id` below one applications directory, "" when it has none: the
// plain name, else a dash of the id standing for a subdirectory ("kde-org.vlc.desktop" in
// kde/org.vlc.desktop), the first found in that order. An id with a '/' or a leading '.' names
// none. Only directories that exist are descended into, and the search gives up after
// kMaxIdProbes look-ups, so an id of any length from any list costs no more than that; `probes`,
// when given, receives the count.
inline constexpr int kMaxIdProbes = 256;
std::string DesktopIdFile(const std::string& directory, const std::string& id, int* probes = nullptr);

// The application the desktop opens a file of type `mimeTypes` (all names of one type) with:
// the defaults of every mimeapps.list, desktop-specific ones first, and defaults.list, and after
// them the associations (Added Associations, then mimeinfo.cache) less the Removed ones, each
// directory in its order of precedence. A desktop id counts through its first usable file: an
// application whose TryExec and Exec programs are on the PATH, with Terminal=true only where
// there is a terminal (x-terminal-emulator). A file with Hidden=true hides the id altogether: the
// user deleted it.
std::optional<DesktopApplication> ChooseApplication(const XdgDirs& dirs, const std::set<std::string>& mimeTypes);

// The application's command line for one movie (an absolute path), split as GLib splits it
// (blanks, double and single quotes, backslashes) with its field codes expanded: %f %F the path,
// %u %U its file URL, %i "--icon" and the icon, %c the name, %k the .desktop file, %% a percent
// sign; the deprecated codes give nothing. A code inside a quoted argument is written for a
// shell to read back as one word, whatever quotes the argument itself opened there, so that
// `sh -c "player %f"` never runs a name as code. A line without a
// file code gets the path at its end. A subtitle (absolute path, or "") goes right after the
// program for the players that take one; a terminal application runs in `terminal -e`.
// nullopt for an empty line or an unterminated quote.
std::optional<std::vector<std::string>> PlayerCommand(const DesktopApplication& application,
                                                      const std::string& moviePath, const std::string& subtitlePath);

// What a player of this program name (the base name of its path) needs to be told about a
// subtitle; empty for players that are not known to take one.
std::vector<std::string> SubtitleArguments(const std::string& programName, const std::string& subtitlePath);

// An executable named as on a command line: an absolute path as it is, a bare name the first
// match in the absolute directories of $PATH. A relative path ("./player", "bin/player") and a
// relative PATH entry would find the disc's own files, so they find nothing. "" when there is none.
std::string FindExecutable(const std::string& name);

}  // namespace platform
