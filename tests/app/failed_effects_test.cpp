// Effects that fail when they are carried out come back to the window: the user sees the error box
// with the reason, and the launcher goes on from there as the start-up plan says.
#include <QImage>
#include <functional>
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "support/avi_bytes.h"
#include "support/jpeg_file.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"

namespace app {
namespace {

using testsupport::TempDir;

// A start or an address that fails leaves the launcher as it was, rather than closing it as if the
// movie had started.
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

// An INI update that fails only at the write (a medium that fills up, an I/O error) ends the
// start-up there: the file keeps its bytes, and the window is where the design puts it, with the
// default poster, never fitted to the poster the start-up did not reach.
TEST(FailedIniWrite, TheWindowKeepsItsDesignPlaceAndTheDefaultPoster) {
  TempDir disc;
  disc.Write("Film.avi", testsupport::AviBytes());
  disc.Write("Film.srt", "1\n");
  disc.Write("vplayer.exe");
  disc.Write("vplayer.ini", "[Movie]\r\n");
  QImage poster(1000, 1400, QImage::Format_RGB32);
  poster.fill(Qt::darkBlue);
  ASSERT_TRUE(testsupport::SaveJpeg(poster, disc / "Film.jpg"));
  const testsupport::ScopedChdir in(disc.path());
  testsupport::FakeServices services;
  services.launcherDirectory = disc.path() + "/";
  services.online = true;
  const std::string ini = disc.path() + "/vplayer.ini";
  services.failingIniFiles = {ini};
  TMainWin window(services, services, services.System());
  window.FormCreate();

  EXPECT_EQ(services.iniUpdates, std::vector<std::string>{ini});
  EXPECT_EQ(services.errors, std::vector<std::string>{"Unable to write to " + ini});
  EXPECT_EQ(disc.Read("vplayer.ini"), "[Movie]\r\n");
  EXPECT_EQ(window.size(), QSize(385, 425));
  EXPECT_EQ(window.pos(), QPoint(319, 146));
  EXPECT_EQ(window.imgPreview->picture().size(), QSize(240, 350));  // the default poster
  EXPECT_EQ(window.imgPreview->size(), QSize(240, 350));
  EXPECT_FALSE(window.Plan().poster.loaded);
  EXPECT_FALSE(window.State().IsOnline);
  EXPECT_TRUE(window.ShowAfterStartUp());
}

}  // namespace
}  // namespace app
