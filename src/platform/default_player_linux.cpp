#include "platform/default_player_linux.h"

#include <sys/stat.h>

#include <algorithm>
#include <string_view>

#include "platform/environment_posix.h"
#include "platform/exec_line_linux.h"
#include "platform/files.h"
#include "platform/key_file_linux.h"
#include "platform/program_start_posix.h"
#include "platform/text.h"
#include "platform/url.h"

namespace platform {

namespace {

constexpr const char* kEntryGroup = "Desktop Entry";

// ---- Where the associations and the applications are ------------------------------------------

// A directory that holds mimeapps.list files: a configuration directory, or an applications
// directory, which also holds .desktop files, defaults.list and mimeinfo.cache.
struct Directory {
  std::string path;
  bool applications;
};

std::vector<Directory> Directories(const XdgDirs& dirs) {
  std::vector<Directory> out{{dirs.configHome, false}};
  for (const std::string& dir : dirs.configDirs) out.push_back({dir, false});
  out.push_back({dirs.dataHome + "/applications", true});
  for (const std::string& dir : dirs.dataDirs) out.push_back({dir + "/applications", true});
  return out;
}

// A name longer than this is no file's or directory's on any of the desktop's file systems.
constexpr std::size_t kNameMax = 255;

// The depth-first search below `directory` for what is left of an id, the plain name first: a dash
// may stand for a directory only where that directory exists.
std::string IdFileBelow(const std::string& directory, std::string_view id, int& probes) {
  if (probes >= kMaxIdProbes) return {};
  ++probes;
  if (const std::string plain = directory + "/" + std::string(id); IsKind(plain, S_IFREG)) return plain;
  for (std::size_t dash = id.find('-'); dash != std::string_view::npos && dash <= kNameMax; dash = id.find('-', dash + 1)) {
    const std::string_view name = id.substr(0, dash);
    if (name.empty() || name == "." || name == "..") continue;
    if (probes >= kMaxIdProbes) return {};
    ++probes;
    const std::string below = directory + "/" + std::string(name);
    if (!IsKind(below, S_IFDIR)) continue;
    if (std::string found = IdFileBelow(below, id.substr(dash + 1), probes); !found.empty()) return found;
  }
  return {};
}

// The associations of one directory for one type, each list in the order its files give it.
struct Associations {
  std::vector<std::string> defaults, additions, removals;
};

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

void Append(std::vector<std::string>& list, const std::vector<std::string>& items,
            const std::vector<std::string>& except) {
  for (const std::string& item : items)
    if (!Contains(list, item) && !Contains(except, item)) list.push_back(item);
}

// One file's part: its keys of any name of the type, in the file's order. Only the plain
// mimeapps.list and mimeinfo.cache may add and remove associations; a desktop's own list and
// defaults.list give defaults alone.
void ReadAssociations(const std::string& path, const std::string& addedGroup, bool mayAssociate,
                      const std::set<std::string>& types, Associations& into) {
  const KeyFile file = ReadKeyFile(path);
  const auto each = [&](const std::string& group, auto apply) {
    for (const auto& [type, ids] : file.Group(group))
      if (types.count(type)) apply(SplitList(ids));
  };
  if (mayAssociate) {
    each(addedGroup, [&](const auto& ids) { Append(into.additions, ids, into.removals); });
    each("Removed Associations", [&](const auto& ids) { Append(into.removals, ids, into.additions); });
  }
  each("Default Applications", [&](const auto& ids) { Append(into.defaults, ids, {}); });
}

Associations ReadDirectory(const Directory& directory, const XdgDirs& dirs, const std::set<std::string>& types) {
  Associations associations;
  const std::string& at = directory.path;
  for (const std::string& desktop : dirs.desktops)
    ReadAssociations(at + "/" + desktop + "-mimeapps.list", "Added Associations", false, types, associations);
  ReadAssociations(at + "/mimeapps.list", "Added Associations", true, types, associations);
  if (directory.applications) {
    ReadAssociations(at + "/defaults.list", "Added Associations", false, types, associations);
    ReadAssociations(at + "/mimeinfo.cache", "MIME Cache", true, types, associations);
  }
  return associations;
}

// An association of a directory for an application that a directory before it holds a file of
// does not count: that file decides.
bool Masked(const std::vector<Directory>& directories, std::size_t index, const std::string& id) {
  for (std::size_t i = 0; i < index; ++i)
    if (directories[i].applications && !DesktopIdFile(directories[i].path, id).empty()) return true;
  return false;
}

// The program the application's command line runs, as PlayerCommand expands it; "" when the line
// has none, or when a file code stands first (the movie would be run).
std::string ExecProgram(const DesktopApplication& application) {
  bool fileGiven = false;
  const std::optional<std::vector<std::string>> words =
      SplitExec(application.exec, {"", "", application.icon, application.name, application.file}, fileGiven);
  return words && !words->empty() ? words->front() : std::string();
}

// The application of one .desktop file, when it can be started here.
std::optional<DesktopApplication> Usable(const std::string& id, const std::string& path, const KeyFile& file) {
  const auto value = [&](const char* key) { return UnescapeValue(file.Value(kEntryGroup, key)); };
  if (file.firstGroup != kEntryGroup || value("Type") != "Application") return std::nullopt;
  const std::string tryExec = value("TryExec");
  if (!tryExec.empty() && FindExecutable(tryExec).empty()) return std::nullopt;
  DesktopApplication application{id, path, value("Exec"), value("Name"), value("Icon"), ""};
  if (FindExecutable(ExecProgram(application)).empty()) return std::nullopt;
  if (IsTrue(value("Terminal"))) {
    application.terminal = FindExecutable("x-terminal-emulator");
    if (application.terminal.empty()) return std::nullopt;  // it would run unseen
  }
  return application;
}

// The first usable file of `id` along the applications directories. A file the user marked
// Hidden=true deletes the id: nothing below it counts.
std::optional<DesktopApplication> Application(const std::vector<Directory>& directories, const std::string& id) {
  for (const Directory& directory : directories) {
    if (!directory.applications) continue;
    const std::string path = DesktopIdFile(directory.path, id);
    if (path.empty()) continue;
    const KeyFile file = ReadKeyFile(path);
    if (IsTrue(UnescapeValue(file.Value(kEntryGroup, "Hidden")))) return std::nullopt;
    if (std::optional<DesktopApplication> application = Usable(id, path, file)) return application;
  }
  return std::nullopt;
}

}  // namespace

XdgDirs XdgDirsFromEnvironment() {
  const std::string home = AbsolutePathVariable("HOME");
  XdgDirs dirs;
  dirs.configHome = AbsolutePathVariable("XDG_CONFIG_HOME");
  if (dirs.configHome.empty()) dirs.configHome = home + "/.config";
  dirs.dataHome = AbsolutePathVariable("XDG_DATA_HOME");
  if (dirs.dataHome.empty()) dirs.dataHome = home + "/.local/share";
  dirs.configDirs = AbsolutePathsVariable("XDG_CONFIG_DIRS", {"/etc/xdg"});
  dirs.dataDirs = AbsolutePathsVariable("XDG_DATA_DIRS", {"/usr/local/share", "/usr/share"});
  const std::string desktops = NonEmptyVariable("XDG_CURRENT_DESKTOP").value_or("");
  for (const std::string_view desktop : NonEmptyPieces(desktops, ':')) dirs.desktops.push_back(AsciiLower(desktop));
  return dirs;
}

std::set<std::string> AviMimeTypes(const XdgDirs& dirs) {
  std::vector<std::pair<std::string, std::string>> aliases;  // alias, the name it stands for
  bool found = false;
  std::vector<std::string> dataDirs{dirs.dataHome};
  dataDirs.insert(dataDirs.end(), dirs.dataDirs.begin(), dirs.dataDirs.end());
  for (const std::string& dir : dataDirs) {
    const Result<std::string> read = ReadFileHead(dir + "/mime/aliases", kKeyFileMax);
    if (!read) continue;
    found = true;
    for (const std::string_view line : SplitTextLines(*read)) {
      const std::vector<std::string_view> names = NonEmptyPieces(line, ' ');
      if (names.size() == 2) aliases.emplace_back(names[0], names[1]);
    }
  }
  if (!found) return {"video/x-msvideo", "video/vnd.avi", "video/avi", "video/msvideo"};
  std::string canonical = "video/x-msvideo";
  const auto alias = std::find_if(aliases.begin(), aliases.end(), [&](const auto& a) { return a.first == canonical; });
  if (alias != aliases.end()) canonical = alias->second;
  std::set<std::string> names{canonical};
  for (const auto& [name, target] : aliases)
    if (target == canonical) names.insert(name);
  return names;
}

std::string DesktopIdFile(const std::string& directory, const std::string& id, int* probes) {
  int count = 0;
  const std::string file = id.find('/') == std::string::npos && id.rfind('.', 0) != 0 ? IdFileBelow(directory, id, count) : "";
  if (probes) *probes = count;
  return file;
}

std::optional<DesktopApplication> ChooseApplication(const XdgDirs& dirs, const std::set<std::string>& mimeTypes) {
  const std::vector<Directory> directories = Directories(dirs);
  std::vector<Associations> associations;
  for (const Directory& directory : directories) associations.push_back(ReadDirectory(directory, dirs, mimeTypes));
  // Every default comes before every association, whichever directory gives it.
  std::vector<std::string> candidates, removed;
  for (const Associations& each : associations) Append(candidates, each.defaults, {});
  for (std::size_t i = 0; i < directories.size(); ++i) {
    for (const std::string& id : associations[i].additions)
      if (!Masked(directories, i, id) && !Contains(removed, id)) Append(candidates, {id}, {});
    for (const std::string& id : associations[i].removals)
      if (!Masked(directories, i, id) && !Contains(candidates, id)) Append(removed, {id}, {});
  }
  for (const std::string& id : candidates)
    if (std::optional<DesktopApplication> application = Application(directories, id)) return application;
  return std::nullopt;
}

std::optional<std::vector<std::string>> PlayerCommand(const DesktopApplication& application,
                                                      const std::string& moviePath, const std::string& subtitlePath) {
  bool fileGiven = false;
  const FieldValues values{moviePath, FileUrlOf(moviePath), application.icon, application.name, application.file};
  std::optional<std::vector<std::string>> words = SplitExec(application.exec, values, fileGiven);
  if (!words || words->empty()) return std::nullopt;
  if (!fileGiven) words->push_back(moviePath);
  const std::string& program = words->front();
  const std::vector<std::string> subtitle = SubtitleArguments(program.substr(program.rfind('/') + 1), subtitlePath);
  words->insert(words->begin() + 1, subtitle.begin(), subtitle.end());
  if (!application.terminal.empty()) words->insert(words->begin(), {application.terminal, "-e"});
  return words;
}

std::vector<std::string> SubtitleArguments(const std::string& programName, const std::string& subtitlePath) {
  if (subtitlePath.empty()) return {};
  // Players not named here are given the movie alone; most load a subtitle of its name by themselves.
  if (programName == "mpv" || programName == "vlc" || programName == "cvlc") return {"--sub-file=" + subtitlePath};
  if (programName == "mplayer" || programName == "smplayer" || programName == "gnome-mplayer")
    return {"-sub", subtitlePath};
  return {};
}

std::string FindExecutable(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return name.front() == '/' && IsExecutableFile(name) ? name : std::string();
  for (const std::string& directory : AbsolutePathsVariable("PATH", {})) {
    const std::string path = directory + "/" + name;
    if (IsExecutableFile(path)) return path;
  }
  return {};
}

}  // namespace platform
