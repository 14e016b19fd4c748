#include "platform/default_player_linux.h"

#include <cstdlib>
#include <map>
#include <set>
#include <string_view>

#include "platform/files.h"
#include "platform/program_start_posix.h"
#include "platform/text.h"

namespace platform {

namespace {

// mimeapps.list and .desktop files are a few kilobytes; a larger one is not what it claims to be.
constexpr std::size_t kKeyFileMax = 1 << 20;
// A desktop id "a-b-c.desktop" may live in a/b-c.desktop, a/b/c.desktop, ...; beyond this many
// dashes only the plain name is tried, so a hostile id cannot multiply the lookups.
constexpr int kMaxIdDashes = 6;

using Groups = std::map<std::string, std::map<std::string, std::string>>;

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The groups of a key file; for a key given twice the first value counts.
Groups ReadKeyFile(const std::string& path) {
  Groups groups;
  const Result<std::string> read = ReadFileHead(path, kKeyFileMax);
  if (!read) return groups;
  std::string group;
  for (const std::string_view raw : SplitTextLines(*read)) {
    const std::string_view line = TrimBlanks(raw);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      group = std::string(line.substr(1, line.size() - 2));
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || group.empty()) continue;
    groups[group].emplace(TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1)));
  }
  return groups;
}

std::string Lookup(const Groups& groups, const std::string& group, const std::string& key) {
  const auto g = groups.find(group);
  if (g == groups.end()) return {};
  const auto k = g->second.find(key);
  return k == g->second.end() ? std::string() : k->second;
}

std::vector<std::string> SplitList(std::string_view value) {
  std::vector<std::string> items;
  while (!value.empty()) {
    const std::size_t semicolon = value.find(';');
    const std::string_view item = TrimBlanks(value.substr(0, semicolon));
    if (!item.empty()) items.emplace_back(item);
    if (semicolon == std::string_view::npos) break;
    value.remove_prefix(semicolon + 1);
  }
  return items;
}

// The string escapes of a key file's values; the quoting rules of Exec come after these.
std::string UnescapeValue(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    switch (const char next = value[++i]) {
      case 's': out += ' '; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case '\\': out += '\\'; break;
      default:
        out += '\\';
        out += next;
        break;
    }
  }
  return out;
}

std::string EnvironmentPath(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0] == '/' ? std::string(value) : std::string();
}

std::vector<std::string> EnvironmentPaths(const char* name, std::vector<std::string> fallback) {
  const char* value = std::getenv(name);
  std::vector<std::string> paths;
  std::string_view rest = value ? value : "";
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    const std::string_view path = rest.substr(0, colon);
    if (!path.empty() && path.front() == '/') paths.emplace_back(path);
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return paths.empty() ? fallback : paths;
}

// Every file a desktop id may name below one applications directory.
void IdPaths(const std::string& directory, std::string_view id, int dashes, std::vector<std::string>& out) {
  out.push_back(directory + "/" + std::string(id));
  if (dashes <= 0) return;
  for (std::size_t dash = id.find('-'); dash != std::string_view::npos; dash = id.find('-', dash + 1))
    IdPaths(directory + "/" + std::string(id.substr(0, dash)), id.substr(dash + 1), dashes - 1, out);
}

std::vector<std::string> ApplicationDirs(const XdgDirs& dirs) {
  std::vector<std::string> out{dirs.dataHome + "/applications"};
  for (const std::string& dir : dirs.dataDirs) out.push_back(dir + "/applications");
  return out;
}

// The Exec line of a desktop id, when its file is a usable application.
std::optional<std::string> ApplicationExec(const XdgDirs& dirs, const std::string& id) {
  if (id.find('/') != std::string::npos || id.rfind('.', 0) == 0) return std::nullopt;
  for (const std::string& applications : ApplicationDirs(dirs)) {
    std::vector<std::string> candidates;
    IdPaths(applications, id, kMaxIdDashes, candidates);
    for (const std::string& path : candidates) {
      if (!FileExists(path)) continue;
      // The first file found for an id is the one that counts, usable or not.
      const Groups file = ReadKeyFile(path);
      const std::string group = "Desktop Entry";
      const std::string exec = UnescapeValue(Lookup(file, group, "Exec"));
      const std::string tryExec = UnescapeValue(Lookup(file, group, "TryExec"));
      const std::optional<std::vector<std::string>> command = PlayerCommand(exec, "/", "");
      const bool usable = Lookup(file, group, "Type") == "Application" && Lookup(file, group, "Hidden") != "true" &&
                          command && !FindExecutable(command->front()).empty() &&
                          (tryExec.empty() || !FindExecutable(tryExec).empty());
      if (!usable) return std::nullopt;
      return exec;
    }
  }
  return std::nullopt;
}

std::vector<std::string> MimeappsFiles(const XdgDirs& dirs) {
  std::vector<std::string> directories{dirs.configHome};
  directories.insert(directories.end(), dirs.configDirs.begin(), dirs.configDirs.end());
  for (const std::string& applications : ApplicationDirs(dirs)) directories.push_back(applications);
  std::vector<std::string> files;
  for (const std::string& directory : directories) {
    for (const std::string& desktop : dirs.desktops) files.push_back(directory + "/" + desktop + "-mimeapps.list");
    files.push_back(directory + "/mimeapps.list");
  }
  return files;
}

