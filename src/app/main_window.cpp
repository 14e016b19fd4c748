#include "app/main_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDialog>
#include <QLocale>
#include <QPainter>

#include "app/info_panel_view.h"
#include "app/latin1.h"
#include "app/buttons.h"
#include "app/startup_files.h"
#include "app/window_accessible.h"
#include "app/window_fonts.h"
#include "app/assets.h"
#include "media/avi.h"
#include "movie/launch.h"
#include "platform/files.h"
#include "platform/names.h"
#include "title/web_search.h"

namespace app {

namespace {

constexpr QColor kBackground(238, 238, 238);

// The control at its rectangle, under its name.
void Place(QWidget* widget, const Control& control) {
  widget->setGeometry(control.left, control.top, control.width, control.height);
  widget->setObjectName(Latin1(control.name));
}

ClickLabel* MakeTitleLabel(QWidget* parent, const Control& control, const QColor& colour) {
  auto* label = new ClickLabel(parent);
  Place(label, control);
  label->setFont(PixelFont("Arial", 14, true));
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  return label;
}

// Grey fringes on letters one pixel wide would turn the warning pink; drawn whole, it stays red.
// Whole pixels in the narrow cut that stands in for MS Sans Serif elsewhere close up the blanks
// ("nota valid vi deo"), so where the real font is missing this line takes the regular cut.
QFont WarningFont() {
  QFont font = PixelFont("MS Sans Serif", 8);
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")});
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

}  // namespace

TMainWin::TMainWin(platform::Services& services, Dialogs& dialogs, SystemFacts system)
    : QWidget(nullptr), services_(services), dialogs_(dialogs), system_(std::move(system)) {
  dialogs_.SetOwnerWindow(this);
  SubstituteWindowsFonts();
  InstallWindowAccessibility();
  setWindowTitle(QString::fromLatin1(kWindowCaption));
  setFixedSize(design::kWindow.width, design::kWindow.height);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kBackground);
  setPalette(palette);
  setAutoFillBackground(true);
  setFont(PixelFont("MS Sans Serif", 8));
  CreateControls();
  Timer1 = new QTimer(this);
  Timer1->setInterval(kAutoStartMs);
  connect(Timer1, &QTimer::timeout, this, &TMainWin::Timer1Timer);
  Timer1->start();
}

TMainWin::~TMainWin() = default;

void TMainWin::CreateControls() {
  lblNotAvi = new ClickLabel(this);
  Place(lblNotAvi, design::kNotAviLine);
  lblNotAvi->setFont(WarningFont());
  lblNotAvi->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  QPalette red = lblNotAvi->palette();
  red.setColor(QPalette::WindowText, QColor(255, 0, 0));
  lblNotAvi->setPalette(red);

  lblTitle2 = MakeTitleLabel(this, design::kTitleShadow, Qt::white);
  HideFromAssistiveTechnology(lblTitle2);  // the title's shadow: read once is enough
  lblTitle = MakeTitleLabel(this, design::kTitle, Qt::black);
  connect(lblTitle, &ClickLabel::clicked, this, &TMainWin::lblTitleClick);

  imgPreview = new PictureBox(this);
  Place(imgPreview, design::kPosterBox);
  imgPreview->setAccessibleName(PosterAccessibleName(QString()));
  connect(imgPreview, &PictureBox::clicked, this, &TMainWin::imgPreviewClick);

  imgTitle = new StripPicture(Asset("title-strip.png"), this);
  Place(imgTitle, design::kTitleStrip);
  closeButton = new CloseButton(Asset("close-up.png"), Asset("close-down.png"), this);
  Place(closeButton, design::kCloseButton);
  closeButton->hide();
  closeButton->setAccessibleName(QStringLiteral("Close"));
  connect(closeButton, &CloseButton::clicked, this, &TMainWin::dxCloseClick);
  imgTitleLabel = new StripPicture(Asset("title-plate.png"), this);
  Place(imgTitleLabel, design::kTitlePlate);

  for (const design::ButtonRow& row : design::kButtons) {
    auto* button = new PictureButton(Latin1(row.caption), QStringLiteral(":/assets/") + Latin1(row.picture), this);
    Place(button, row.control());
    button->installEventFilter(this);
    buttons[ButtonIndex(row.button)] = button;
  }
  dxClose->setDrawsFocusRect(true);
  installEventFilter(this);

  connect(dxClose, &QPushButton::clicked, this, &TMainWin::dxCloseClick);
  connect(dxBPlayer, &QPushButton::clicked, this, &TMainWin::dxBPlayerClick);
  connect(dxStart, &QPushButton::clicked, this, &TMainWin::dxStartClick);
  connect(dxSelect, &QPushButton::clicked, this, &TMainWin::dxSelectClick);
  connect(dxInfo, &QPushButton::clicked, this, &TMainWin::dxInfoClick);
}

// The text panel and the menu are made when first needed: the first paint has no use for them.
void TMainWin::CreateTextPanel() {
  memoNFO = new QTextEdit(this);
  const bool fitted = plan_.window.fit && plan_.window.fit->applied;
  Place(memoNFO, fitted ? Control{plan_.window.fit->memo, design::kTextPanel.name} : design::kTextPanel);
  memoNFO->setReadOnly(true);
  memoNFO->setFont(PixelFont("Tahoma", 8));
  memoNFO->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memoNFO->setContextMenuPolicy(Qt::NoContextMenu);  // the window's menu serves here too
  memoNFO->setFocusPolicy(Qt::ClickFocus);
  memoNFO->stackUnder(dxClose);  // where its place in the creation order puts it
  memoNFO->installEventFilter(this);
  memoNFO->hide();  // until the click that made it switches sides
}

void TMainWin::CreatePopupMenu() {
  PopupMenu1 = new QMenu(this);
  auto item = [this](const char* caption, std::string_view siteKey) {
    connect(PopupMenu1->addAction(QString::fromLatin1(caption)), &QAction::triggered, this,
            [this, siteKey] { OpenWebSearch(siteKey); });
  };
  item("Go to &IMDB (English)", title::kSiteImdb);
  item("Go to &Beyazperde (Turkish)", title::kSiteBeyazperde);
  item("Go to &Movie Covers (French)", title::kSiteMovieCovers);
  PopupMenu1->addSeparator();
  item("Go to Internet Movie &Posters", title::kSiteImpawards);
  item("Go to &CD Covers", title::kSiteCdCovers);
  connect(PopupMenu1, &QMenu::aboutToShow, this, &TMainWin::PopupMenu1Popup);
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
  if (state_.FrameWidth == 0) KeepFrameSize(state_, ReadAviFacts(state_.MovieFileName));  // for the aspect option
  CarryOut(movie::PlanVPlayerStart(LaunchFactsOf(state_), ReadLaunchFiles(system_.launcherDirectory)));
}

void TMainWin::dxBPlayerClick() {
  Timer1->stop();
  CarryOut(movie::PlanBPlayerStart(LaunchFactsOf(state_), ReadLaunchFiles(system_.launcherDirectory)));
}

void TMainWin::CarryOut(const movie::LaunchPlan& plan) {
  state_.PlayerKnowsMovie = plan.playerKnowsMovie;
  if (!plan.Starts()) {
    dialogs_.ShowMessage(plan.message, plan.caption);
    return;
  }
  StartAndClose({plan.program, plan.parameters, state_.MovieFileName, state_.SubtitleFileName});
}

// The window's own handle lets the system put its boxes about the start on top of the launcher.
void TMainWin::StartAndClose(const platform::ProgramStart& start) {
  if (const platform::Result<void> started = services_.StartProgram(start, winId()); !started) {
    dialogs_.ShowError(started.error());
    return;
  }
  close();
}

void TMainWin::dxSelectClick() {
  Timer1->stop();
  const std::string directory = platform::CurrentDirectory();
  const std::string prefix = movie::DirectoryPrefix(directory);
  const std::string program = dialogs_.ChooseProgram(directory);
  if (!platform::CountsAsName(program)) return;
  const std::string subtitle = platform::CountsAsName(state_.SubtitleFileName) ? prefix + state_.SubtitleFileName : "";
  StartAndClose({program, movie::SelectPlayerParameters(program, prefix, LaunchFactsOf(state_)),
                 prefix + state_.MovieFileName, subtitle});
}

void TMainWin::dxInfoClick() {
  Timer1->stop();
  if (!state_.InfoPanelFilled) {
    state_.InfoPanelFilled = true;  // first, so that a failure never leads to a second fill
    const QChar decimal = QLocale::system().decimalPoint().front();
    CreateTextPanel();
    const media::InfoPanelContent panel =
        ReadInfoPanel(state_.MovieFileName, plan_.notesFile, width(), decimal.toLatin1());
    KeepFrameSize(state_, panel.facts);
    DrawInfoPanel(*memoNFO, panel);
    if (!panel.notesError.empty()) {
      dialogs_.ShowError(panel.notesError);
      return;
    }
  }
  const bool showingPoster = memoNFO->isHidden();
  memoNFO->setVisible(showingPoster);
  dxInfo->setText(Latin1(showingPoster ? kShowPosterCaption : kShowInfoCaption));
}

void TMainWin::OpenWebSearch(std::string_view siteKey) {
  const std::optional<std::string> url =
      title::OpenWebSearchUrl(siteKey, lblTitle->title(), state_.IsOnline);
  if (!url) return;
  if (const platform::Result<void> opened = services_.OpenUrl(*url); !opened) dialogs_.ShowError(opened.error());
}

// ---- Window events ----------------------------------------------------------------------------

void TMainWin::mousePressEvent(QMouseEvent*) { Timer1->stop(); }
void TMainWin::mouseDoubleClickEvent(QMouseEvent*) { Timer1->stop(); }

void TMainWin::contextMenuEvent(QContextMenuEvent* event) {
  if (!state_.IsOnline) return;
  if (!PopupMenu1) CreatePopupMenu();
  PopupMenu1->popup(event->globalPos());
}

// Closing ends the program, also from inside a box the window owns (the auto-start fires while a
// start-up error waits for OK): the boxes go with it, so that nothing keeps the program alive.
void TMainWin::closeEvent(QCloseEvent* event) {
  Timer1->stop();
  closed_ = true;
  for (QDialog* box : findChildren<QDialog*>())
    if (box->isVisible()) box->reject();
  event->accept();
}

bool TMainWin::ShowAfterStartUp() {
  if (closed_) return false;
  show();
  return true;
}

void TMainWin::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintEdgeLine(painter, width(), height());
}

}  // namespace app
