// A start or an address that fails comes back to the window: the user sees the error box with the
// reason, and the launcher stays as it was instead of closing as if the movie had started.
#include <functional>
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "support/avi_bytes.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"

namespace app {
namespace {

using testsupport::TempDir;

TEST(FailedStart, TheReasonIsShownAndTheWindowStays) {
  const std::string startFailure = "Unable to start vplayer.exe: no such file";
  const std::string openFailure = "Unable to open http://imdb/Heat: no browser of the desktop takes it";
  struct Row {
    const char* what;
    std::function<void(TMainWin&)> act;
    std::string error;
  } rows[] = {
      {"VPlayer", [](TMainWin& w) { w.dxStartClick(); }, startFailure},
      {"BPlayer", [](TMainWin& w) { w.dxBPlayerClick(); }, startFailure},
      {"the auto-start", [](TMainWin& w) { w.Timer1Timer(); }, startFailure},
      {"Select Player", [](TMainWin& w) { w.dxSelectClick(); }, startFailure},
      {"a web search", [](TMainWin& w) { w.lblTitleClick(); }, openFailure},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempDir disc;
    disc.Write("Heat.1995.DVDRip.avi", testsupport::AviBytes());  // a title long enough to search for
    disc.Write("vplayer.exe");
    disc.Write("bplay.exe");
    const testsupport::ScopedChdir in(disc.path());
    testsupport::FakeServices services;
    services.launcherDirectory = disc.path() + "/";
    services.online = true;
    services.chosenProgram = "/opt/players/vplayer.exe";
    services.startFailure = startFailure;
    services.openFailure = openFailure;
    TMainWin window(services, services, services.System());
    window.FormCreate();
    ASSERT_TRUE(window.ShowAfterStartUp());

    row.act(window);

    EXPECT_EQ(services.starts.size() + services.urls.size(), 1u) << "one attempt";
    EXPECT_EQ(services.errors, std::vector<std::string>{row.error});
    EXPECT_TRUE(window.isVisible());
  }
}

}  // namespace
}  // namespace app
