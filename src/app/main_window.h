#pragma once
// The launcher window. It creates the controls with their design properties, wires their events to
// the handlers and forwards every decision to the plain functions of the other modules.
#include <QMenu>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/click_label.h"
#include "app/dialogs.h"
#include "app/launcher_state.h"
#include "app/picture_box.h"
#include "app/picture_button.h"
#include "app/screen_size.h"
#include "app/startup_plan.h"
#include "app/system_facts.h"
#include "app/title_strip.h"
#include "media/info_panel.h"
#include "movie/launch.h"
#include "platform/files.h"
#include "platform/services.h"
#include "title/web_search.h"

namespace app {

inline constexpr const char* kApplicationTitle = "Zorvalin";
inline constexpr const char* kWindowCaption = "Autorun - Zorvalin";
inline constexpr std::string_view kShowInfoCaption = design::Row(Button::Info).caption;
inline constexpr std::string_view kShowPosterCaption = "&Show Poster";
inline constexpr int kAutoStartMs = 60000;

class TMainWin : public QWidget {
  Q_OBJECT
 public:
  // `services` carries out the effects, `dialogs` shows the boxes, `system` tells the start-up
  // where it runs.
  TMainWin(platform::Services& services, Dialogs& dialogs, SystemFacts system);
  ~TMainWin() override;

  void FormCreate();
  // Shows the window unless the start-up already closed it (a start from an error box's wait, say),
  // which ends the program; returns whether it is shown.
  bool ShowAfterStartUp();
  const LauncherState& State() const { return state_; }
  // What the start-up decided, as the window applied it.
  const StartupPlan& Plan() const { return plan_; }

  // Handlers, public so that the timer, the menu and tests reach them by name.
  void dxCloseClick();
  void dxStartClick();
  void dxBPlayerClick();
  void dxSelectClick();
  void dxInfoClick();
  void Timer1Timer();
  void lblTitleClick() { OpenWebSearch(title::kSiteImdb); }
  void imgPreviewClick() { OpenWebSearch(title::kSiteImdb); }
  void PopupMenu1Popup() { Timer1->stop(); }
  void OpenWebSearch(std::string_view siteKey);

  // Controls in creation order: later ones draw over earlier ones.
  ClickLabel* lblNotAvi;
  ClickLabel* lblTitle2;
  ClickLabel* lblTitle;
  PictureBox* imgPreview;
  StripPicture* imgTitle;
  CloseButton* closeButton;  // the two looks imgButton1 (released) and imgButton2 (pressed)
  StripPicture* imgTitleLabel;
  QTextEdit* memoNFO = nullptr;  // from the first Show Info on
  std::array<PictureButton*, kButtonCount> buttons;  // indexed by Button
  PictureButton*& dxClose = buttons[ButtonIndex(Button::Close)];
  PictureButton*& dxBPlayer = buttons[ButtonIndex(Button::BPlayer)];
  PictureButton*& dxStart = buttons[ButtonIndex(Button::Start)];
  PictureButton*& dxSelect = buttons[ButtonIndex(Button::Select)];
  PictureButton*& dxInfo = buttons[ButtonIndex(Button::Info)];
  QMenu* PopupMenu1 = nullptr;  // from its first showing on
  QTimer* Timer1;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void CreateControls();
  void CreateTextPanel();
  void CreatePopupMenu();
  void SetCaptionHidden();
  void LayOutTitleStrip();
  void ShowButtons();
  PictureButton* ButtonWidget(Button button) const { return buttons[ButtonIndex(button)]; }
  void ShowFilmTitle();
  void ShowPoster();
  void SetScreenSize(const ScreenSizeResult& fit);
  void GoOnline();
  bool HandleKey(QKeyEvent* event);
  void MoveFocus(const std::vector<QWidget*>& order, bool forward);
  std::vector<QWidget*> TabStops() const;
  std::vector<QWidget*> TabOrder() const;
  QWidget* AcceleratorButton(int key) const;
  // Starts the planned player and closes, or shows why it cannot.
  void CarryOut(const movie::LaunchPlan& plan);
  // A start ends the launcher; one that fails is said, and the window stays.
  void StartAndClose(const platform::ProgramStart& start);

  platform::Services& services_;
  Dialogs& dialogs_;
  const SystemFacts system_;
  LauncherState state_;
  StartupPlan plan_;
  bool closed_ = false;
};

}  // namespace app
