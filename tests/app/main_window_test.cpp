#include "app/main_window.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/text.h"
#include "support/jpeg_file.h"
#include "support/avi_bytes.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"

namespace app {
namespace {

using testsupport::FakeServices;
using testsupport::ScopedChdir;
using testsupport::TempDir;

using Column = std::vector<std::pair<std::string, int>>;

// A disc directory in a temporary folder and the launcher window started on it.
struct Launcher {
  explicit Launcher(const TempDir& disc, bool online = false) : in(disc.path()) {
    services.launcherDirectory = disc.path() + "/";
    services.online = online;
    window = std::make_unique<TMainWin>(services, services, services.System());
    window->FormCreate();
  }
  TMainWin& w() { return *window; }
  Column VisibleColumn() const {
    Column column;
    for (QWidget* b : {static_cast<QWidget*>(window->dxStart), static_cast<QWidget*>(window->dxBPlayer),
                       static_cast<QWidget*>(window->dxSelect), static_cast<QWidget*>(window->dxClose)})
      if (!b->isHidden()) column.emplace_back(b->objectName().toStdString(), b->y());
    std::sort(column.begin(), column.end(), [](auto& a, auto& b) { return a.second < b.second; });
    return column;
  }
  std::string Focus() const {
    return window->focusWidget() ? window->focusWidget()->objectName().toStdString() : "";
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window.get();
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
  }

