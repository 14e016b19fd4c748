// Select Player through the file dialog: the program the user picks decides the parameter text,
// a start closes the launcher, a cancel leaves it open with the auto-start stopped.
#include <QCloseEvent>
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "platform/files.h"
#include "support/avi_bytes.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"

namespace app {
namespace {

using testsupport::FakeServices;
using testsupport::ScopedChdir;
using testsupport::TempDir;

// Counts the close events the window receives.
class CloseCounter : public QObject {
 public:
  int closes = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Close) ++closes;
    return false;
  }
};

// The launcher started on a disc with Film.avi and the given subtitle file, shown as a user sees it,
// with the file dialog answering `chosen`.
struct SelectRun {
  SelectRun(const TempDir& disc, const std::string& chosen) : in(disc.path()) {
    services.launcherDirectory = disc.path() + "/";
    services.chosenProgram = chosen;
    window = std::make_unique<TMainWin>(services, services, services.System());
    window->FormCreate();
    window->installEventFilter(&counter);
    window->show();
    window->dxSelectClick();
  }
  ScopedChdir in;
  FakeServices services;
  CloseCounter counter;
  std::unique_ptr<TMainWin> window;
};

TempDir Disc(const std::string& subtitle) {
  TempDir disc;
  disc.Write("Film.avi", testsupport::AviBytes());
  if (!subtitle.empty()) disc.Write(subtitle, "1\n");
  return disc;
}

// The file dialog and the message boxes belong to the launcher window, not to a hidden leader.
TEST(SelectPlayer, TheDialogsOwnerIsTheLauncherWindow) {
  const TempDir disc = Disc("Film.srt");
  SelectRun run(disc, "");
  EXPECT_EQ(run.services.ownerWindow, run.window.get());
}

TEST(SelectPlayer, ThePickedProgramDecidesTheParameterTextAndTheLauncherCloses) {
  struct Row {
    const char* what;
    std::string chosen;
    std::string subtitle;
    std::string expected;  // with D for the disc directory followed by '/'
  };
  const Row rows[] = {
      {"vplayer, matching subtitle", "/opt/players/VPlayer.exe", "Film.srt", "\"DFilm.avi\" \"DFilm.srt\"/A /F /P11"},
      {"vplayer, subtitle of another name", "/opt/players/vplayer.exe", "english.srt",
       "\"DFilm.avi\" \"\"/A /F /P11"},
      {"vplayer, no subtitle", "/opt/VPLAYER.EXE", "", "\"DFilm.avi\" \"\"/A /F /P11"},
      {"any program whose path holds vplayer.exe", "/opt/MyVPlayer.exe", "Film.sub",
       "\"DFilm.avi\" \"DFilm.sub\"/A /F /P11"},
      {"bsplayer, subtitle of any name", "/opt/players/BPlay.exe", "english.srt",
       "\"DFilm.avi\" \"Denglish.srt\"  -fs -pan"},
      {"bsplayer, no subtitle", "/opt/bplay.exe", "", "\"DFilm.avi\"  -fs -pan"},
      {"another program gets the movie alone", "/usr/bin/mpv", "Film.srt", "\"DFilm.avi\""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const TempDir disc = Disc(row.subtitle);
    SelectRun run(disc, row.chosen);
    const std::string directory = platform::CurrentDirectory();
    std::string expected = row.expected;
    for (std::size_t at = expected.find("\"D"); at != std::string::npos; at = expected.find("\"D", at + 1))
      expected.replace(at + 1, 1, directory + platform::PathSeparator());

    EXPECT_EQ(run.services.dialogDirectories, std::vector<std::string>{directory});
    ASSERT_EQ(run.services.starts.size(), 1u);
    EXPECT_EQ(run.services.starts[0].program, row.chosen);
    EXPECT_EQ(run.services.starts[0].parameters, expected);
    EXPECT_EQ(run.counter.closes, 1);
    EXPECT_FALSE(run.window->isVisible());
    EXPECT_FALSE(run.window->Timer1->isActive());
  }
}

// A cancelled dialog, or a choice too short to be a program, starts nothing and keeps the launcher
// open; the auto-start stays stopped all the same.
TEST(SelectPlayer, CancelKeepsTheLauncherOpenWithTheTimerStopped) {
  for (const std::string chosen : {"", "x"}) {
    SCOPED_TRACE("chosen: \"" + chosen + "\"");
    const TempDir disc = Disc("Film.srt");
    SelectRun run(disc, chosen);
    EXPECT_EQ(run.services.dialogDirectories.size(), 1u);
    EXPECT_TRUE(run.services.starts.empty());
    EXPECT_EQ(run.counter.closes, 0);
    EXPECT_TRUE(run.window->isVisible());
    EXPECT_FALSE(run.window->Timer1->isActive());
  }
}

}  // namespace
}  // namespace app
