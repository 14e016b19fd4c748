// Names from the disc and the INI files that look like markup are shown as the signs they are: a
// picture named in them is never loaded, a link never made.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <iostream>

#include "app/main_window.h"
#include "app/system_services.h"
#include "support/avi_bytes.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"

namespace app {
namespace {

using testsupport::TempDir;

// A pure green picture named "P" in the disc directory: markup that loads it would draw it.
void WriteGreenPicture(const TempDir& disc) {
  QImage green(40, 40, QImage::Format_RGB32);
  green.fill(QColor(0, 255, 0));
  ASSERT_TRUE(green.save(QString::fromStdString(disc / "P"), "PNG"));
}

bool DrawsGreen(QWidget* widget) {
  const QImage shot = widget->grab().toImage();
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x)
      if (shot.pixelColor(x, y) == QColor(0, 255, 0)) return true;
  return false;
}

TEST(PlainText, DiscNamesThatLookLikeMarkupAreShownAsText) {
  struct Row {
    const char* what;
    const char* movie;
    std::string avi;  // the movie's bytes
    const char* ini;  // vplayer.ini, "" for none
    const char* label;
    const char* shown;
  } rows[] = {
      {"title from the name", "<img src=P>.avi", testsupport::AviBytes(), "", "lblTitle", "<Img Src=P>"},
      {"title from the INI file", "Film.avi", testsupport::AviBytes(),
       "[Zorvalin]\r\nFilmname=<img src=P> <a href=x>Link</a>\r\n", "lblTitle", "<img src=P> <a href=x>Link</a>"},
      {"rejected movie", "<img src=P>.avi", "not a movie", "", "lblNotAvi",
       "<img src=P>.avi is not a valid video file"},
      // Names every file system takes: an entity that rich text would turn into "&".
      {"entity in the name", "Tom &#38; Jerry.avi", testsupport::AviBytes(), "", "lblTitle", "Tom &#38; Jerry"},
      {"entity in a rejected movie", "Tom &#38; Jerry.avi", "not a movie", "", "lblNotAvi",
       "Tom &#38; Jerry.avi is not a valid video file"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempDir disc;
    // Windows names cannot hold '<' or '>'; there such a disc cannot exist.
    if (!QFile(QString::fromStdString(disc / row.movie)).open(QIODevice::WriteOnly)) {
      std::cout << "row \"" << row.what << "\" not run: this file system refuses the name " << row.movie << "\n";
      continue;
    }
    WriteGreenPicture(disc);
    disc.Write(row.movie, row.avi);
    disc.Write("vplayer.exe");
    if (*row.ini) disc.Write("vplayer.ini", row.ini);
    const testsupport::ScopedChdir in(disc.path());
    testsupport::FakeServices services;
    services.launcherDirectory = disc.path() + "/";
    TMainWin window(services, services, services.System());
    window.FormCreate();
    auto* label = window.findChild<QLabel*>(QString::fromLatin1(row.label));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().toStdString(), row.shown);
    EXPECT_FALSE(DrawsGreen(label));
  }
}

// The real services' boxes: a poster named like a link stays text, with nothing to click.
TEST(PlainText, MessageBoxesShowMarkupAsText) {
  const std::string text = "Cannot open <a href=\"file:///etc/passwd\">poster</a>.jpg";
  SystemDialogs services;
  std::vector<std::pair<Qt::TextFormat, QString>> seen;
  auto inspect = [&] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    for (QLabel* label : box->findChildren<QLabel*>())
      if (label->text().contains(QLatin1String("href"))) seen.emplace_back(label->textFormat(), label->text());
    static_cast<QMessageBox*>(box)->accept();
  };
  QTimer::singleShot(0, inspect);
  services.ShowError(text);
  QTimer::singleShot(0, inspect);
  services.ShowMessage(text, "<b>caption</b>");
  ASSERT_EQ(seen.size(), 2u);
  for (const auto& [format, shown] : seen) {
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown.toStdString(), text);
  }
}

}  // namespace
}  // namespace app
