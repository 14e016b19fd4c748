// Closing the window while the start-up still runs ends the program: the auto-start can fire while
// a start-up error box waits for its OK.
#include <QImage>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "support/jpeg_file.h"
#include "support/avi_bytes.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"

namespace app {
namespace {

using testsupport::TempDir;

// Shows the start-up error as the real services do: a modal box owned by the window, waiting in
// its own event loop. A watchdog ends a box that nothing else closes, so a fault fails the test
// instead of hanging it.
class ModalErrorServices : public testsupport::FakeServices {
 public:
  void ShowError(const std::string& text) override {
    errors.push_back(text);
    QMessageBox box(QMessageBox::Critical, QString(), QString::fromStdString(text), QMessageBox::Ok,
                    ownerWindow);
    QTimer::singleShot(5000, &box, [this, &box] {
      watchdogFired = true;
      box.accept();
    });
    box.exec();
  }
  bool watchdogFired = false;
};

TempDir DiscWithDamagedPoster() {
  TempDir disc;
  disc.Write("Film.avi", testsupport::AviBytes());
  disc.Write("vplayer.exe");
  QImage poster(200, 300, QImage::Format_RGB32);
  poster.fill(Qt::darkBlue);
  const std::string path = disc / "Film.jpg";
  EXPECT_TRUE(testsupport::SaveJpeg(poster, path));
  const std::string whole = disc.Read("Film.jpg");
  disc.Write("Film.jpg", whole.substr(0, whole.size() / 2));
  return disc;
}

TEST(StartUpClose, AutoStartUnderTheErrorBoxEndsTheProgramWithoutShowingTheWindow) {
  const TempDir disc = DiscWithDamagedPoster();
  const testsupport::ScopedChdir in(disc.path());
  ModalErrorServices services;
  services.launcherDirectory = disc.path() + "/";
  TMainWin window(services, services, services.System());
  window.Timer1->setInterval(50);  // the auto-start, due while the box is open

  window.FormCreate();

  ASSERT_EQ(services.errors.size(), 1u);
  EXPECT_EQ(services.errors[0], "Premature end of JPEG file");
  EXPECT_FALSE(services.watchdogFired) << "the box outlived the window";
  ASSERT_EQ(services.starts.size(), 1u);
  EXPECT_EQ(services.starts[0].program, "vplayer.exe");
  EXPECT_FALSE(window.ShowAfterStartUp());
  EXPECT_FALSE(window.isVisible());
}

TEST(StartUpClose, StartUpWithoutCloseShowsTheWindow) {
  TempDir disc;
  disc.Write("Film.avi", testsupport::AviBytes());
  const testsupport::ScopedChdir in(disc.path());
  testsupport::FakeServices services;
  services.launcherDirectory = disc.path() + "/";
  TMainWin window(services, services, services.System());
  window.FormCreate();
  EXPECT_TRUE(window.ShowAfterStartUp());
  EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace app
