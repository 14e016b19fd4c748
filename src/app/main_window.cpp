#include "app/main_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLocale>
#include <QPainter>

#include "app/keyboard.h"
#include "app/screen_size.h"
#include "app/startup.h"
#include "media/avi.h"
#include "media/info_panel.h"
#include "media/poster.h"
#include "movie/discovery.h"
#include "movie/launch.h"
#include "movie/player_settings.h"
#include "platform/display.h"
#include "platform/error.h"
#include "platform/files.h"
#include "title/film_title.h"
#include "title/web_search.h"

namespace app {

namespace {

constexpr QColor kBackground(238, 238, 238);
constexpr int kDesignWidth = 385;
constexpr int kDesignHeight = 425;
constexpr int kButtonLeft = 270;

// Layout is in pixels at 96 dots per inch, whatever the screen's resolution.
int PointsToPixels(int points) { return (points * 96 + 36) / 72; }

QFont PixelFont(const char* family, int points, bool bold = false) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(PointsToPixels(points));
  font.setBold(bold);
  return font;
}

QImage Asset(const char* name) { return QImage(QStringLiteral(":/assets/") + QLatin1String(name)); }

bool Shown(const QWidget* widget) { return !widget->isHidden(); }

ClickLabel* MakeTitleLabel(QWidget* parent, int left, int top, const QColor& colour) {
  auto* label = new ClickLabel(parent);
  label->setGeometry(left, top, 373, 33);
  label->setFont(PixelFont("Arial", 14, true));
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  return label;
}

}  // namespace

TMainWin::TMainWin(platform::Services& services) : QWidget(nullptr), services_(services) {
  platform::SubstituteWindowsFonts();
  setWindowTitle(QString::fromLatin1(kWindowCaption));
  setFixedSize(kDesignWidth, kDesignHeight);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kBackground);
  setPalette(palette);
  setAutoFillBackground(true);
  setFont(PixelFont("MS Sans Serif", 8));
  CreateControls();
  CreatePopupMenu();
  Timer1 = new QTimer(this);
  Timer1->setInterval(kAutoStartMs);
  connect(Timer1, &QTimer::timeout, this, &TMainWin::Timer1Timer);
  Timer1->start();
}

TMainWin::~TMainWin() = default;

void TMainWin::CreateControls() {
  lblNotAvi = new ClickLabel(this);
  lblNotAvi->setGeometry(4, 393, 373, 13);
  lblNotAvi->setFont(PixelFont("MS Sans Serif", 8));
  lblNotAvi->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  QPalette red = lblNotAvi->palette();
  red.setColor(QPalette::WindowText, QColor(255, 0, 0));
  lblNotAvi->setPalette(red);

  lblTitle2 = MakeTitleLabel(this, 4, 393, Qt::white);
  lblTitle = MakeTitleLabel(this, 6, 396, Qt::black);
  connect(lblTitle, &ClickLabel::clicked, this, &TMainWin::lblTitleClick);

  imgPreview = new PictureBox(this);
  imgPreview->setGeometry(14, 36, 240, 350);
  imgPreview->setPicture(Asset("default-poster.jpg"));
  connect(imgPreview, &PictureBox::clicked, this, &TMainWin::imgPreviewClick);

  imgTitle = new StripPicture(Asset("title-strip.png"), this);
  imgTitle->setGeometry(0, 0, kDesignWidth, 22);
  closeButton = new CloseButton(Asset("close-up.png"), Asset("close-down.png"), this);
  closeButton->setGeometry(336, 0, 19, 22);
  closeButton->hide();
  connect(closeButton, &CloseButton::clicked, this, &TMainWin::dxCloseClick);
  imgTitleLabel = new StripPicture(Asset("title-plate.png"), this);
  imgTitleLabel->setGeometry(152, 0, 66, 22);

  memoNFO = new QTextEdit(this);
  memoNFO->setGeometry(14, 36, 240, 350);
  memoNFO->setReadOnly(true);
  memoNFO->setFont(PixelFont("Tahoma", 8));
  memoNFO->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memoNFO->setContextMenuPolicy(Qt::NoContextMenu);  // the window's menu serves here too
  memoNFO->setFocusPolicy(Qt::ClickFocus);
  memoNFO->hide();

  auto button = [this](const char* caption, const char* picture, int top) {
    auto* b = new PictureButton(QString::fromLatin1(caption),
                                QStringLiteral(":/assets/") + QLatin1String(picture), this);
    b->setGeometry(kButtonLeft, top, 97, 41);
    b->installEventFilter(this);
    return b;
  };
  dxClose = button("&Close", "close.png", 215);
  dxClose->setDrawsFocusRect(true);
  dxBPlayer = button("&BPlayer", "bplayer.png", 95);
  dxStart = button("&VPlayer", "vplayer.png", 39);
  dxSelect = button("Select &Player", "select.png", 151);
  dxInfo = button(kShowInfoCaption, "info.png", 343);
  memoNFO->installEventFilter(this);
  installEventFilter(this);

  const std::pair<QWidget*, const char*> names[] = {
      {lblNotAvi, "lblNotAvi"}, {lblTitle2, "lblTitle2"},   {lblTitle, "lblTitle"},
      {imgPreview, "imgPreview"}, {imgTitle, "imgTitle"}, {imgTitleLabel, "imgTitleLabel"},
      {memoNFO, "memoNFO"},     {dxClose, "dxClose"},     {dxBPlayer, "dxBPlayer"},
      {dxStart, "dxStart"},     {dxSelect, "dxSelect"},   {dxInfo, "dxInfo"}};
  for (const auto& [widget, name] : names) widget->setObjectName(QLatin1String(name));

  connect(dxClose, &QPushButton::clicked, this, &TMainWin::dxCloseClick);
  connect(dxBPlayer, &QPushButton::clicked, this, &TMainWin::dxBPlayerClick);
  connect(dxStart, &QPushButton::clicked, this, &TMainWin::dxStartClick);
  connect(dxSelect, &QPushButton::clicked, this, &TMainWin::dxSelectClick);
  connect(dxInfo, &QPushButton::clicked, this, &TMainWin::dxInfoClick);
}

