// Finding the desktop's default video player and the command line that plays one movie in it.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/default_player_linux.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace {

using platform::XdgDirs;
using testsupport::TempDir;
using Files = std::vector<std::pair<std::string, std::string>>;  // path below the root, contents

// A private set of base directories below one root: config, sysconfig, data, sysdata; and bin
// with the players the .desktop files name.
struct XdgRoot {
  TempDir root;
  XdgDirs dirs;
  XdgRoot() {
    for (const char* dir : {"config", "sysconfig", "data/applications", "sysdata/applications", "bin"}) root.MakeDir(dir);
    dirs = {root / "config", {root / "sysconfig"}, root / "data", {root / "sysdata"}, {"gnome"}};
    for (const char* player : {"mpv", "vlc", "totem"}) {
      const std::string path = root.Write(std::string("bin/") + player, "#!/bin/sh\n");
      EXPECT_EQ(chmod(path.c_str(), 0755), 0);
    }
  }
  std::string Bin(const std::string& name) const { return root / ("bin/" + name); }
  // An application entry that runs bin/<program>.
  std::string Entry(const std::string& program, const std::string& extra = "") const {
    return "[Desktop Entry]\nType=Application\nName=" + program + "\nExec=" + Bin(program) + " %U\n" + extra;
  }
  void Put(const Files& files) const {
    for (const auto& [path, contents] : files) {
      const std::size_t slash = path.rfind('/');
      if (slash != std::string::npos) root.MakeDir(path.substr(0, slash));
      root.Write(path, contents);
    }
  }
};

std::string Defaults(const std::string& type, const std::string& ids) {
  return "[Default Applications]\n" + type + "=" + ids + "\n";
}

