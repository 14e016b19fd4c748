// The video player the desktop would choose, against GIO's own choice on the players' real
// .desktop files, and the command line that plays one movie in it.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include "platform/default_player_linux.h"
#include "platform/text.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace {

using platform::XdgDirs;
using testsupport::TempDir;
using Files = std::vector<std::pair<std::string, std::string>>;  // path below the root, contents

void Replace(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) text.replace(at, from.size(), to);
}

// A private set of base directories below one root: config, sysconfig, data, sys (the system's
// data); bin with the programs the .desktop files name, disc for the current directory. With
// `systemMime`, the machine's shared-mime-info is a system data directory too, as GIO sees it.
struct XdgRoot {
  TempDir root;
  XdgDirs dirs;
  explicit XdgRoot(const std::vector<std::string>& programs = {"mpv", "vlc", "totem"}, bool systemMime = false) {
    for (const char* dir : {"config", "sysconfig", "data/applications", "sys/applications", "mimedb", "bin", "disc"})
      root.MakeDir(dir);
    dirs = {root / "config", {root / "sysconfig"}, root / "data", {root / "sys"}, {"gnome"}};
    if (systemMime) {
      EXPECT_EQ(symlink("/usr/share/mime", (root / "mimedb/mime").c_str()), 0);
      dirs.dataDirs.push_back(root / "mimedb");
      dirs.desktops = {};
    }
    for (const std::string& program : programs) AddProgram(program);
  }
  std::string Bin(const std::string& name) const { return root / ("bin/" + name); }
  void AddProgram(const std::string& name, const std::string& dir = "bin") const {
    EXPECT_EQ(chmod(root.Write(dir + "/" + name, "#!/bin/sh\n").c_str(), 0755), 0);
  }
  // Writes the files, @BIN@ in them standing for the bin directory.
  void Put(const Files& files) const {
    for (auto [path, contents] : files) {
      if (path.find('/') != std::string::npos) root.MakeDir(path.substr(0, path.rfind('/')));
      Replace(contents, "@BIN@", root / "bin");
      root.Write(path, contents);
    }
  }
  std::string Chosen(const std::set<std::string>& types) const {
    const std::optional<platform::DesktopApplication> chosen = platform::ChooseApplication(dirs, types);
    return chosen ? chosen->id : "";
  }
  // One of Debian's entries as its package installs it, its programs in our bin.
  void Install(const std::string& entry) const {
    std::string text = Player(entry);
    ASSERT_FALSE(text.empty()) << entry;
    Replace(text, "/usr/bin/", root / "bin/");
    root.Write("sys/applications/" + entry, text);
  }
  static std::string Player(const std::string& entry) {
    const platform::Result<std::string> read = platform::ReadFileHead(AUTORUN_TEST_DATA "/players/" + entry, 1 << 20);
    return read ? *read : "";
  }
  // What a package's installation runs (or a user, on their own directory).
  void UpdateDatabase(const std::string& dir) const {
    const QString tool = QStandardPaths::findExecutable("update-desktop-database");
    ASSERT_FALSE(tool.isEmpty()) << "update-desktop-database is missing: make deps installs desktop-file-utils";
    EXPECT_EQ(QProcess::execute(tool, {QString::fromStdString(root / dir)}), 0);
  }
  // GIO's default application for AVI files, "" for none.
  std::string GioChoice(const std::string& desktop, const std::string& path) const {
    QProcess gio;
    QProcessEnvironment env;
    const std::pair<const char*, std::string> variables[] = {
        {"HOME", root.path()}, {"PATH", path}, {"LC_ALL", "C"}, {"XDG_CONFIG_HOME", dirs.configHome},
        {"XDG_CONFIG_DIRS", dirs.configDirs[0]}, {"XDG_DATA_HOME", dirs.dataHome},
        {"XDG_DATA_DIRS", dirs.dataDirs[0] + ":" + dirs.dataDirs[1]}, {"XDG_CURRENT_DESKTOP", desktop}, {"GIO_USE_VFS", "local"}};
    for (const auto& [name, value] : variables) env.insert(name, QString::fromStdString(value));
    gio.setProcessEnvironment(env);
    gio.setWorkingDirectory(QString::fromStdString(root / "disc"));
    const QString program = QStandardPaths::findExecutable("gio");
    EXPECT_FALSE(program.isEmpty()) << "gio is missing: make deps installs libglib2.0-bin";
    gio.start(program, {"mime", "video/x-msvideo"});
    EXPECT_TRUE(gio.waitForFinished(30000));
    const std::string out = gio.readAllStandardOutput().toStdString();
    const std::string first = out.substr(0, out.find('\n'));
    if (first.rfind("Default application for", 0) != 0) return "";
    return first.substr(first.rfind(": ") + 2);
  }
};

