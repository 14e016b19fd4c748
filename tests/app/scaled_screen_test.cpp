// The window on a screen scaled to twice its layout size (200%, a 192-dpi screen): the layout stays
// in 96-dpi units, the poster is decoded and drawn at the screen's resolution, and a window larger
// than the scaled screen still starts with its title strip on it. A test program of its own, as
// the scale is fixed when the application starts.
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "support/avi_bytes.h"
#include "support/fake_services.h"
#include "support/jpeg_file.h"
#include "support/temp_dir.h"

namespace app {
namespace {

// Before the application is made in main().
const bool kScaled = qputenv("QT_SCALE_FACTOR", "2");

using testsupport::TempDir;

// A picture whose every pixel differs from its neighbours, so that any enlarging shows.
QImage FineDetail(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const unsigned v = (static_cast<unsigned>(x) * 2654435761u) ^ (static_cast<unsigned>(y) * 40503u);
      picture.setPixel(x, y, qRgb(v & 0xff, (v >> 8) & 0xff, (x + y) % 2 ? 255 : 0));
    }
  return picture;
}

// The share of the 2x2 pixel blocks (at even coordinates) inside `area` whose four pixels are
// identical: 1.0 when a picture was drawn at layout size and doubled.
double IdenticalBlockShare(const QImage& image, const QRect& area) {
  int blocks = 0, identical = 0;
  for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2)
    for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2) {
      const QRgb p = image.pixel(x, y);
      ++blocks;
      if (image.pixel(x + 1, y) == p && image.pixel(x, y + 1) == p && image.pixel(x + 1, y + 1) == p) ++identical;
    }
  return blocks ? static_cast<double>(identical) / blocks : 1.0;
}

TEST(ScaledScreen, ALargePosterIsDecodedAndDrawnAtTheScreensResolution) {
  ASSERT_TRUE(kScaled);
  struct Row {
    int width, height;
    bool exact;  // the decoder's own scale gives exactly the drawn size
  };
  for (const Row row : {Row{820, 1230, true}, Row{2400, 3600, false}}) {
    SCOPED_TRACE(std::to_string(row.width) + "x" + std::to_string(row.height));
    TempDir disc;
    disc.Write("Film.avi", testsupport::AviBytes());
    ASSERT_TRUE(testsupport::SaveJpeg(FineDetail(row.width, row.height), disc / "Film.jpg", 95));
    const testsupport::ScopedChdir in(disc.path());
    testsupport::FakeServices services;
    services.launcherDirectory = disc.path() + "/";
    TMainWin window(services, services, services.System());
    window.FormCreate();
    ASSERT_EQ(window.imgPreview->devicePixelRatioF(), 2.0);

    // The layout is the one of an unscaled screen: the box is 410 by 615 layout pixels.
    EXPECT_EQ(window.imgPreview->size(), QSize(410, 615));
    const QImage& poster = window.imgPreview->picture();
    EXPECT_EQ(poster.devicePixelRatio(), 2.0);
    if (row.exact) {
      EXPECT_EQ(poster.size(), QSize(820, 1230));
    } else {
      EXPECT_GE(poster.width(), 820);
      EXPECT_GE(poster.height(), 1230);
    }
    const QImage drawn = window.imgPreview->grab().toImage();
    ASSERT_EQ(drawn.size(), QSize(820, 1230));
    EXPECT_LT(IdenticalBlockShare(drawn, drawn.rect()), 0.05);
  }
}

// 1024 by 768 pixels at scale 2 are 512 by 384 layout pixels, less than the 385 by 425 window.
TEST(ScaledScreen, AWindowTallerThanTheScreenStartsAtTheTopOfTheWorkArea) {
  struct Row {
    platform::WorkArea work;
    QPoint expected;
  };
  const Row rows[] = {{{512, 384}, {63, 0}}, {{512, 370, 0, 14}, {63, 14}}};
  for (const Row& row : rows) {
    TempDir disc;
    const testsupport::ScopedChdir in(disc.path());
    testsupport::FakeServices services;
    services.screen = {512, 384};
    services.work = row.work;
    services.launcherDirectory = disc.path() + "/";
    TMainWin window(services, services, services.System());
    window.FormCreate();
    EXPECT_EQ(window.pos(), row.expected);  // centred, it would be at top -45
  }
}

}  // namespace
}  // namespace app