  ScopedChdir in;
  FakeServices services;
  std::unique_ptr<TMainWin> window;
};

TempDir MovieDisc(bool vplayer, bool bplayer) {
  TempDir disc;
  disc.Write("Film.avi", testsupport::AviBytes());
  if (vplayer) disc.Write("VPlayer.EXE");  // found whatever its letter case
  if (bplayer) disc.Write("bplay.exe");
  return disc;
}

TEST(LauncherWindow, ColumnClosesUpForThePlayersPresentAndFocusesTheFirst) {
  struct Row {
    bool vplayer, bplayer;
    Column column;
    const char* focus;
  } rows[] = {
      {true, true, {{"dxStart", 39}, {"dxBPlayer", 95}, {"dxSelect", 151}, {"dxClose", 215}}, "dxStart"},
      {true, false, {{"dxStart", 39}, {"dxSelect", 95}, {"dxClose", 151}}, "dxStart"},
      {false, true, {{"dxBPlayer", 39}, {"dxSelect", 95}, {"dxClose", 151}}, "dxBPlayer"},
      {false, false, {{"dxSelect", 39}, {"dxClose", 95}}, "dxSelect"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "vplayer=" << row.vplayer << " bplayer=" << row.bplayer);
    const TempDir disc = MovieDisc(row.vplayer, row.bplayer);
    Launcher launcher(disc);
    EXPECT_EQ(launcher.VisibleColumn(), row.column);
    EXPECT_FALSE(launcher.w().dxInfo->isHidden());
    EXPECT_EQ(launcher.Focus(), row.focus);
    EXPECT_TRUE(launcher.w().Timer1->isActive());
  }
}

TEST(LauncherWindow, WithoutAMovieOnlyCloseRemainsFocusedAndTheTimerStops) {
  TempDir disc;
  disc.Write("vplayer.exe");
  disc.Write("bplay.exe");
  Launcher launcher(disc);
  EXPECT_EQ(launcher.VisibleColumn(), (Column{{"dxClose", 39}}));
  EXPECT_TRUE(launcher.w().dxInfo->isHidden());
  EXPECT_EQ(launcher.Focus(), "dxClose");
  EXPECT_FALSE(launcher.w().Timer1->isActive());
  EXPECT_TRUE(launcher.w().lblNotAvi->text().isEmpty());
  EXPECT_TRUE(launcher.w().lblTitle->text().isEmpty());
  EXPECT_EQ(launcher.w().imgPreview->picture().size(), QSize(240, 350));  // the default poster
  EXPECT_EQ(launcher.w().size(), QSize(385, 425));
  EXPECT_EQ(launcher.w().pos(), QPoint(319, 146));
}

TEST(LauncherWindow, ARejectedFirstMovieLeavesLaterOnesUntried) {
  // The directory's own order decides which *.avi comes first; make discs until the bad one does.
  for (int attempt = 0; attempt < 64; ++attempt) {
    TempDir disc;
    const std::string bad = "bad" + std::to_string(attempt) + ".avi";
    disc.Write(bad, "RIFF....avi ");  // lower-case form type: not an AVI file
    disc.Write("good.avi", testsupport::AviBytes());
    disc.Write("vplayer.exe");
    if (testsupport::EntryNames(disc.path(), "*.avi").front() != bad) continue;
    Launcher launcher(disc);
    EXPECT_EQ(launcher.w().State().MovieFileName, bad);
    EXPECT_EQ(launcher.w().lblNotAvi->text().toStdString(), bad + " is not a valid video file");
    EXPECT_EQ(launcher.VisibleColumn(), (Column{{"dxClose", 39}}));
    EXPECT_FALSE(launcher.w().Timer1->isActive());
    return;
  }
  GTEST_SKIP() << "the file system never listed the rejected movie first";
}

TEST(LauncherWindow, KeysThatReachThePreviewStopTheTimerAndFocusMovesDoNot) {
  struct Row {
    std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
    bool timerRuns;
    const char* focus;
  } rows[] = {
      {{{Qt::Key_Tab, Qt::NoModifier}}, true, "dxBPlayer"},
      {{{Qt::Key_Backtab, Qt::ShiftModifier}}, true, "dxClose"},
      {{{Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Tab, Qt::NoModifier},
        {Qt::Key_Tab, Qt::NoModifier}}, true, "dxStart"},  // Tab skips dxInfo and wraps
      {{{Qt::Key_Up, Qt::NoModifier}}, true, "dxInfo"},      // arrows reach dxInfo
      {{{Qt::Key_Left, Qt::NoModifier}, {Qt::Key_Right, Qt::NoModifier}, {Qt::Key_Down, Qt::NoModifier}},
       true, "dxBPlayer"},
      {{{Qt::Key_Escape, Qt::NoModifier}}, false, "dxStart"},
      {{{Qt::Key_X, Qt::NoModifier}}, false, "dxStart"},
      {{{Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Space, Qt::NoModifier}}, false, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "first key " << row.keys.front().first);
    const TempDir disc = MovieDisc(true, true);
    Launcher launcher(disc);
    for (const auto& [key, modifiers] : row.keys) launcher.Key(key, modifiers);
    EXPECT_EQ(launcher.w().Timer1->isActive(), row.timerRuns);
    if (row.focus) {
      EXPECT_EQ(launcher.Focus(), row.focus);
    }
  }
}

TEST(LauncherWindow, TabSkipsHiddenButtons) {
  const TempDir disc = MovieDisc(false, true);
  Launcher launcher(disc);
  EXPECT_EQ(launcher.Focus(), "dxBPlayer");
  launcher.Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(launcher.Focus(), "dxClose");
  launcher.Key(Qt::Key_Tab);
  EXPECT_EQ(launcher.Focus(), "dxBPlayer");
}

TEST(LauncherWindow, EnterActivatesTheFocusedButtonAndAltLettersTheirButtons) {
  {
    const TempDir disc = MovieDisc(true, true);
    Launcher launcher(disc);
    launcher.Key(Qt::Key_Tab);
    launcher.Key(Qt::Key_Tab);  // dxSelect
    launcher.Key(Qt::Key_Return);
    EXPECT_EQ(launcher.services.dialogDirectories.size(), 1u);
    EXPECT_FALSE(launcher.w().Timer1->isActive());  // stopped by the handler, not the key
  }
  {
    const TempDir disc = MovieDisc(true, true);
    Launcher launcher(disc);
    launcher.Key(Qt::Key_S, Qt::AltModifier);
    EXPECT_FALSE(launcher.w().memoNFO->isHidden());
    EXPECT_EQ(launcher.w().dxInfo->text(), "&Show Poster");
  }
  {
    const TempDir disc = MovieDisc(true, false);
    Launcher launcher(disc);
    launcher.Key(Qt::Key_B, Qt::AltModifier);  // its button is hidden: nothing starts
    EXPECT_TRUE(launcher.services.starts.empty());
    EXPECT_FALSE(launcher.w().Timer1->isActive());
  }
}

TEST(LauncherWindow, TimerStartsVPlayerFirstThenBSPlayerElseStopsItself) {
  struct Row {
    bool vplayer, bplayer;
    const char* program;
  } rows[] = {{true, true, "vplayer.exe"}, {false, true, "bplay.exe"}, {false, false, nullptr}};
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "vplayer=" << row.vplayer << " bplayer=" << row.bplayer);
    const TempDir disc = MovieDisc(row.vplayer, row.bplayer);
    Launcher launcher(disc);
    launcher.w().Timer1Timer();
    EXPECT_FALSE(launcher.w().Timer1->isActive());
    if (row.program) {
      ASSERT_EQ(launcher.services.starts.size(), 1u);
      EXPECT_TRUE(platform::AsciiEqualNoCase(launcher.services.starts[0].program, row.program));
    } else {
      EXPECT_TRUE(launcher.services.starts.empty());
    }
  }
}