constexpr const char* kUserList = "config/mimeapps.list";
std::string Defaults(const std::string& type, const std::string& ids) {
  return "[Default Applications]\n" + type + "=" + ids + "\n";
}

// What GIO leaves open or gets wrong; where GIO has a say, the comparison with it below decides.
TEST(ChooseApplication, FollowsTheMimeappsPrecedence) {
  const std::set<std::string> types{"video/x-msvideo", "video/avi"};
  struct Row {
    const char* name;
    Files files;
    std::string expected;  // the desktop id, "" for none
  };
  const std::string app = "[Desktop Entry]\nType=Application\nExec=";
  const Row rows[] = {
      {"hidden, not an application, program or TryExec missing",
       {{kUserList, Defaults("video/x-msvideo", "a.desktop;b.desktop;c.desktop;d.desktop;vlc.desktop")},
        {"data/applications/a.desktop", app + "@BIN@/mpv\nHidden=true\n"},
        {"data/applications/b.desktop", "[Desktop Entry]\nType=Link\nExec=@BIN@/mpv\n"},
        {"data/applications/c.desktop", app + "/nonexistent/player %f\n"},
        {"data/applications/d.desktop", app + "mpv\nTryExec=no-such-player\n"},
        {"data/applications/vlc.desktop", app + "@BIN@/vlc %U\n"}}, "vlc.desktop"},
      {"another group before the entry",
       {{kUserList, Defaults("video/avi", "mpv.desktop")}, {"data/applications/mpv.desktop", "[X]\n" + app + "@BIN@/mpv\n"}}, ""},
      {"a program named relative to the current directory",
       {{kUserList, Defaults("video/avi", "mpv.desktop")}, {"data/applications/mpv.desktop", app + "bin/mpv\n"}}, ""},
      {"user's hidden copy hides the system's",
       {{kUserList, Defaults("video/x-msvideo", "mpv.desktop")}, {"data/applications/mpv.desktop", "[Desktop Entry]\nHidden=true\n"},
        {"sys/applications/mpv.desktop", app + "@BIN@/mpv\n"}}, ""},
      {"id in a subdirectory",
       {{kUserList, Defaults("video/x-msvideo", "kde-org.vlc.desktop")}, {"sys/applications/kde/org.vlc.desktop", app + "@BIN@/vlc\n"}},
       "kde-org.vlc.desktop"},
      {"ids that name no file below the directory",
       {{kUserList, Defaults("video/avi", "../mpv.desktop;.hidden.desktop;sub/vlc.desktop")},
        {"data/.hidden.desktop", app + "@BIN@/vlc\n"}, {"data/applications/sub/vlc.desktop", app + "@BIN@/vlc\n"}}, ""},
      {"another type only", {{kUserList, Defaults("video/mp4", "mpv.desktop")}, {"data/applications/mpv.desktop", app + "@BIN@/mpv\n"}}, ""},
      {"nothing", {}, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const XdgRoot root;
    root.Put(row.files);
    EXPECT_EQ(root.Chosen(types), row.expected);
  }
}

TEST(ChooseApplication, TakesTheEntrysValuesAndTheTerminalToShowIt) {
  testsupport::ScopedEnvironment env;
  XdgRoot root({"mpv", "x-terminal-emulator"});
  env.Set("PATH", root.root / "bin");
  root.Put({{kUserList, Defaults("video/x-msvideo", "mpv.desktop")},
            {"data/applications/mpv.desktop",
             "# comment\n[Desktop Entry]\nExec[de]=wrong\nType = Application\nName=mpv\\sPlayer\nIcon=mpv\n"
             "Terminal=true\nExec = mpv\\s--title=\"a\\\\\\\\b\" %f\n[Desktop Action x]\nExec=wrong\n"}});
  const std::optional<platform::DesktopApplication> chosen = platform::ChooseApplication(root.dirs, {"video/x-msvideo"});
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->exec, "mpv --title=\"a\\\\b\" %f");
  EXPECT_EQ(chosen->name, "mpv Player");
  EXPECT_EQ(chosen->terminal, root.Bin("x-terminal-emulator"));
  EXPECT_EQ(platform::PlayerCommand(*chosen, "/m.avi", "/m.srt"),
            (std::vector<std::string>{root.Bin("x-terminal-emulator"), "-e", "mpv", "--sub-file=/m.srt", "--title=a\\b", "/m.avi"}));
}

