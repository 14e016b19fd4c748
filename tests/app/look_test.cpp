// What the window looks like where a wrong colour would show: the button pictures on the button
// face and the warning's red.
#include "app/main_window.h"
#include "app/picture_button.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>


#include "support/fake_services.h"
#include "support/temp_dir.h"

namespace app {
namespace {

using testsupport::FakeServices;
using testsupport::ScopedChdir;
using testsupport::TempDir;

constexpr const char* kButtonPictures[] = {"vplayer.png", "bplayer.png", "select.png", "close.png",
                                           "info.png"};

QImage PictureAsset(const char* name) {
  return QImage(QStringLiteral(":/assets/") + QLatin1String(name)).convertToFormat(QImage::Format_ARGB32);
}

int PixelsWithAlphaAtLeast(const QImage& picture, int alpha) {
  int count = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) count += qAlpha(picture.pixel(x, y)) >= alpha;
  return count;
}

int DifferingPixels(const QImage& a, const QImage& b) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
  return count;
}

TEST(ButtonPictures, AreTransparentAroundTheDrawingSoTheFaceShowsThrough) {
  for (const char* name : kButtonPictures) {
    SCOPED_TRACE(name);
    const QImage picture = PictureAsset(name);
    ASSERT_EQ(picture.size(), QSize(36, 36));
    for (const QPoint corner : {QPoint(0, 35), QPoint(0, 0), QPoint(35, 0), QPoint(35, 35)})
      EXPECT_EQ(qAlpha(picture.pixel(corner)), 0) << corner.x() << "," << corner.y();
    EXPECT_GT(PixelsWithAlphaAtLeast(picture, 255), 36 * 36 / 5);  // there is a drawing

    // On the button, the picture changes only the pixels it draws on, not a square of its own.
    PictureButton with(QStringLiteral("&VPlayer"), QStringLiteral(":/assets/") + QLatin1String(name), nullptr);
    PictureButton without(QStringLiteral("&VPlayer"), QString(), nullptr);
    for (PictureButton* button : {&with, &without}) button->resize(97, 41);
    const int changed = DifferingPixels(with.grab().toImage(), without.grab().toImage());
    EXPECT_GT(changed, 0);
    EXPECT_LE(changed, PixelsWithAlphaAtLeast(picture, 1));
  }
}

struct Launcher {
  explicit Launcher(const TempDir& disc) : in(disc.path()) {
    services.launcherDirectory = disc.path() + "/";
    window = std::make_unique<TMainWin>(services, services, services.System());
    window->FormCreate();
  }
  ScopedChdir in;
  FakeServices services;
  std::unique_ptr<TMainWin> window;
};

TEST(WarningLine, IsDrawnInPureRedWithoutPaleFringes) {
  TempDir disc;
  disc.Write("Film.avi", "this is no video");
  Launcher launcher(disc);
  ClickLabel* warning = launcher.window->lblNotAvi;
  ASSERT_FALSE(warning->isHidden());
  const QImage shot = warning->grab().toImage();
  const QRgb background = shot.pixel(0, 0);
  int red = 0, other = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      const QRgb pixel = shot.pixel(x, y);
      if (pixel == background) continue;
      (qRed(pixel) == 255 && qGreen(pixel) == 0 && qBlue(pixel) == 0 ? red : other)++;
    }
  }
  EXPECT_GT(red, 200);
  EXPECT_EQ(other, 0);
}

// Close alone on the window has the focus, and its rectangle shows it before any key is pressed.
TEST(CloseButton, DrawsItsFocusRectangleWhenAloneOnTheWindow) {
  TempDir disc;
  Launcher launcher(disc);
  TMainWin& window = *launcher.window;
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ASSERT_TRUE(window.dxClose->hasFocus());
  const QImage focused = window.dxClose->grab().toImage();
  window.dxClose->clearFocus();
  const QImage unfocused = window.dxClose->grab().toImage();
  const QRect ring = window.dxClose->rect().adjusted(4, 4, -5, -5);  // where the rectangle runs
  int changedOnRing = 0;
  for (int x = ring.left(); x <= ring.right(); ++x)
    for (int y : {ring.top(), ring.bottom()}) changedOnRing += focused.pixel(x, y) != unfocused.pixel(x, y);
  for (int y = ring.top() + 1; y < ring.bottom(); ++y)
    for (int x : {ring.left(), ring.right()}) changedOnRing += focused.pixel(x, y) != unfocused.pixel(x, y);
  const int perimeter = 2 * (ring.width() + ring.height());
  EXPECT_GT(changedOnRing, perimeter / 3);
}

}  // namespace
}  // namespace app