void TMainWin::CreatePopupMenu() {
  PopupMenu1 = new QMenu(this);
  auto item = [this](const char* caption, const char* siteKey) {
    connect(PopupMenu1->addAction(QString::fromLatin1(caption)), &QAction::triggered, this,
            [this, siteKey] { OpenWebSearch(siteKey); });
  };
  item("Go to &IMDB (English)", "IMDB");
  item("Go to &Beyazperde (Turkish)", "BEYAZPERDE");
  item("Go to &Movie Covers (French)", "MOVIECOVERS");
  PopupMenu1->addSeparator();
  item("Go to Internet Movie &Posters", "IMPAWARDS");
  item("Go to &CD Covers", "CDCOVERS");
  connect(PopupMenu1, &QMenu::aboutToShow, this, &TMainWin::PopupMenu1Popup);
}

// ---- Start-up ---------------------------------------------------------------------------------

void TMainWin::FormCreate() {
  SetCaptionHidden();
  state_.IsOnline = state_.InfoPanelFilled = state_.PlayerKnowsMovie = false;
  state_.FrameWidth = state_.FrameHeight = 0;
  const platform::ScreenSize screen = services_.Screen();
  const auto [left, top] = CentreOnScreen(width(), height(), screen.width, screen.height);
  move(left, top);
  LayOutTitleStrip();
  lblNotAvi->move(lblTitle->pos());

  dxStart->setHidden(!platform::FileExists("vplayer.exe"));
  dxBPlayer->setHidden(!platform::FileExists("bplay.exe"));
  const Button focus = InitialFocus(Shown(dxStart), Shown(dxBPlayer));
  const ButtonColumn column = CloseUpColumn(Shown(dxStart), Shown(dxBPlayer));
  dxStart->move(dxStart->x(), column.startTop);
  dxBPlayer->move(dxBPlayer->x(), column.bplayerTop);
  dxSelect->move(dxSelect->x(), column.selectTop);
  dxClose->move(dxClose->x(), column.closeTop);
  (focus == Button::Start ? dxStart : focus == Button::BPlayer ? dxBPlayer : dxSelect)->setFocus();

  state_.MovieFileName.clear();
  state_.SubtitleFileName.clear();
  state_.MovieFileName = movie::FindMovieFile();
  if (!MovieBranch()) NoMovieBranch();
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

bool TMainWin::MovieBranch() {
  if (state_.MovieFileName.size() < 2) return false;
  if (!media::IsValidAviFile(state_.MovieFileName)) {
    lblNotAvi->setText(QString::fromLocal8Bit(media::NotAviMessage(state_.MovieFileName)));
    return false;
  }
  state_.SubtitleFileName = movie::FindSubtitleFile(state_.MovieFileName);
  DeriveFilmTitle();
  const bool completed = Guarded([this] {
    const std::string launcherDirectory = services_.LauncherDirectory();
    if (Shown(dxStart))
      movie::WritePlayerSettings(launcherDirectory, "vplayer.ini", kPlayerVPlayer, state_);
    if (Shown(dxBPlayer))
      movie::WritePlayerSettings(launcherDirectory, "bplay.ini", kPlayerBSPlayer, state_);
    ShowPoster();
  });
  if (completed) GoOnline();
  return true;
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

void TMainWin::DeriveFilmTitle() {
  const std::string launcherDirectory = services_.LauncherDirectory();
  const std::string title =
      title::DeriveFilmTitle(state_.MovieFileName, [&](const std::string& iniFileName) {
        return movie::ReadFilmName(launcherDirectory, iniFileName);
      });
  lblTitle2->move(lblTitle->x() - 2, lblTitle->y() - 1);
  const int points = title::TitleFontPoints(title::DisplayedLength(title));
  for (ClickLabel* label : {lblTitle, lblTitle2}) {
    QFont font = label->font();
    font.setPixelSize(PointsToPixels(points));
    label->setFont(font);
  }
  const QString shown = title::TitleDisplayText(title);
  lblTitle->setTitle(title, shown);
  lblTitle2->setTitle(title, shown);
}

void TMainWin::ShowPoster() {
  posterFile_ = media::FindPosterFile(state_);
  if (posterFile_.size() < 2) return;
  if (state_.PosterKind == kPosterJpeg) {
    QImage bitmap = media::LoadPictureAsBitmap(posterFile_);
    if (bitmap.width() < 2) return;
    imgPreview->setPicture(std::move(bitmap));
  } else {
    imgPreview->clearPicture();  // the default poster goes before the file is read
    imgPreview->setPicture(media::LoadBmpPoster(posterFile_));
  }
  posterLoaded_ = true;
  ApplyScreenSize();
}

void TMainWin::ApplyScreenSize() {
  ScreenSizeInput input;
  input.pictureWidth = imgPreview->picture().width();
  input.pictureHeight = imgPreview->picture().height();
  input.work = services_.Work();
  input.box = posterBox_;
  const ScreenSizeResult r = SetScreenSize(input);
  posterBox_ = r.box;
  imgPreview->applySwitches(r.box);
  imgPreview->resize(r.box.width, r.box.height);
  if (!r.applied) return;
  memoNFO->setGeometry(r.memo.left, r.memo.top, r.memo.width, r.memo.height);
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
  move(r.windowLeft, r.windowTop);
}

void TMainWin::GoOnline() {
  if (!services_.IsInternetConnected()) return;
  state_.IsOnline = true;
  lblTitle->setCursor(Qt::PointingHandCursor);
  imgPreview->setCursor(Qt::PointingHandCursor);
  popupAttached_ = true;
}

template <typename Step>
bool TMainWin::Guarded(Step step) {
  try {
    step();
    return true;
  } catch (const platform::Error& error) {
    services_.ShowError(error.what());
    return false;
  }
}

// ---- Handlers ---------------------------------------------------------------------------------

void TMainWin::dxCloseClick() { close(); }

void TMainWin::Timer1Timer() {
  switch (TimerChoice(Shown(dxStart), Shown(dxBPlayer))) {
    case TimerAction::Stop: Timer1->stop(); break;
    case TimerAction::StartVPlayer: dxStartClick(); break;
    case TimerAction::StartBPlayer: dxBPlayerClick(); break;
  }
}

void TMainWin::dxStartClick() {
  Timer1->stop();
  const movie::LaunchPlan plan = movie::PlanVPlayerStart(state_, services_.LauncherDirectory());
  if (!plan.Starts()) {
    services_.ShowMessage(plan.message, plan.caption);
    return;
  }
  services_.StartProgram(plan.program, plan.parameters);
  close();
}

void TMainWin::dxBPlayerClick() {
  Timer1->stop();
  const movie::LaunchPlan plan = movie::PlanBPlayerStart(state_, services_.LauncherDirectory());
  if (!plan.Starts()) {
    services_.ShowMessage(plan.message, plan.caption);
    return;
  }
  services_.StartProgram(plan.program, plan.parameters);
  close();
}

void TMainWin::dxSelectClick() {
  Timer1->stop();
  const std::string directory = platform::CurrentDirectory();
  const std::string prefix = movie::DirectoryPrefix(directory);
  const std::string program = services_.ChooseProgram(directory);
  if (program.size() < 2) return;
  services_.StartProgram(program, movie::SelectPlayerParameters(program, prefix, state_));
  close();
}

void TMainWin::dxInfoClick() {
  Timer1->stop();
  if (!state_.InfoPanelFilled) {
    const bool filled = Guarded([this] {
      const QChar decimal = QLocale::system().decimalPoint().front();
      media::FillInfoPanel(*memoNFO, state_, width(), decimal.toLatin1());
    });
    if (!filled) return;
  }
  const bool showingPoster = dxInfo->text() == QLatin1String(kShowInfoCaption);
  memoNFO->setVisible(showingPoster);
  dxInfo->setText(QString::fromLatin1(showingPoster ? kShowPosterCaption : kShowInfoCaption));
}

void TMainWin::OpenWebSearch(const char* siteKey) {
  const std::optional<std::string> url =
      title::OpenWebSearchUrl(siteKey, lblTitle->title(), state_.IsOnline);
  if (url) services_.OpenUrl(*url);
}

// ---- Window events ----------------------------------------------------------------------------

void TMainWin::mousePressEvent(QMouseEvent*) { Timer1->stop(); }
void TMainWin::mouseDoubleClickEvent(QMouseEvent*) { Timer1->stop(); }

void TMainWin::contextMenuEvent(QContextMenuEvent* event) {
  if (popupAttached_) PopupMenu1->popup(event->globalPos());
}

void TMainWin::closeEvent(QCloseEvent* event) {
  Timer1->stop();
  event->accept();
}

void TMainWin::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintEdgeLine(painter, width(), height());
}

// ---- Keyboard ---------------------------------------------------------------------------------

std::vector<QWidget*> TMainWin::TabStops() const { return {dxStart, dxBPlayer, dxSelect, dxClose}; }

std::vector<QWidget*> TMainWin::TabOrder() const {
  return {dxStart, dxBPlayer, dxSelect, dxClose, dxInfo, memoNFO};
}

void TMainWin::MoveFocus(const std::vector<QWidget*>& order, bool forward) {
  const auto count = static_cast<int>(order.size());
  int at = -1;
  for (int i = 0; i < count; ++i)
    if (order[i] == focusWidget()) at = i;
  const int start = at >= 0 ? at : (forward ? count - 1 : 0);
  for (int step = 1; step <= count; ++step) {
    const int next = (start + (forward ? step : -step) + count) % count;
    if (Shown(order[next])) {
      order[next]->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return;
    }
  }
}

QWidget* TMainWin::AcceleratorButton(int key) const {
  for (PictureButton* button : {dxStart, dxBPlayer, dxSelect, dxClose, dxInfo}) {
    const QKeySequence mnemonic = QKeySequence::mnemonic(button->text());
    if (Shown(button) && !mnemonic.isEmpty() && (mnemonic[0].key() == key)) return button;
  }
  return nullptr;
}

bool TMainWin::HandleKey(QKeyEvent* event) {
  QWidget* focus = focusWidget();
  const std::vector<QWidget*> buttons = {dxStart, dxBPlayer, dxSelect, dxClose, dxInfo};
  const FocusKind kind = std::find(buttons.begin(), buttons.end(), focus) != buttons.end()
                             ? FocusKind::Button
                             : focus == memoNFO ? FocusKind::TextPanel : FocusKind::Other;
  const KeyRole role = ClassifyKey(event->key(), event->modifiers(), kind);
  if (ReachesKeyPreview(role)) Timer1->stop();
  switch (role) {
    case KeyRole::NextButton: MoveFocus(TabStops(), true); return true;
    case KeyRole::PreviousButton: MoveFocus(TabStops(), false); return true;
    case KeyRole::NextControl: MoveFocus(TabOrder(), true); return true;
    case KeyRole::PreviousControl: MoveFocus(TabOrder(), false); return true;
    case KeyRole::ActivateFocused: static_cast<QPushButton*>(focus)->click(); return true;
    case KeyRole::ActivateDefault: dxClose->click(); return true;
    case KeyRole::Accelerator:
      if (QWidget* button = AcceleratorButton(event->key())) {
        static_cast<QPushButton*>(button)->click();
        return true;
      }
      return false;
    case KeyRole::Modifier:
    case KeyRole::Preview: return false;
  }
  return false;
}

bool TMainWin::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // Accelerators are ours to handle, so that the key preview sees them first.
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & Qt::AltModifier) event->accept();
    return false;
  }
  if (event->type() == QEvent::KeyPress) {
    if (HandleKey(static_cast<QKeyEvent*>(event))) return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace app
