// The start-up sequence: the plan of everything the launcher decides before its window first
// shows, applied to the controls.
#include "app/main_window.h"

#include "app/screen_size.h"
#include "app/startup_files.h"
#include "app/window_accessible.h"
#include "app/assets.h"
#include "media/poster.h"
#include "platform/display.h"
#include "title/film_title.h"

namespace app {

void TMainWin::FormCreate() {
  SetCaptionHidden();
  plan_ = RunStartup(system_, imgPreview->devicePixelRatioF(),
                     [this](const movie::IniOutcome& ini, platform::ProfileFile& file) {
                       return services_.UpdateIniFile(file, ini.update, ini.stale);
                     });

  move(plan_.window.left, plan_.window.top);
  LayOutTitleStrip();
  lblNotAvi->move(lblTitle->pos());
  ShowButtons();
  state_ = StateAfterStartUp(plan_);
  lblNotAvi->setText(QString::fromLocal8Bit(plan_.notAviMessage));
  if (!plan_.timerRunning) Timer1->stop();
  if (plan_.movieAccepted) ShowFilmTitle();
  ShowPoster();
  GoOnline();
  // Last, as the box waits for its OK: the window is then complete, whatever the auto-start does
  // meanwhile.
  if (plan_.errorKind != ErrorKind::None) dialogs_.ShowError(plan_.error);
}

void TMainWin::SetCaptionHidden() {
  // The window draws its own title strip; it keeps its system menu and can still be minimised.
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint);
}

void TMainWin::LayOutTitleStrip() {
  const StripLayout strip = LayoutTitleStrip(width());
  imgTitle->setGeometry(strip.stripLeft, 0, strip.stripWidth, design::kTitleStrip.height);
  closeButton->move(strip.closeLeft, 0);
  closeButton->show();
  imgTitleLabel->move(strip.plateLeft, 0);
}

void TMainWin::ShowButtons() {
  for (PictureButton* button : {dxStart, dxBPlayer, dxSelect, dxInfo}) button->hide();
  for (const ColumnButton& place : VisibleColumn(plan_)) {
    PictureButton* button = ButtonWidget(place.button);
    button->move(place.left, place.top);
    button->show();
  }
  ButtonWidget(plan_.focus)->setFocus();
}

// The title the plan derived, in both labels at its size.
void TMainWin::ShowFilmTitle() {
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

void TMainWin::ShowPoster() {
  const PosterPlan& poster = plan_.poster;
  if (!poster.loaded) {
    if (poster.showDefault) imgPreview->setPicture(Asset("default-poster.jpg"));
    return;
  }
  QImage picture = poster.picture;
  if (state_.PosterKind == media::kPosterJpeg) {
    picture.setDevicePixelRatio(imgPreview->devicePixelRatioF());
    imgPreview->setPicture(std::move(picture), poster.natural);
  } else {
    imgPreview->setPicture(std::move(picture));
  }
  SetScreenSize(*plan_.window.fit);
}

void TMainWin::SetScreenSize(const ScreenSizeResult& r) {
  imgPreview->applySwitches(r.box);
  imgPreview->resize(r.box.width, r.box.height);
  if (!r.applied) return;
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
  if (!state_.IsOnline) return;
  lblTitle->setCursor(Qt::PointingHandCursor);
  imgPreview->setCursor(Qt::PointingHandCursor);
}

}  // namespace app