TEST(AviMimeTypes, FollowsTheAliasesOfSharedMimeInfo) {
  XdgRoot root;
  EXPECT_EQ(platform::AviMimeTypes(root.dirs),
            (std::set<std::string>{"video/x-msvideo", "video/vnd.avi", "video/avi", "video/msvideo"}));
  // As shared-mime-info 2.2 has them, and as later versions, which made video/vnd.avi the name.
  root.Put({{"sys/mime/aliases", "video/avi video/x-msvideo\nvideo/x-avi video/x-msvideo\nimage/x-avi image/avif\n"}});
  EXPECT_EQ(platform::AviMimeTypes(root.dirs), (std::set<std::string>{"video/x-msvideo", "video/avi", "video/x-avi"}));
  root.Put({{"data/mime/aliases", "video/x-msvideo video/vnd.avi\nvideo/divx video/vnd.avi\n"}});
  EXPECT_EQ(platform::AviMimeTypes(root.dirs), (std::set<std::string>{"video/vnd.avi", "video/x-msvideo", "video/divx"}));
}

// ---- GIO as the oracle ------------------------------------------------------------------------

const std::vector<std::string> kAllPlayers = {"mpv.desktop", "vlc.desktop", "smplayer.desktop",
                                              "smplayer_enqueue.desktop", "org.gnome.Totem.desktop",
                                              "io.github.celluloid_player.Celluloid.desktop", "org.xfce.Parole.desktop"};
const std::vector<std::string> kAllPrograms = {"mpv", "vlc", "smplayer", "totem", "celluloid", "parole"};

// VLC chosen by the user, whose own copy of it has that change.
Files VlcUserCopy(const std::string& key, const std::string& value) {
  std::string text = XdgRoot::Player("vlc.desktop");
  const std::size_t group = text.find("[Desktop Entry]\n") + 16;
  const std::size_t line = text.find("\n" + key + "=", group - 1);
  if (line != std::string::npos && line < text.find("\n[", group)) text.erase(line + 1, text.find('\n', line + 1) - line);
  return {{kUserList, Defaults("video/x-msvideo", "vlc.desktop")},
          {"data/applications/vlc.desktop", text.insert(group, key + "=" + value + "\n")}};
}

