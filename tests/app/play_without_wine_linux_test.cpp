// A disc whose player is a Windows program, on a desktop without Wine: Enter on VPlayer plays the
// movie in the desktop's default video player, registered in a private XDG environment. With Wine
// on the PATH the player itself starts, as before.
#include <sys/stat.h>

#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "platform/files.h"
#include "app/system_services.h"
#include "support/avi_bytes.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace app {
namespace {

using testsupport::TempDir;

// A program that writes its name and arguments, one a line, to `log`, then marks it complete.
// Only shell built-ins: the PATH holds nothing but the stand-ins.
void InstallLogger(const TempDir& dir, const std::string& name, const std::string& log) {
  const std::string path = dir.Write(
      "bin/" + name, "#!/bin/sh\nprintf '%s\\n' \"${0##*/}\" \"$@\" > '" + log + "'\n: > '" + log + ".done'\n");
  ASSERT_EQ(chmod(path.c_str(), 0755), 0);
}

std::string WaitForLog(const std::string& log) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 10000) {  // bounds a start that never happens, not the test's speed
    if (platform::FileExists(log + ".done")) {
      const platform::Result<std::string> read = platform::ReadFileHead(log, 1 << 16);
      return read ? *read : read.error();
    }
    QThread::msleep(20);
  }
  return "(nothing started)";
}

// The desktop: XDG directories of its own, nothing of the machine's, and a PATH of stand-ins.
// The player is the default for AVI files as GNOME writes it, or, as on a fresh system, only
// registered for them (mimeinfo.cache, as update-desktop-database writes it); "" for none.
struct Desktop {
  enum class Player { Default, Registered };
  TempDir home;
  testsupport::ScopedEnvironment env;
  explicit Desktop(const std::string& playerName, Player player = Player::Default) {
    for (const char* dir : {"bin", "config", "data/applications", "empty-config", "empty-data"}) home.MakeDir(dir);
    if (!playerName.empty()) {
      InstallLogger(home, playerName, home / "player.log");
      home.Write("data/applications/org.example.Player.desktop",
                 "[Desktop Entry]\nType=Application\nName=Player\nTryExec=" + playerName + "\nExec=" + playerName +
                     " --fullscreen %U\n");
      if (player == Player::Default)
        home.Write("config/mimeapps.list", "[Default Applications]\nvideo/x-msvideo=org.example.Player.desktop\n");
      else
        home.Write("data/applications/mimeinfo.cache", "[MIME Cache]\nvideo/x-msvideo=org.example.Player.desktop;\n");
    }
    env.Set("PATH", home / "bin");
    env.Set("XDG_CONFIG_HOME", home / "config");
    env.Set("XDG_DATA_HOME", home / "data");
    env.Set("XDG_CONFIG_DIRS", home / "empty-config");
    env.Set("XDG_DATA_DIRS", home / "empty-data");
    env.Set("XDG_CURRENT_DESKTOP", nullptr);
  }
};

// A disc with a Windows VPlayer (a PE header, not executable here), the movie and its subtitle.
TempDir WindowsPlayerDisc() {
  TempDir disc;
  disc.Write("Film One.avi", testsupport::AviBytes());
  disc.Write("Film One.srt", "1\n00:00:01,000 --> 00:00:02,000\nHello\n");
  disc.Write("vplayer.exe", "MZ\x90");
  return disc;
}

// Presses Enter on the focused VPlayer button of the launcher with the system's own services.
void PressEnterOnVPlayer(const TempDir& disc) {
  const testsupport::ScopedChdir in(disc.path());
  SystemServices services;
  SystemDialogs dialogs;
  TMainWin window(services, dialogs, ReadSystemFacts());
  window.FormCreate();
  ASSERT_TRUE(window.ShowAfterStartUp());
  ASSERT_EQ(window.focusWidget(), window.dxStart);
  QTest::keyClick(window.dxStart, Qt::Key_Return);
  EXPECT_FALSE(window.isVisible()) << "the launcher closes after the start";
}

TEST(PlayWithoutWine, TheDesktopsVideoPlayerGetsTheMovieAndTheSubtitleItTakes) {
  struct Row {
    std::string player;
    Desktop::Player how;
    std::vector<std::string> subtitleArguments;  // between the program and its own options
  };
  const Row rows[] = {{"mpv", Desktop::Player::Default, {"--sub-file=SUB"}},
                      {"videoplayer", Desktop::Player::Default, {}},
                      {"mpv", Desktop::Player::Registered, {"--sub-file=SUB"}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.player);
    Desktop desktop(row.player, row.how);
    const TempDir disc = WindowsPlayerDisc();
    PressEnterOnVPlayer(disc);
    const std::string subtitle = platform::ResolveCase(disc / "Film One.srt").value_or("");
    std::string expected = row.player + "\n";
    for (std::string argument : row.subtitleArguments) {
      argument.replace(argument.find("SUB"), 3, subtitle);
      expected += argument + "\n";
    }
    expected += "--fullscreen\nfile://" + disc.path() + "/Film%20One.avi\n";
    EXPECT_EQ(WaitForLog(desktop.home / "player.log"), expected);
  }
}

TEST(PlayWithoutWine, WithWineThePlayerItselfStarts) {
  Desktop desktop("mpv");
  InstallLogger(desktop.home, "wine", desktop.home / "wine.log");
  const TempDir disc = WindowsPlayerDisc();
  PressEnterOnVPlayer(disc);
  EXPECT_EQ(WaitForLog(desktop.home / "wine.log"),
            "wine\n" + disc.path() + "/vplayer.exe\nFilm One.avi\nFilm One.srt\n/A\n/F\n/P31\n");
  EXPECT_FALSE(platform::FileExists(desktop.home / "player.log"));
}

// Without any player the desktop's opener gets the movie, found on the PATH as the players are:
// the disc's own xdg-open, through a relative PATH entry, never runs.
TEST(PlayWithoutWine, WithoutAPlayerTheDesktopsOpenerGetsTheMovie) {
  Desktop desktop("");
  InstallLogger(desktop.home, "xdg-open", desktop.home / "opener.log");
  TempDir disc = WindowsPlayerDisc();
  const std::string discOpener = disc.Write("xdg-open", "#!/bin/sh\n: > PWNED\n");
  ASSERT_EQ(chmod(discOpener.c_str(), 0755), 0);
  desktop.env.Set("PATH", ".:" + desktop.home / "bin");
  PressEnterOnVPlayer(disc);
  EXPECT_EQ(WaitForLog(desktop.home / "opener.log"), "xdg-open\nfile://" + disc.path() + "/Film%20One.avi\n");
  EXPECT_FALSE(platform::FileExists(disc / "PWNED"));
}

}  // namespace
}  // namespace app
