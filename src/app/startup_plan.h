#pragma once
// The start-up as one decision: from what the start-up read (StartupFacts) to everything it does
// (StartupPlan), as a pure function. The window applies the plan to its controls and carries out
// its INI updates; the inspector prints it. Facts are read only as the plan asks for them, so that
// the disc is read no more than the start-up needs (see StartupNeed and app/startup_files.h).
#include <QImage>
#include <QSize>

#include <optional>
#include <string>
#include <vector>

#include "app/screen_size.h"
#include "app/buttons.h"
#include "movie/player_settings.h"
#include "platform/files.h"
#include "platform/display.h"

namespace app {

// The poster file's first bytes and the natural size they declare, or why it cannot be read.
struct PosterHead {
  std::string bytes;  // the JPEG decoder's first chunk; "" for a BMP
  QSize natural;
  std::string error;
};
// The poster decoded for the box, or the decoder's message.
struct PosterPicture {
  QImage image;
  std::string error;
};

struct StartupFacts {
  platform::Listing here;  // the disc's directory, which is the current one
  platform::ScreenSize screen;
  platform::WorkArea work;
  double pixelRatio = 1;  // device pixels per layout pixel where the poster is drawn
  std::optional<std::string> movieFormType;  // the movie's bytes at media::kFormTypeOffset
  std::optional<movie::LauncherFiles> launcher;
  std::optional<PosterHead> posterHead;  // JPEG: the header; BMP: the whole picture is `poster`
  std::optional<PosterPicture> poster;
  std::optional<bool> online;
};

// The next fact the plan needs before it can go on.
struct StartupNeed {
  enum class Kind { MovieFormType, LauncherFiles, IniFile, PosterHead, PosterPicture, Online };
  Kind kind;
  std::string file;  // MovieFormType, IniFile (a path), PosterHead and PosterPicture
  QSize decodeAt;    // PosterPicture of a JPEG: the device pixels it is drawn at
  bool operator==(const StartupNeed&) const = default;
};

// Which step's failure ended the start-up with the application's error box.
enum class ErrorKind { None, IniWrite, Poster, Notes };

struct PosterPlan {
  std::string file;  // as found ("" for none); set once the start-up reaches the poster
  int kind = 0;      // media::PosterKind, 0 until the start-up reaches the poster
  bool loaded = false;
  QSize natural;     // of the loaded poster
  bool showDefault = true;  // the default poster stays in the box
};

struct WindowPlan {
  int left = 0, top = 0, width = 385, height = 425;
  BoxState box;  // the poster box's size and switches
  int boxLeft = 14, boxTop = 36;
  int titleTop = 396, titleWidth = 373;
  int buttonsLeft = 270, infoTop = 343;
  // Set when a loaded poster rebuilt the window (SetScreenSize), which then applies these values.
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
  std::vector<movie::IniOutcome> iniFiles;  // per player whose button shows, in the order written
  PosterPlan poster;
  WindowPlan window;
  ErrorKind errorKind = ErrorKind::None;  // the start-up's error box, if it shows one
  std::string error;
  bool IsOnline = false;
  std::optional<StartupNeed> need;  // set when the plan is not complete yet
};

// The start-up sequence over `facts`. While a fact it needs is missing, the plan is complete up to
// that point and `need` names the fact.
StartupPlan PlanStartup(const StartupFacts& facts);

// The layout the window starts with on `screen`: centred, 25 pixels above the middle, kept on the
// work area.
WindowPlan DesignWindow(const platform::ScreenSize& screen, const platform::WorkArea& work);

}  // namespace app