TEST(ChooseApplication, ChoosesAsGioDoesOnTheRealPlayersEntries) {
  struct Row {
    const char* name;
    std::vector<std::string> installed;  // Debian's entries in the system's applications directory
    Files files;                         // more files below the root
    std::string desktop = "";            // XDG_CURRENT_DESKTOP
    std::vector<std::string> programs = kAllPrograms;
    bool userDatabase = false;           // the user ran update-desktop-database on their own entries
    bool programsOnDisc = false;         // the programs lie in the current directory, "." on the PATH
    // Where the launcher chooses otherwise, on purpose: its choice and why.
    std::optional<std::string> differs = std::nullopt;
  };
  const Row rows[] = {
      {"fresh system, all six players", kAllPlayers, {}},
      {"VLC and Totem", {"vlc.desktop", "org.gnome.Totem.desktop"}, {}},
      {"Parole and SMPlayer", {"org.xfce.Parole.desktop", "smplayer.desktop", "smplayer_enqueue.desktop"}, {}},
      {"Celluloid and Totem, started over D-Bus", {"io.github.celluloid_player.Celluloid.desktop", "org.gnome.Totem.desktop"}, {}},
      {"Celluloid without its program", {"io.github.celluloid_player.Celluloid.desktop", "org.gnome.Totem.desktop"}, {},
       "", {"totem"}},
      {"GNOME set Totem", kAllPlayers, {{kUserList, Defaults("video/x-msvideo", "org.gnome.Totem.desktop")}}, "GNOME"},
      {"an alias key", kAllPlayers, {{kUserList, Defaults("video/avi", "vlc.desktop")}}},
      {"video/vnd.avi, unknown to Debian 12's shared-mime-info", kAllPlayers, {{kUserList, Defaults("video/vnd.avi", "vlc.desktop")}}},
      {"user's mimeapps.list before the desktop's system-wide list",
       kAllPlayers, {{"sysconfig/gnome-mimeapps.list", Defaults("video/x-msvideo", "org.gnome.Totem.desktop")},
                     {kUserList, Defaults("video/x-msvideo", "vlc.desktop")}}, "GNOME"},
      {"the current desktop's own list first",
       kAllPlayers, {{"config/xfce-mimeapps.list", Defaults("video/x-msvideo", "org.xfce.Parole.desktop")},
                     {"config/gnome-mimeapps.list", Defaults("video/x-msvideo", "org.gnome.Totem.desktop")},
                     {kUserList, Defaults("video/x-msvideo", "vlc.desktop")}}, "XFCE"},
      {"a desktop's own list cannot add", kAllPlayers,
       {{"config/gnome-mimeapps.list", "[Added Associations]\nvideo/x-msvideo=vlc.desktop\n"}}, "GNOME"},
      {"the user removes mpv", kAllPlayers, {{kUserList, "[Removed Associations]\nvideo/x-msvideo=mpv.desktop\n"}}},
      {"the user adds VLC", kAllPlayers, {{kUserList, "[Added Associations]\nvideo/x-avi=vlc.desktop\n"}}},
      {"removed system-wide, added by the user", kAllPlayers,
       {{"sysconfig/mimeapps.list", "[Removed Associations]\nvideo/x-msvideo=smplayer.desktop;mpv.desktop\n"},
        {kUserList, "[Added Associations]\nvideo/x-msvideo=smplayer.desktop\n"}}},
      {"defaults.list", kAllPlayers, {{"sys/applications/defaults.list", Defaults("video/x-msvideo", "org.xfce.Parole.desktop")}}},
      {"a missing entry, then Totem", kAllPlayers, {{kUserList, Defaults("video/x-msvideo", "gone.desktop;org.gnome.Totem.desktop")}}},
      {"user copy fails TryExec: the system's copy plays", kAllPlayers, VlcUserCopy("TryExec", "no-such-vlc")},
      {"user copy not an application", kAllPlayers, VlcUserCopy("Type", "Link")},
      {"user copy without its program", kAllPlayers, VlcUserCopy("Exec", "no-such-vlc %U")},
      {"user copy with NoDisplay still plays", kAllPlayers, VlcUserCopy("NoDisplay", "true")},
      {"user copy in a terminal", kAllPlayers, VlcUserCopy("Terminal", "true"),
       "", {"mpv", "vlc", "smplayer", "totem", "celluloid", "parole", "x-terminal-emulator"}},
      {"user copy without MimeType masks the system's association", kAllPlayers,
       {{"data/applications/mpv.desktop", "[Desktop Entry]\nType=Application\nName=mpv\nExec=mpv --fs %U\n"}}, "", kAllPrograms, true},
      {"a player of the user's own", kAllPlayers,
       {{"data/applications/my-player.desktop", "[Desktop Entry]\nType=Application\nName=Mine\nExec=@BIN@/totem --mine %f\nMimeType=video/x-msvideo;\n"}},
       "", kAllPrograms, true},
      // GIO starts an entry the user deleted.
      {"user copy with Hidden=true", kAllPlayers, VlcUserCopy("Hidden", "true"), "", kAllPrograms, false, false, "mpv.desktop"},
      // GIO starts a terminal player where no terminal shows it.
      {"a terminal player without a terminal", kAllPlayers,
       {{kUserList, Defaults("video/x-msvideo", "mpv-tty.desktop")},
        {"data/applications/mpv-tty.desktop", "[Desktop Entry]\nType=Application\nName=mpv\nTerminal=true\nExec=mpv --vo=tct %f\n"}},
       "", kAllPrograms, false, false, "mpv.desktop"},
      // GIO runs the disc's own programs through a relative PATH entry.
      {"the players only in the current directory", {"mpv.desktop", "org.gnome.Totem.desktop"}, {}, "", {"totem"}, false, true,
       "org.gnome.Totem.desktop"},
  };
  int agreed = 0, differed = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const XdgRoot machine(row.programs, true);
    for (const std::string& entry : row.installed) machine.Install(entry);
    for (const std::string& program : kAllPrograms)
      if (row.programsOnDisc && std::find(row.programs.begin(), row.programs.end(), program) == row.programs.end())
        machine.AddProgram(program, "disc");
    machine.Put(row.files);
    machine.UpdateDatabase("sys/applications");
    if (row.userDatabase) machine.UpdateDatabase("data/applications");
    const std::string path = machine.root / "bin" + (row.programsOnDisc ? ":." : "");
    const std::string gio = machine.GioChoice(row.desktop, path);

    testsupport::ScopedEnvironment env;
    env.Set("PATH", path);
    const testsupport::ScopedChdir in(machine.root / "disc");
    XdgDirs dirs = machine.dirs;
    if (!row.desktop.empty()) dirs.desktops = {platform::AsciiLower(row.desktop)};
    const std::optional<platform::DesktopApplication> chosen = platform::ChooseApplication(dirs, platform::AviMimeTypes(dirs));
    const std::string launcher = chosen ? chosen->id : "";
    if (row.differs) {
      EXPECT_NE(gio, launcher) << "GIO has come round";
      EXPECT_EQ(launcher, *row.differs);
      ++differed;
    } else {
      EXPECT_NE(gio, "") << "a configuration where GIO finds no player tells nothing";
      EXPECT_EQ(launcher, gio);
      ++agreed;
    }
  }
  std::cout << agreed << " configurations as GIO chooses, " << differed << " chosen otherwise on purpose\n";
}

