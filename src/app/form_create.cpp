// The start-up sequence: everything the launcher decides before its window first shows.
#include "app/main_window.h"

#include "app/screen_size.h"
#include "app/startup.h"
#include "app/window_accessible.h"
#include "app/window_parts.h"
#include "media/avi.h"
#include "media/poster.h"
#include "movie/discovery.h"
#include "movie/player_settings.h"
#include "movie/players.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/names.h"
#include "title/film_title.h"

namespace app {

void TMainWin::FormCreate() {
  SetCaptionHidden();
  state_.IsOnline = state_.InfoPanelFilled = state_.PlayerKnowsMovie = false;
  state_.FrameWidth = state_.FrameHeight = 0;
  const platform::ScreenSize screen = services_.Screen();
  const auto [centredLeft, centredTop] = CentreOnScreen(width(), height(), screen.width, screen.height);
  const auto [left, top] = KeepOnWorkArea(centredLeft, centredTop, services_.Work());
  move(left, top);
  LayOutTitleStrip();
  lblNotAvi->move(lblTitle->pos());

  // The disc directory is listed once; the start-up's rules answer from this listing.
  const platform::Listing here = movie::ListStartupDirectory("");
  record_ = {};
  record_.vplayerPresent = movie::PlayerPresent(here, movie::PlayerKind::VPlayer);
  record_.bplayerPresent = movie::PlayerPresent(here, movie::PlayerKind::BSPlayer);
  dxStart->setHidden(!record_.vplayerPresent);
  dxBPlayer->setHidden(!record_.bplayerPresent);
  const Button focus = InitialFocus(Shown(dxStart), Shown(dxBPlayer));
  const ButtonColumn column = CloseUpColumn(Shown(dxStart), Shown(dxBPlayer));
  dxStart->move(dxStart->x(), column.startTop);
  dxBPlayer->move(dxBPlayer->x(), column.bplayerTop);
  dxSelect->move(dxSelect->x(), column.selectTop);
  dxClose->move(dxClose->x(), column.closeTop);
  (focus == Button::Start ? dxStart : focus == Button::BPlayer ? dxBPlayer : dxSelect)->setFocus();

  state_.SubtitleFileName.clear();
  state_.MovieFileName = movie::FindMovieFile(here);
  if (!MovieBranch(here)) NoMovieBranch();
  ShowDefaultPosterUnlessReplaced();
}

// The poster box holds the default poster from the start, but as the window shows only after the
// start-up, decoding it can wait until it is clear that no poster file replaced or dropped it.
void TMainWin::ShowDefaultPosterUnlessReplaced() {
  const bool bmpTried = state_.PosterKind == kPosterBmp && platform::IsName(posterFile_);
  if (!posterLoaded_ && !bmpTried) imgPreview->setPicture(Asset("default-poster.jpg"));
}

void TMainWin::SetCaptionHidden() {
  // The window draws its own title strip; it keeps its system menu and can still be minimised.
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint);
}

void TMainWin::LayOutTitleStrip() {
  const StripLayout strip = LayoutTitleStrip(width());
  imgTitle->setGeometry(strip.stripLeft, 0, strip.stripWidth, 22);
  closeButton->move(strip.closeLeft, 0);
  closeButton->show();
  imgTitleLabel->move(strip.plateLeft, 0);
}

bool TMainWin::MovieBranch(const platform::Listing& here) {
  if (!platform::IsName(state_.MovieFileName)) return false;
  if (!media::IsValidAviFile(state_.MovieFileName)) {
    lblNotAvi->setText(QString::fromLocal8Bit(media::NotAviMessage(state_.MovieFileName)));
    return false;
  }
  state_.SubtitleFileName = movie::FindSubtitleFile(here, state_.MovieFileName);
  notesFile_ = media::FindNotesFile(here);
  const std::string launcherDirectory = services_.LauncherDirectory();
  const platform::Listing launcher = movie::ListLauncherDirectory(launcherDirectory, here);
  DeriveFilmTitle(launcher);
  const bool completed =
      Guarded([&] { WritePlayersSettings(launcherDirectory, launcher); }, ErrorKind::IniWrite) &&
      Guarded([&] { ShowPoster(here); }, ErrorKind::Poster);
  if (completed) GoOnline();
  return true;
}

// The INI file of each player whose button shows; the first failed write ends the start-up.
void TMainWin::WritePlayersSettings(const std::string& launcherDirectory, const platform::Listing& launcher) {
  for (const auto& [button, kind] : {std::pair{dxStart, movie::PlayerKind::VPlayer},
                                     std::pair{dxBPlayer, movie::PlayerKind::BSPlayer}}) {
    if (!Shown(button)) continue;
    const movie::IniOutcome outcome = movie::WritePlayerSettings(launcherDirectory, launcher, kind,
                                                           state_.MovieFileName, state_.SubtitleFileName);
    record_.iniFiles.push_back(outcome);
    if (outcome.kind == movie::IniOutcome::Kind::Failed) throw platform::Error(outcome.error);
  }
}

