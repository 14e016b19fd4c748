#pragma once
// The start-up as one decision: from what the start-up read and did (StartupFacts) to everything
// it does (StartupPlan), as a pure function. Facts are read, and the INI updates carried out, only
// as the plan asks for them (see StartupNeed and app/startup_files.h), so that the disc is read no
// more than the start-up needs and a failed update decides what follows it. The window applies the
// plan to its controls; the inspector prints it.
#include <QImage>
#include <QSize>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/screen_size.h"
#include "app/buttons.h"
#include "app/launcher_state.h"
#include "media/poster.h"
#include "movie/player_settings.h"
#include "platform/files.h"
#include "platform/result.h"
#include "platform/display.h"

namespace app {

// The poster file's first bytes and the natural size they declare.
struct PosterHead {
  std::string bytes;  // the JPEG decoder's first chunk
  QSize natural;
};

struct StartupFacts {
  platform::Listing here;  // the disc's directory, which is the current one
  platform::ScreenSize screen;
  platform::WorkArea work;
  double pixelRatio = 1;  // device pixels per layout pixel where the poster is drawn
  std::optional<std::string> movieFormType;  // the movie's bytes at media::kFormTypeOffset
  std::optional<movie::LauncherFiles> launcher;
  // Each read or why it failed. JPEG: the header, then the picture; BMP: the whole picture.
  std::optional<platform::Result<PosterHead>> posterHead;
  std::optional<platform::Result<QImage>> poster;
  std::optional<bool> online;
  std::map<std::string, bool> iniWritten;  // by path: whether the INI update carried out there was done
};

// The next fact the plan needs before it can go on. IniWrite is a step rather than a read: the
// update of the last of the plan's `iniFiles`, carried out, and whether it was done.
struct StartupNeed {
  enum class Kind { MovieFormType, LauncherFiles, IniFile, IniWrite, PosterHead, PosterPicture, Online };
  Kind kind;
  std::string file;  // MovieFormType, IniFile and IniWrite (a path), PosterHead and PosterPicture
  QSize decodeAt;    // PosterPicture of a JPEG: the device pixels it is drawn at
  bool operator==(const StartupNeed&) const = default;
};

// Which step's failure ended the start-up with the application's error box.
enum class ErrorKind { None, IniWrite, Poster };

struct PosterPlan {
  std::string file;  // as found ("" for none); set once the start-up reaches the poster
  media::PosterKind kind = media::kPosterNone;  // until the start-up reaches the poster
  bool loaded = false;
  QImage picture;    // the loaded poster, decoded for the box
  QSize natural;     // of the loaded poster
  bool showDefault = true;  // the default poster stays in the box
};

// The poster box keeps its design place; only its size changes.
struct WindowPlan {
  int left = 0, top = 0, width = design::kWindow.width, height = design::kWindow.height;
  BoxState box;  // the poster box's size and switches
  int titleTop = design::kTitle.top, titleWidth = design::kTitle.width;
  int buttonsLeft = design::kButtonLeft, infoTop = design::Row(Button::Info).top;
  // Set when a loaded poster rebuilt the window (ComputeScreenSize); the window applies these values.
  std::optional<ScreenSizeResult> fit;
};

struct StartupPlan {
  bool vplayerPresent = false, bplayerPresent = false;  // the players' executables
  bool startShown = false, bplayerShown = false, selectShown = true, infoShown = true;
  ButtonColumn column;
  Button focus = Button::Start;
  bool timerRunning = true;
  std::string MovieFileName;
  bool movieAccepted = false;
  std::string notAviMessage;  // the red line
  std::string SubtitleFileName;
  std::string notesFile;
  std::string title;  // bytes
  int titlePoints = 14;
  // Per player whose button shows, in the order written; a write that failed is Failed.
  std::vector<movie::IniOutcome> iniFiles;
  PosterPlan poster;
  WindowPlan window;
  ErrorKind errorKind = ErrorKind::None;  // the start-up's error box, if it shows one
  std::string error;
  bool IsOnline = false;
  std::optional<StartupNeed> need;  // set when the plan is not complete yet
};

// A push button of the column, where the start-up leaves it.
struct ColumnButton {
  Button button;
  int left = 0, top = 0;
  bool operator==(const ColumnButton&) const = default;
};
// The visible push buttons top to bottom after start-up, Show Info included when visible.
std::vector<ColumnButton> VisibleColumn(const StartupPlan& plan);

// The program-wide variables as the start-up leaves them: the flags and the frame size reset, the
// names found, online as the check said.
LauncherState StateAfterStartUp(const StartupPlan& plan);

// The start-up sequence over `facts`. While a fact it needs is missing, the plan is complete up to
// that point and `need` names the fact.
StartupPlan PlanStartup(const StartupFacts& facts);

// The layout the window starts with on `screen`: centred, 25 pixels above the middle, kept on the
// work area.
WindowPlan DesignWindow(const platform::ScreenSize& screen, const platform::WorkArea& work);

}  // namespace app