// Appends `code`'s expansion to `argument`; false for a code that expands to nothing.
bool ExpandFieldCode(char code, const std::string& moviePath, std::string& argument, bool& fileGiven) {
  switch (code) {
    case '%': argument += '%'; return true;
    case 'f': case 'F': argument += moviePath; fileGiven = true; return true;
    case 'u': case 'U': argument += FileUrlOf(moviePath); fileGiven = true; return true;
    default: return false;  // %i %c %k and the deprecated codes carry nothing a player needs here
  }
}

bool IsQuotedEscape(char c) { return c == '"' || c == '`' || c == '$' || c == '\\'; }

}  // namespace

XdgDirs XdgDirsFromEnvironment() {
  const std::string home = EnvironmentPath("HOME");
  XdgDirs dirs;
  dirs.configHome = EnvironmentPath("XDG_CONFIG_HOME");
  if (dirs.configHome.empty()) dirs.configHome = home + "/.config";
  dirs.dataHome = EnvironmentPath("XDG_DATA_HOME");
  if (dirs.dataHome.empty()) dirs.dataHome = home + "/.local/share";
  dirs.configDirs = EnvironmentPaths("XDG_CONFIG_DIRS", {"/etc/xdg"});
  dirs.dataDirs = EnvironmentPaths("XDG_DATA_DIRS", {"/usr/local/share", "/usr/share"});
  const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
  for (std::string_view rest = desktops ? desktops : ""; !rest.empty();) {
    const std::size_t colon = rest.find(':');
    if (colon != 0) dirs.desktops.push_back(AsciiLower(rest.substr(0, colon)));
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return dirs;
}

const std::vector<std::string>& AviMimeTypes() {
  static const std::vector<std::string> types{"video/x-msvideo", "video/vnd.avi", "video/avi", "video/msvideo"};
  return types;
}

std::optional<std::string> DefaultApplicationExec(const XdgDirs& dirs, const std::vector<std::string>& mimeTypes) {
  std::vector<Groups> lists;
  for (const std::string& path : MimeappsFiles(dirs))
    if (FileExists(path)) lists.push_back(ReadKeyFile(path));
  for (const Groups& list : lists)
    for (const std::string& type : mimeTypes)
      for (const std::string& id : SplitList(Lookup(list, "Default Applications", type)))
        if (std::optional<std::string> exec = ApplicationExec(dirs, id)) return exec;
  std::set<std::string> removed;
  for (const Groups& list : lists) {
    for (const std::string& type : mimeTypes)
      for (const std::string& id : SplitList(Lookup(list, "Removed Associations", type))) removed.insert(id);
    for (const std::string& type : mimeTypes)
      for (const std::string& id : SplitList(Lookup(list, "Added Associations", type)))
        if (!removed.count(id))
          if (std::optional<std::string> exec = ApplicationExec(dirs, id)) return exec;
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> PlayerCommand(const std::string& exec, const std::string& moviePath,
                                                      const std::string& subtitlePath) {
  std::vector<std::string> arguments;
  std::string argument;
  bool started = false, quoted = false, fileGiven = false;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (c == '%') {
      if (i + 1 < exec.size() && ExpandFieldCode(exec[++i], moviePath, argument, fileGiven)) started = true;
    } else if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < exec.size() && IsQuotedEscape(exec[i + 1])) {
        argument += exec[++i];
      } else {
        argument += c;
      }
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (started) arguments.push_back(std::move(argument));
      argument.clear();
      started = false;
    } else {
      if (c == '"') quoted = true;
      else argument += (c == '\\' && i + 1 < exec.size()) ? exec[++i] : c;
      started = true;
    }
  }
  if (quoted) return std::nullopt;
  if (started) arguments.push_back(std::move(argument));
  if (arguments.empty()) return std::nullopt;
  if (!fileGiven) arguments.push_back(moviePath);
  const std::string& program = arguments.front();
  const std::vector<std::string> subtitle = SubtitleArguments(program.substr(program.rfind('/') + 1), subtitlePath);
  arguments.insert(arguments.begin() + 1, subtitle.begin(), subtitle.end());
  return arguments;
}

std::vector<std::string> SubtitleArguments(const std::string& programName, const std::string& subtitlePath) {
  if (subtitlePath.empty()) return {};
  // Players not named here are given the movie alone; most load a subtitle of its name by themselves.
  if (programName == "mpv" || programName == "vlc" || programName == "cvlc") return {"--sub-file=" + subtitlePath};
  if (programName == "mplayer" || programName == "smplayer" || programName == "gnome-mplayer")
    return {"-sub", subtitlePath};
  return {};
}

std::string FileUrlOf(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
                       c == '/' || c == '-' || c == '.' || c == '_' || c == '~';
    if (plain) {
      url += c;
    } else {
      url += '%';
      url += kHex[byte >> 4];
      url += kHex[byte & 15];
    }
  }
  return url;
}

std::string FindExecutable(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();
  for (const std::string& directory : EnvironmentPaths("PATH", {})) {
    const std::string path = directory + "/" + name;
    if (IsExecutableFile(path)) return path;
  }
  return {};
}

}  // namespace platform