void TMainWin::NoMovieBranch() {
  dxStart->hide();
  dxBPlayer->hide();
  dxSelect->hide();
  dxInfo->hide();
  dxClose->move(dxClose->x(), CloseUpColumn(true, true).startTop);
  dxClose->setFocus();
  Timer1->stop();
}

void TMainWin::DeriveFilmTitle(const platform::Listing& launcher) {
  const std::string launcherDirectory = services_.LauncherDirectory();
  const std::string title = title::DeriveFilmTitle(platform::BaseName(state_.MovieFileName), [&] {
    return movie::ReadPlayersFilmName(launcherDirectory, launcher);
  });
  lblTitle2->move(lblTitle->pos() + QPoint(kShadowOffsetX, kShadowOffsetY));
  const int points = title::TitleFontPoints(title::DisplayedLength(title));
  for (ClickLabel* label : {lblTitle, lblTitle2}) {
    QFont font = label->font();
    font.setPixelSize(platform::PointsToPixels(points));
    label->setFont(font);
  }
  const QString shown = title::TitleDisplayText(title);
  lblTitle->setTitle(title, shown);
  lblTitle2->setTitle(title, shown);
  imgPreview->setAccessibleName(PosterAccessibleName(shown));
}

// A JPEG poster is fitted by the natural size in its header, then decoded no larger than the box
// draws it on this screen (a large poster is shown far smaller than it is; a scaled screen draws
// it with more pixels than its layout size); a failed decode changes nothing.
void TMainWin::ShowPoster(const platform::Listing& here) {
  const media::PosterFile poster = media::FindPosterFile(here, state_.MovieFileName);
  posterFile_ = poster.name;
  state_.PosterKind = poster.kind;
  if (!platform::IsName(posterFile_)) return;
  ScreenSizeResult fit;
  if (state_.PosterKind == kPosterJpeg) {
    const QSize natural = media::ReadPosterSize(posterFile_);
    fit = FitToPoster(natural);
    const QSize drawn = PictureRect(natural, QSize(fit.box.width, fit.box.height), fit.box).size();
    const qreal ratio = imgPreview->devicePixelRatioF();
    QImage bitmap = media::LoadPictureAsBitmap(posterFile_, DeviceSize(drawn, ratio));
    if (natural.width() < 2) return;  // the test is on the poster's own width, as decoded in full
    bitmap.setDevicePixelRatio(ratio);
    imgPreview->setPicture(std::move(bitmap), natural);
  } else {
    imgPreview->clearPicture();  // the default poster goes before the file is read
    imgPreview->setPicture(media::LoadBmpPoster(posterFile_));
    fit = FitToPoster(imgPreview->naturalSize());
  }
  posterLoaded_ = true;
  ApplyScreenSize(fit);
}

ScreenSizeResult TMainWin::FitToPoster(QSize natural) const {
  ScreenSizeInput input;
  input.pictureWidth = natural.width();
  input.pictureHeight = natural.height();
  input.work = services_.Work();
  input.box = posterBox_;
  return SetScreenSize(input);
}

void TMainWin::ApplyScreenSize(const ScreenSizeResult& r) {
  posterBox_ = r.box;
  imgPreview->applySwitches(r.box);
  imgPreview->resize(r.box.width, r.box.height);
  if (!r.applied) return;
  memoGeometry_ = QRect(r.memo.left, r.memo.top, r.memo.width, r.memo.height);
  for (QWidget* b : {static_cast<QWidget*>(dxStart), static_cast<QWidget*>(dxBPlayer),
                     static_cast<QWidget*>(dxSelect), static_cast<QWidget*>(dxClose),
                     static_cast<QWidget*>(dxInfo)})
    b->move(r.buttonsLeft, b->y());
  dxInfo->move(r.buttonsLeft, r.infoTop);
  lblTitle->move(lblTitle->x(), r.titleTop);
  imgTitle->resize(r.stripWidth, imgTitle->height());
  closeButton->move(r.closeLeft, 0);
  closeButton->show();
  setFixedSize(r.windowWidth, r.windowHeight);
  lblTitle->resize(r.titleWidth, lblTitle->height());
  lblNotAvi->resize(r.titleWidth, lblNotAvi->height());
  imgTitleLabel->move(r.plateLeft, 0);
  lblTitle2->setGeometry(r.title2Left, r.title2Top, r.titleWidth, lblTitle2->height());
  const auto [left, top] = KeepOnWorkArea(r.windowLeft, r.windowTop, services_.Work());
  move(left, top);
}

void TMainWin::GoOnline() {
  if (!services_.IsInternetConnected()) return;
  state_.IsOnline = true;
  lblTitle->setCursor(Qt::PointingHandCursor);
  imgPreview->setCursor(Qt::PointingHandCursor);
  popupAttached_ = true;
}

}  // namespace app