TEST(LauncherWindow, ShowInfoTogglesCaptionsAndFillsOnce) {
  const TempDir disc = MovieDisc(true, false);
  disc.Write("notes.nfo", "Release notes\r\nline two\r\n");
  Launcher launcher(disc);
  TMainWin& w = launcher.w();
  w.dxInfoClick();
  EXPECT_FALSE(w.Timer1->isActive());
  EXPECT_FALSE(w.memoNFO->isHidden());
  EXPECT_EQ(w.dxInfo->text(), "&Show Poster");
  const QString filled = w.memoNFO->toPlainText();
  EXPECT_TRUE(filled.contains("Release notes"));
  w.dxInfoClick();
  EXPECT_TRUE(w.memoNFO->isHidden());
  EXPECT_EQ(w.dxInfo->text(), "&Show Info ");
  disc.Write("notes.nfo", "changed");
  w.dxInfoClick();
  EXPECT_EQ(w.memoNFO->toPlainText(), filled);
}

// The panel is made at the first Show Info, long after the start-up fitted the window to the poster.
TEST(LauncherWindow, TheTextPanelMadeLateLiesExactlyOverThePosterBoxUnderTheButtons) {
  for (const QSize poster : {QSize(100, 100), QSize(600, 800)}) {
    SCOPED_TRACE(poster.width());
    const TempDir disc = MovieDisc(true, false);
    QImage picture(poster, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    ASSERT_TRUE(testsupport::SaveJpeg(picture, disc / "Film.jpg"));
    Launcher launcher(disc);
    TMainWin& w = launcher.w();
    EXPECT_EQ(w.memoNFO, nullptr);
    w.dxInfoClick();
    ASSERT_NE(w.memoNFO, nullptr);
    EXPECT_EQ(w.memoNFO->geometry(), w.imgPreview->geometry());
    const QObjectList& children = w.children();
    EXPECT_LT(children.indexOf(w.memoNFO), children.indexOf(w.dxClose));
    EXPECT_GT(children.indexOf(w.memoNFO), children.indexOf(w.imgPreview));
  }
}

TEST(LauncherWindow, UnreadableNotesShowTheErrorAndTheClickDoesNotSwitchSides) {
  const TempDir disc = MovieDisc(true, false);
  disc.MakeDir("notes.nfo");  // listed like a file, but cannot be read as one
  Launcher launcher(disc);
  TMainWin& w = launcher.w();
  w.dxInfoClick();
  ASSERT_EQ(launcher.services.errors.size(), 1u);
  EXPECT_TRUE(w.memoNFO->isHidden());
  EXPECT_EQ(w.dxInfo->text(), "&Show Info ");
  EXPECT_TRUE(w.State().InfoPanelFilled);
  w.dxInfoClick();  // switches now, without filling again
  EXPECT_FALSE(w.memoNFO->isHidden());
  EXPECT_EQ(launcher.services.errors.size(), 1u);
}

TEST(LauncherWindow, ADamagedPosterEndsTheStartUpWithAnErrorBox) {
  struct Row {
    const char* poster;
    bool defaultPosterStays;
  } rows[] = {{"Film.jpg", true}, {"Film.bmp", false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.poster);
    const TempDir disc = MovieDisc(true, false);
    disc.Write(row.poster, "this is not a picture");
    Launcher launcher(disc, /*online=*/true);
    TMainWin& w = launcher.w();
    EXPECT_EQ(launcher.services.errors.size(), 1u);
    EXPECT_FALSE(w.State().IsOnline);  // the online check came after the poster
    EXPECT_EQ(w.size(), QSize(385, 425));
    EXPECT_EQ(w.imgPreview->picture().size(), row.defaultPosterStays ? QSize(240, 350) : QSize(0, 0));
    EXPECT_TRUE(w.Timer1->isActive());
  }
}

TEST(LauncherWindow, OnlineTitleAndPosterSearchWithoutStoppingTheTimerAndThePopupStopsIt) {
  const TempDir disc;
  disc.Write("The.Matrix.1999.DVDRip.XviD-DEMON.avi", testsupport::AviBytes());
  disc.Write("vplayer.exe");
  for (const bool online : {true, false}) {
    SCOPED_TRACE(online ? "online" : "offline");
    Launcher launcher(disc, online);
    TMainWin& w = launcher.w();
    EXPECT_EQ(w.lblTitle->text(), "The Matrix 1999");
    QTest::mouseClick(w.lblTitle, Qt::LeftButton);
    QTest::mouseClick(w.imgPreview, Qt::LeftButton);
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_EQ(launcher.services.urls.size(), online ? 2u : 0u);
    if (online) {
      EXPECT_EQ(launcher.services.urls[0],
                "http://www.imdb.com/Tsearch?title=Matrix 1999, The&type=substring&tv=off&from_year=1890"
                "&to_year=2009&sort=smart");
    }
    EXPECT_EQ(w.lblTitle->cursor().shape(), online ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 200), w.mapToGlobal(QPoint(5, 200)));
    QApplication::sendEvent(&w, &menu);
    EXPECT_EQ(w.PopupMenu1 && w.PopupMenu1->isVisible(), online);
    EXPECT_EQ(w.Timer1->isActive(), !online);
    if (w.PopupMenu1) w.PopupMenu1->close();
  }
}

