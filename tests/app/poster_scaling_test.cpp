// A JPEG poster is fitted by its natural size and decoded no larger than it is drawn: the window,
// the box and the picture's place must be those of the natural size, whatever the decoded size.
#include "app/main_window.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "support/jpeg_file.h"
#include "support/avi_bytes.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"

namespace app {
namespace {

using testsupport::TempDir;

// Four grey quadrants, so that a picture drawn shifted, flipped or cut shows it.
constexpr int kGreys[4] = {40, 110, 180, 250};

void WriteQuadrantPoster(const std::string& path, int width, int height) {
  QImage image(width, height, QImage::Format_Grayscale8);
  QPainter painter(&image);
  for (int q = 0; q < 4; ++q) {
    const int left = q % 2 ? width / 2 : 0, top = q / 2 ? height / 2 : 0;
    const int right = q % 2 ? width : width / 2, bottom = q / 2 ? height : height / 2;
    painter.fillRect(left, top, right - left, bottom - top, QColor(kGreys[q], kGreys[q], kGreys[q]));
  }
  painter.end();
  ASSERT_TRUE(testsupport::SaveJpeg(image, path, 90));
}

TEST(PosterScaling, TheWindowFollowsTheNaturalSizeAndThePictureIsDecodedAtTheDrawnSize) {
  const struct {
    QSize natural;
    bool shown;     // a poster less than 2 pixels wide is not shown
    QRect box;      // imgPreview in the window
    QSize window;
    QRect drawn;    // where the picture lies inside the box
    QSize decoded;  // the smallest n/8 scale that covers `drawn`
  } rows[] = {
      {{1, 1}, false, {14, 36, 240, 350}, {385, 425}, {}, {}},
      {{251, 351}, true, {14, 36, 251, 351}, {387, 422}, {0, 0, 251, 351}, {251, 351}},
      {{400, 600}, true, {14, 36, 400, 600}, {536, 671}, {0, 0, 400, 600}, {400, 600}},
      {{1000, 1400}, true, {14, 36, 439, 615}, {575, 686}, {0, 0, 439, 614}, {500, 700}},
      {{4000, 6000}, true, {14, 36, 410, 615}, {546, 686}, {0, 0, 410, 615}, {500, 750}},
      {{1200, 800}, true, {14, 36, 887, 591}, {1023, 662}, {0, 0, 886, 591}, {900, 600}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.natural.width()) + "x" + std::to_string(row.natural.height()));
    TempDir disc;
    disc.Write("Film.avi", testsupport::AviBytes());
    disc.Write("vplayer.exe");
    WriteQuadrantPoster(disc / "Film.jpg", row.natural.width(), row.natural.height());
    testsupport::ScopedChdir in(disc.path());
    testsupport::FakeServices services;
    services.launcherDirectory = disc.path() + "/";
    TMainWin w(services, services, services.System());
    w.FormCreate();
    EXPECT_TRUE(services.errors.empty());
    EXPECT_EQ(w.Plan().poster.loaded, row.shown);
    EXPECT_EQ(w.imgPreview->geometry(), row.box);
    EXPECT_EQ(w.size(), row.window);
    if (!row.shown) continue;
    EXPECT_EQ(w.imgPreview->naturalSize(), row.natural);
    EXPECT_EQ(w.imgPreview->picture().size(), row.decoded);
    EXPECT_EQ(PictureRect(w.imgPreview->naturalSize(), w.imgPreview->size(), w.Plan().window.box), row.drawn);

    // On screen: each quadrant's middle has its grey, and the box outside the picture stays the
    // window's background.
    const QImage shot = w.imgPreview->grab().toImage();
    for (int q = 0; q < 4; ++q) {
      const QPoint middle(row.drawn.left() + row.drawn.width() * (q % 2 ? 3 : 1) / 4,
                          row.drawn.top() + row.drawn.height() * (q / 2 ? 3 : 1) / 4);
      EXPECT_NEAR(qGray(shot.pixel(middle)), kGreys[q], 6) << "quadrant " << q;
    }
    if (row.drawn.width() < row.box.width()) {
      EXPECT_EQ(shot.pixelColor(row.box.width() - 1, row.box.height() / 2), QColor(238, 238, 238));
    }
  }
}

TEST(PosterScaling, AForgedPosterSizeEndsTheStartUpBeforeTheWindowIsFitted) {
  TempDir disc;
  disc.Write("Film.avi", testsupport::AviBytes());
  WriteQuadrantPoster(disc / "Film.jpg", 64, 64);
  std::string jpeg = disc.Read("Film.jpg");
  const std::size_t sof = jpeg.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  jpeg.replace(sof + 5, 4, "\xEA\x60\xEA\x60");  // 60000 x 60000
  disc.Write("Film.jpg", jpeg);
  testsupport::ScopedChdir in(disc.path());
  testsupport::FakeServices services;
  TMainWin w(services, services, services.System());
  w.FormCreate();
  ASSERT_EQ(services.errors.size(), 1u);
  EXPECT_NE(services.errors[0].find("too large"), std::string::npos) << services.errors[0];
  EXPECT_EQ(w.size(), QSize(385, 425));
  EXPECT_EQ(w.imgPreview->picture().size(), QSize(240, 350));  // the default poster stays
}

}  // namespace
}  // namespace app
