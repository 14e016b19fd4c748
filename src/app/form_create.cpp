// The start-up sequence: the plan of everything the launcher decides before its window first
// shows, applied to the controls.
#include "app/main_window.h"

#include "app/screen_size.h"
#include "app/startup_files.h"
#include "app/window_accessible.h"
#include "app/assets.h"
#include "platform/display.h"
#include "title/film_title.h"

namespace app {

void TMainWin::FormCreate() {
  SetCaptionHidden();
  state_.IsOnline = state_.InfoPanelFilled = state_.PlayerKnowsMovie = false;
  state_.FrameWidth = state_.FrameHeight = 0;
  StartupFiles files(system_.launcherDirectory, system_.isOnline);
  StartupFacts facts;
  facts.screen = system_.screen;
  facts.work = system_.work;
  facts.pixelRatio = imgPreview->devicePixelRatioF();
  plan_ = files.Plan(facts);

  move(plan_.window.left, plan_.window.top);  // the design layout; a loaded poster moves it again
  LayOutTitleStrip();
  lblNotAvi->move(lblTitle->pos());
  ShowButtons();
  state_.MovieFileName = plan_.MovieFileName;
  state_.SubtitleFileName = plan_.SubtitleFileName;
  state_.PosterKind = plan_.poster.kind;
  lblNotAvi->setText(QString::fromLocal8Bit(plan_.notAviMessage));
  if (!plan_.timerRunning) Timer1->stop();
  if (plan_.movieAccepted) {
    DeriveFilmTitle();
    if (WritePlayerSettings(files) && ShowPoster(facts)) GoOnline();
  }
  if (plan_.poster.showDefault && !plan_.poster.loaded) imgPreview->setPicture(Asset("default-poster.jpg"));
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

void TMainWin::ShowButtons() {
  dxStart->setHidden(!plan_.startShown);
  dxBPlayer->setHidden(!plan_.bplayerShown);
  dxSelect->setHidden(!plan_.selectShown);
  dxInfo->setHidden(!plan_.infoShown);
  const ButtonColumn& column = plan_.column;
  dxStart->move(dxStart->x(), column.startTop);
  dxBPlayer->move(dxBPlayer->x(), column.bplayerTop);
  dxSelect->move(dxSelect->x(), column.selectTop);
  dxClose->move(dxClose->x(), column.closeTop);
  ButtonWidget(plan_.focus)->setFocus();
}

PictureButton* TMainWin::ButtonWidget(Button button) const {
  switch (button) {
    case Button::Start: return dxStart;
    case Button::BPlayer: return dxBPlayer;
    case Button::Select: return dxSelect;
    case Button::Close: return dxClose;
    case Button::Info: return dxInfo;
  }
  return dxClose;
}

void TMainWin::DeriveFilmTitle() {
  lblTitle2->move(lblTitle->pos() + QPoint(kShadowOffsetX, kShadowOffsetY));
  for (ClickLabel* label : {lblTitle, lblTitle2}) {
    QFont font = label->font();
    font.setPixelSize(platform::PointsToPixels(plan_.titlePoints));
    label->setFont(font);
  }
  const QString shown = title::TitleDisplayText(plan_.title);
  lblTitle->setTitle(plan_.title, shown);
  lblTitle2->setTitle(plan_.title, shown);
  imgPreview->setAccessibleName(PosterAccessibleName(shown));
}

// Each planned INI update, in order, through the service; the first failure ends the start-up.
bool TMainWin::WritePlayerSettings(StartupFiles& files) {
  for (const movie::IniOutcome& ini : plan_.iniFiles) {
    if (ini.path.empty()) continue;
    const bool done = services_.UpdateIniFile(ini.path, files.IniFile(ini.path), ini.update, ini.stale);
    if (ini.kind == movie::IniOutcome::Kind::Failed || !done) {
      const std::string error = ini.kind == movie::IniOutcome::Kind::Failed
                                    ? ini.error
                                    : platform::UnableToWrite(system_.launcherDirectory + ini.file);
      dialogs_.ShowError(error);
      return false;
    }
  }
  return true;
}

bool TMainWin::ShowPoster(const StartupFacts& facts) {
  if (plan_.errorKind == ErrorKind::Poster) {
    dialogs_.ShowError(plan_.error);
    return false;
  }
  if (!plan_.poster.loaded) return true;
  QImage picture = facts.poster->image;
  if (plan_.poster.kind == kPosterJpeg) {
    picture.setDevicePixelRatio(imgPreview->devicePixelRatioF());
    imgPreview->setPicture(std::move(picture), plan_.poster.natural);
  } else {
    imgPreview->setPicture(std::move(picture));
  }
  ApplyScreenSize(*plan_.window.fit);
  return true;
}

void TMainWin::ApplyScreenSize(const ScreenSizeResult& r) {
  imgPreview->applySwitches(r.box);
  imgPreview->resize(r.box.width, r.box.height);
  if (!r.applied) return;
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
  move(plan_.window.left, plan_.window.top);
}

void TMainWin::GoOnline() {
  if (!plan_.IsOnline) return;
  state_.IsOnline = true;
  lblTitle->setCursor(Qt::PointingHandCursor);
  imgPreview->setCursor(Qt::PointingHandCursor);
}

}  // namespace app