// ---- Command lines ------------------------------------------------------------------------------

TEST(PlayerCommand, ExpandsTheExecLineAsGLibDoes) {
  using Args = std::vector<std::string>;
  const std::string movie = "/media/cd/Film 1.avi";
  const std::string url = "file:///media/cd/Film%201.avi";
  const std::string quoted = "'" + movie + "'";
  const std::string sub = "/media/cd/Film 1.srt";
  struct Row {
    std::string exec, subtitle;
    std::optional<Args> expected;
  };
  const Row rows[] = {
      {"mpv --player-operation-mode=pseudo-gui -- %U", sub,
       Args{"mpv", "--sub-file=" + sub, "--player-operation-mode=pseudo-gui", "--", url}},
      {"/usr/bin/vlc --started-from-file %U", sub, Args{"/usr/bin/vlc", "--sub-file=" + sub, "--started-from-file", url}},
      {"mplayer %F", sub, Args{"mplayer", "-sub", sub, movie}},
      {"smplayer %U", "", Args{"smplayer", url}},
      {"totem %U", sub, Args{"totem", url}},
      {"\"/opt/My Player/play\" --file=%f %i %c %k %d %D %n %N %v %m %z", sub,
       Args{"/opt/My Player/play", "--file=" + movie, "--icon", "my-icon", "My Player", "/apps/my.desktop"}},
      {"player", sub, Args{"player", movie}},
      {"sh -c \"echo \\\"x\\\" \\$HOME \\`id\\` \\\\n\" %f", "", Args{"sh", "-c", "echo \"x\" $HOME `id` \\n", movie}},
      {"app 100%% \"\" '' %u", "", Args{"app", "100%", "", "", url}},
      {"app 'it''s' 'a \"b\" \\c' x\\ y \\\n%f", "", Args{"app", "its", "a \"b\" \\c", "x y", movie}},
      {"  app\t%f  %", "", Args{"app", movie, "%"}},
      // A code inside quotes is one word of the shell the quotes are for.
      {"sh -c \"player %f\"", "", Args{"sh", "-c", "player " + quoted}},
      {"sh -c 'player %c %f'", "", Args{"sh", "-c", "player 'My Player' " + quoted}},
      {"sh -c \"player '%f' \\\"%c\\\"\"", "", Args{"sh", "-c", "player '" + movie + "' \"My Player\""}},
      {"app \"unterminated %f", "", std::nullopt},
      {"app 'unterminated", "", std::nullopt},
      {"%i", "", Args{"--icon", "my-icon", movie}},
      {"", "", std::nullopt},
  };
  platform::DesktopApplication application{"my.desktop", "/apps/my.desktop", "", "My Player", "my-icon", ""};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.exec);
    application.exec = row.exec;
    EXPECT_EQ(platform::PlayerCommand(application, movie, row.subtitle), row.expected);
  }
}