TEST(LauncherWindow, ClicksOnTheBackgroundStopTheTimerButNotOnTheStrip) {
  const TempDir disc = MovieDisc(true, false);
  Launcher launcher(disc);
  QTest::mouseClick(launcher.w().imgTitle, Qt::LeftButton, {}, QPoint(40, 10));
  EXPECT_TRUE(launcher.w().Timer1->isActive());
  QTest::mouseClick(&launcher.w(), Qt::LeftButton, {}, QPoint(5, 300));
  EXPECT_FALSE(launcher.w().Timer1->isActive());
}

TEST(LauncherWindow, DesignFrameHasItsStripAndGrayEdgeLine) {
  TempDir disc;
  Launcher launcher(disc);
  TMainWin& w = launcher.w();
  EXPECT_EQ(w.imgTitle->geometry(), QRect(1, 0, 383, 22));
  EXPECT_EQ(w.imgTitleLabel->x(), 159);
  EXPECT_EQ(w.closeButton->x(), 363);
  const QImage shot = w.grab().toImage();
  const QColor gray(128, 128, 128);
  EXPECT_EQ(shot.pixelColor(0, 200), gray);
  EXPECT_EQ(shot.pixelColor(384, 200), gray);
  EXPECT_EQ(shot.pixelColor(100, 424), gray);
  EXPECT_EQ(shot.pixelColor(100, 423), QColor(238, 238, 238));
}

TEST(LauncherWindow, APosterSizesTheWindowAndItsFrame) {
  const TempDir disc = MovieDisc(true, false);
  QImage poster(400, 600, QImage::Format_RGB32);
  poster.fill(QColor(200, 30, 30));
  ASSERT_TRUE(testsupport::SaveJpeg(poster, disc / "Film.jpg"));
  Launcher launcher(disc);
  TMainWin& w = launcher.w();
  EXPECT_EQ(w.geometry(), QRect(244, 34, 536, 671));
  EXPECT_EQ(w.imgPreview->geometry(), QRect(14, 36, 400, 600));
  for (const QWidget* button : std::initializer_list<const QWidget*>{w.dxStart, w.dxSelect, w.dxClose, w.dxInfo})
    EXPECT_EQ(button->x(), 429) << button->objectName().toStdString();
  EXPECT_EQ(w.dxInfo->y(), 595);
  EXPECT_EQ(w.lblTitle->y(), 641);
  EXPECT_EQ(w.imgTitle->geometry(), QRect(1, 0, 534, 22));
  EXPECT_EQ(w.imgTitleLabel->x(), 235);
  EXPECT_EQ(w.closeButton->x(), 514);
  const QImage shot = w.grab().toImage();
  const QColor gray(128, 128, 128);
  EXPECT_EQ(shot.pixelColor(0, 300), gray);
  EXPECT_EQ(shot.pixelColor(535, 300), gray);
  EXPECT_EQ(shot.pixelColor(300, 670), gray);
}

}  // namespace
}  // namespace app