TEST(DefaultApplicationExec, FollowsTheMimeappsPrecedence) {
  const XdgRoot x;  // only for the entries' texts; each row gets a root of its own
  struct Row {
    const char* name;
    Files files;
    std::string expected;  // the program the Exec line runs, "" for none
  };
  const Row rows[] = {
      {"user default", {{"config/mimeapps.list", Defaults("video/x-msvideo", "mpv.desktop")},
                        {"data/applications/mpv.desktop", x.Entry("mpv")}}, "mpv"},
      {"an alias, system-wide", {{"sysdata/applications/mimeapps.list", Defaults("video/vnd.avi", "vlc.desktop")},
                                 {"sysdata/applications/vlc.desktop", x.Entry("vlc")}}, "vlc"},
      {"user over system", {{"config/mimeapps.list", Defaults("video/avi", "vlc.desktop")},
                            {"sysconfig/mimeapps.list", Defaults("video/x-msvideo", "mpv.desktop")},
                            {"sysdata/applications/mpv.desktop", x.Entry("mpv")},
                            {"sysdata/applications/vlc.desktop", x.Entry("vlc")}}, "vlc"},
      {"desktop's own list first", {{"config/gnome-mimeapps.list", Defaults("video/x-msvideo", "totem.desktop")},
                                    {"config/mimeapps.list", Defaults("video/x-msvideo", "vlc.desktop")},
                                    {"data/applications/totem.desktop", x.Entry("totem")},
                                    {"data/applications/vlc.desktop", x.Entry("vlc")}}, "totem"},
      {"missing entry skipped", {{"config/mimeapps.list", Defaults("video/msvideo", "gone.desktop; mpv.desktop;")},
                                 {"data/applications/mpv.desktop", x.Entry("mpv")}}, "mpv"},
      {"hidden, not an application, program or TryExec missing",
       {{"config/mimeapps.list", Defaults("video/x-msvideo", "a.desktop;b.desktop;c.desktop;d.desktop;vlc.desktop")},
        {"data/applications/a.desktop", x.Entry("mpv", "Hidden=true\n")},
        {"data/applications/b.desktop", "[Desktop Entry]\nType=Link\nExec=" + x.Bin("mpv") + "\n"},
        {"data/applications/c.desktop", "[Desktop Entry]\nType=Application\nExec=/nonexistent/player %f\n"},
        {"data/applications/d.desktop", x.Entry("mpv", "TryExec=no-such-player-here\n")},
        {"data/applications/vlc.desktop", x.Entry("vlc")}}, "vlc"},
      {"user's hidden copy hides the system's", {{"config/mimeapps.list", Defaults("video/x-msvideo", "mpv.desktop")},
                                                {"data/applications/mpv.desktop", x.Entry("mpv", "Hidden=true\n")},
                                                {"sysdata/applications/mpv.desktop", x.Entry("mpv")}}, ""},
      {"id in a subdirectory", {{"config/mimeapps.list", Defaults("video/x-msvideo", "kde-org.vlc.desktop")},
                                {"sysdata/applications/kde/org.vlc.desktop", x.Entry("vlc")}}, "vlc"},
      {"added association", {{"sysdata/applications/mimeapps.list", "[Added Associations]\nvideo/x-msvideo=vlc.desktop\n"},
                             {"sysdata/applications/vlc.desktop", x.Entry("vlc")}}, "vlc"},
      {"default before any added one", {{"config/mimeapps.list", "[Added Associations]\nvideo/x-msvideo=vlc.desktop\n"},
                                        {"sysconfig/mimeapps.list", Defaults("video/x-msvideo", "mpv.desktop")},
                                        {"data/applications/mpv.desktop", x.Entry("mpv")},
                                        {"data/applications/vlc.desktop", x.Entry("vlc")}}, "mpv"},
      {"removed by the user", {{"config/mimeapps.list", "[Removed Associations]\nvideo/x-msvideo=vlc.desktop\n"},
                               {"sysconfig/mimeapps.list", "[Added Associations]\nvideo/vnd.avi=vlc.desktop\n"},
                               {"data/applications/vlc.desktop", x.Entry("vlc")}}, ""},
      {"another type only", {{"config/mimeapps.list", Defaults("video/mp4", "mpv.desktop")},
                             {"data/applications/mpv.desktop", x.Entry("mpv")}}, ""},
      {"nothing", {}, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    XdgRoot root;
    // The entries name the programs of `x`; copy them over to this root's own.
    Files files = row.files;
    for (auto& [path, contents] : files) {
      for (std::size_t at; (at = contents.find(x.Bin(""))) != std::string::npos;)
        contents.replace(at, x.Bin("").size(), root.Bin(""));
    }
    root.Put(files);
    const std::optional<std::string> exec = platform::DefaultApplicationExec(root.dirs, platform::AviMimeTypes());
    if (row.expected.empty()) {
      EXPECT_FALSE(exec) << *exec;
    } else {
      ASSERT_TRUE(exec);
      EXPECT_EQ(exec->substr(0, exec->find(' ')), root.Bin(row.expected));
    }
  }
}

TEST(DefaultApplicationExec, UnescapesTheExecValue) {
  XdgRoot root;
  root.Put({{"config/mimeapps.list", Defaults("video/x-msvideo", "mpv.desktop")},
            {"data/applications/mpv.desktop",
             "# comment\n[Desktop Entry]\nExec[de]=wrong\nType = Application\nExec = " + root.Bin("mpv") +
                 "\\s--title=\"a\\\\\\\\b\" %f\n[Desktop Action x]\nExec=wrong\n"}});
  const std::optional<std::string> exec = platform::DefaultApplicationExec(root.dirs, platform::AviMimeTypes());
  ASSERT_TRUE(exec);
  EXPECT_EQ(*exec, root.Bin("mpv") + " --title=\"a\\\\b\" %f");
  const auto command = platform::PlayerCommand(*exec, "/m.avi", "");
  ASSERT_TRUE(command);
  EXPECT_EQ(*command, (std::vector<std::string>{root.Bin("mpv"), "--title=a\\b", "/m.avi"}));
}

TEST(PlayerCommand, ExpandsTheExecLine) {
  using Args = std::vector<std::string>;
  const std::string movie = "/media/cd/Film 1.avi";
  const std::string url = "file:///media/cd/Film%201.avi";
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
      {"\"/opt/My Player/play\" --file=%f %i %c %k %d", sub, Args{"/opt/My Player/play", "--file=" + movie}},
      {"player", sub, Args{"player", movie}},
      {"sh -c \"echo \\\"x\\\" \\$HOME \\`id\\` \\\\n\" %f", "", Args{"sh", "-c", "echo \"x\" $HOME `id` \\n", movie}},
      {"app 100%% \"\" %u", "", Args{"app", "100%", "", url}},
      {"  app\t%f  ", "", Args{"app", movie}},
      {"app \"unterminated %f", "", std::nullopt},
      {"%i", "", std::nullopt},
      {"", "", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.exec);
    EXPECT_EQ(platform::PlayerCommand(row.exec, movie, row.subtitle), row.expected);
  }
}

TEST(FileUrlOf, EncodesEveryByteOutsideTheUnreservedSet) {
  EXPECT_EQ(platform::FileUrlOf("/a b/%#?\xc7\x7f-_.~x.avi"), "file:///a%20b/%25%23%3F%C7%7F-_.~x.avi");
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

}  // namespace