// The name of a movie is never run as code, whatever quotes it comes in.
TEST(PlayerCommand, AShellInTheExecLineGetsTheNameAsOneWord) {
  TempDir dir;
  const std::string logger = dir.Write("log-args", "#!/bin/sh\nprintf '[%s]' \"$@\" > \"${0%/*}/args\"\n");
  ASSERT_EQ(chmod(logger.c_str(), 0755), 0);
  const std::string movie = dir / "x $(touch PWNED1) `touch PWNED2` it's \"q\" ;touch PWNED3.avi";
  for (const std::string& exec : {"sh -c \"" + logger + " %f\"", "sh -c '" + logger + " %f'", "sh -c \"" + logger + " '%f'\"",
                                  "sh -c \"" + logger + " \\\"%f\\\"\"", "sh -c \"" + logger + " \\\\%f\""}) {
    SCOPED_TRACE(exec);
    platform::DesktopApplication application{"sh.desktop", "", exec, "", "", ""};
    const std::optional<std::vector<std::string>> command = platform::PlayerCommand(application, movie, "");
    ASSERT_TRUE(command);
    QStringList arguments;
    for (auto it = command->begin() + 1; it != command->end(); ++it) arguments << QString::fromStdString(*it);
    EXPECT_EQ(QProcess::execute(QString::fromStdString(command->front()), arguments), 0);
    for (const char* pwned : {"PWNED1", "PWNED2", "PWNED3"}) EXPECT_FALSE(platform::FileExists(dir / pwned)) << pwned;
    const std::string stray = exec.find("\\\\%f") == std::string::npos ? "" : "\\";  // the script's own backslash
    EXPECT_EQ(dir.Read("args"), "[" + stray + movie + "]");
  }
}

TEST(FindExecutable, OnlyAbsoluteEntriesOfThePath) {
  TempDir dir;
  ASSERT_EQ(chmod(dir.Write("xdg-open", "#!/bin/sh\n").c_str(), 0755), 0);
  dir.MakeDir("bin");
  ASSERT_EQ(chmod(dir.Write("bin/xdg-open", "#!/bin/sh\n").c_str(), 0755), 0);
  testsupport::ScopedEnvironment env;
  const testsupport::ScopedChdir in(dir.path());
  env.Set("PATH", ".:bin::" + dir.path());
  EXPECT_EQ(platform::FindExecutable("xdg-open"), dir / "xdg-open");
  env.Set("PATH", ".:bin:");
  EXPECT_EQ(platform::FindExecutable("xdg-open"), "");
  EXPECT_EQ(platform::FindExecutable("./xdg-open"), "");
  EXPECT_EQ(platform::FindExecutable(dir / "bin/xdg-open"), dir / "bin/xdg-open");
}

TEST(XdgDirsFromEnvironment, UsesTheDefaultsForUnsetOrRelativeValues) {
  testsupport::ScopedEnvironment env;
  env.Set("HOME", "/home/u");
  env.Set("XDG_CONFIG_HOME", "relative/config");
  env.Set("XDG_DATA_HOME", nullptr);
  env.Set("XDG_CONFIG_DIRS", "");
  env.Set("XDG_DATA_DIRS", "rel:/opt/share::/usr/share");
  env.Set("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
  const XdgDirs dirs = platform::XdgDirsFromEnvironment();
  EXPECT_EQ(dirs.configHome, "/home/u/.config");
  EXPECT_EQ(dirs.dataHome, "/home/u/.local/share");
  EXPECT_EQ(dirs.configDirs, std::vector<std::string>{"/etc/xdg"});
  EXPECT_EQ(dirs.dataDirs, (std::vector<std::string>{"/opt/share", "/usr/share"}));
  EXPECT_EQ(dirs.desktops, (std::vector<std::string>{"ubuntu", "gnome"}));

  env.Set("XDG_CONFIG_HOME", "/c");
  env.Set("XDG_DATA_HOME", "/d");
  env.Set("XDG_DATA_DIRS", nullptr);
  env.Set("XDG_CURRENT_DESKTOP", nullptr);
  const XdgDirs set = platform::XdgDirsFromEnvironment();
  EXPECT_EQ(set.configHome, "/c");
  EXPECT_EQ(set.dataHome, "/d");
  EXPECT_EQ(set.dataDirs, (std::vector<std::string>{"/usr/local/share", "/usr/share"}));
  EXPECT_TRUE(set.desktops.empty());
}

// An id from any list costs look-ups in proportion to the directories it names, not to the
// ways its dashes could be read; directories that loop back cost no more than the cap.
TEST(DesktopIdFile, LooksOnlyWhereDirectoriesExist) {
  std::string dashes;
  for (int i = 0; i < 40; ++i) dashes += "x-";
  struct Row {
    const char* name;
    std::string id, file;  // the file below the directory, "" for none
    int maxProbes;
  };
  const Row rows[] = {
      {"deep, past any count of dashes", "a-b-c-d-e-f-g-h-i.desktop", "a/b/c/d/e/f/g/h/i.desktop", 17},
      {"forty dashes, one directory", dashes + "vlc.desktop", "x/" + dashes.substr(2) + "vlc.desktop", 3},
      {"forty dashes, no file", dashes + "none.desktop", "", 2 * 42},
      {"forty dashes through directories that loop", "loop-" + dashes + "none.desktop", "", platform::kMaxIdProbes},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    dir.MakeDir("x");
    dir.MakeDir("loop");
    for (const char* name : {"loop/x", "loop/x-x"}) ASSERT_EQ(symlink(".", (dir / name).c_str()), 0);
    if (!row.file.empty()) {
      dir.MakeDir(row.file.substr(0, row.file.rfind('/')));
      dir.Write(row.file, "[Desktop Entry]\n");
    }
    int probes = 0;
    EXPECT_EQ(platform::DesktopIdFile(dir.path(), row.id, &probes), row.file.empty() ? "" : dir / row.file);
    EXPECT_LE(probes, row.maxProbes);
  }
}

// An entry counts only when the command line it gives runs a program: field codes before the
// program would make another word the one run.
TEST(ChooseApplication, TakesOnlyAnEntryWhoseCommandRunsAProgram) {
  testsupport::ScopedEnvironment env;
  const XdgRoot root;
  env.Set("PATH", root.root / "bin");
  for (const std::string exec : {"%k @BIN@/mpv", "%i @BIN@/mpv", "%f @BIN@/mpv", "%c", "mpv %f"}) {
    SCOPED_TRACE(exec);
    root.Put({{"config/mimeapps.list", Defaults("video/x-msvideo", "a.desktop;vlc.desktop")},
              {"data/applications/a.desktop", "[Desktop Entry]\nType=Application\nName=mpv\nIcon=mpv\nExec=" + exec + "\n"},
              {"data/applications/vlc.desktop", "[Desktop Entry]\nType=Application\nExec=@BIN@/vlc %U\n"}});
    const std::optional<platform::DesktopApplication> chosen = platform::ChooseApplication(root.dirs, {"video/x-msvideo"});
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->id, exec.find('@') == std::string::npos ? "a.desktop" : "vlc.desktop");
    EXPECT_NE(platform::FindExecutable(platform::PlayerCommand(*chosen, "/m.avi", "").value().front()), "");
  }
}

}  // namespace
