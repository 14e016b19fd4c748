#include "app/startup_plan.h"

#include <algorithm>
#include <tuple>

#include "app/picture_fit.h"
#include "media/avi.h"
#include "media/notes.h"
#include "media/poster.h"
#include "movie/discovery.h"
#include "platform/names.h"
#include "title/film_title.h"

namespace app {

namespace {

using Need = StartupNeed::Kind;

ScreenSizeResult FitToPoster(QSize natural, const platform::WorkArea& work) {
  ScreenSizeInput input;
  input.pictureWidth = natural.width();
  input.pictureHeight = natural.height();
  input.work = work;
  return ComputeScreenSize(input);
}

// The window rebuilt around a loaded poster; a poster too small to rebuild it changes the box only.
void FitWindow(WindowPlan& window, const ScreenSizeResult& fit, const platform::WorkArea& work) {
  window.fit = fit;
  window.box = fit.box;
  if (!fit.applied) return;
  std::tie(window.left, window.top) = KeepOnWorkArea(fit.windowLeft, fit.windowTop, work);
  window.width = fit.windowWidth;
  window.height = fit.windowHeight;
  window.titleTop = fit.titleTop;
  window.titleWidth = fit.titleWidth;
  window.buttonsLeft = fit.buttonsLeft;
  window.infoTop = fit.infoTop;
}

void Fail(StartupPlan& plan, ErrorKind kind, const std::string& error) {
  plan.errorKind = kind;
  plan.error = error;
}

// A JPEG poster is fitted by the natural size in its header, then decoded no larger than the box
// draws it on this screen (a large poster is shown far smaller than it is; a scaled screen draws
// it with more pixels than its layout size). False when the start-up ends here.
bool PlanJpegPoster(const StartupFacts& facts, StartupPlan& plan) {
  PosterPlan& poster = plan.poster;
  if (!facts.posterHead) return plan.need = StartupNeed{Need::PosterHead, poster.file, {}}, false;
  const platform::Result<PosterHead>& head = *facts.posterHead;
  if (!head) return Fail(plan, ErrorKind::Poster, head.error()), false;
  const QSize natural = head->natural;
  const ScreenSizeResult fit = FitToPoster(natural, facts.work);
  const QSize drawn = PictureRect(natural, QSize(fit.box.width, fit.box.height), fit.box).size();
  const QSize decodeAt = DeviceSize(drawn, facts.pixelRatio);
  if (!facts.poster) return plan.need = StartupNeed{Need::PosterPicture, poster.file, decodeAt}, false;
  if (!*facts.poster) return Fail(plan, ErrorKind::Poster, facts.poster->error()), false;
  if (natural.width() < 2) return true;  // the test is on the poster's own width, as decoded in full
  poster.loaded = true;
  poster.picture = **facts.poster;
  poster.natural = natural;
  FitWindow(plan.window, fit, facts.work);
  return true;
}

// A BMP poster is read whole; the default poster leaves the box before it is read.
bool PlanBmpPoster(const StartupFacts& facts, StartupPlan& plan) {
  PosterPlan& poster = plan.poster;
  poster.showDefault = false;
  if (!facts.poster) return plan.need = StartupNeed{Need::PosterPicture, poster.file, {}}, false;
  if (!*facts.poster) return Fail(plan, ErrorKind::Poster, facts.poster->error()), false;
  poster.loaded = true;
  poster.picture = **facts.poster;
  poster.natural = poster.picture.size();
  FitWindow(plan.window, FitToPoster(poster.natural, facts.work), facts.work);
  return true;
}

bool PlanPoster(const StartupFacts& facts, StartupPlan& plan) {
  const media::PosterFile found = media::FindPosterFile(facts.here, plan.MovieFileName);
  plan.poster.file = found.name;
  plan.poster.kind = found.kind;
  if (!platform::CountsAsName(found.name)) return true;
  return found.kind == media::kPosterJpeg ? PlanJpegPoster(facts, plan) : PlanBmpPoster(facts, plan);
}

// The film title, from the movie's name or, for a movie called "film", the players' settings.
bool PlanTitle(const movie::LauncherFiles& launcher, StartupPlan& plan) {
  plan.title = title::DeriveFilmTitle(platform::BaseName(plan.MovieFileName), [&] {
    for (const std::string& path : movie::FilmNameFiles(launcher))
      if (!launcher.iniFiles.contains(path) && !plan.need) plan.need = StartupNeed{Need::IniFile, path, {}};
    return movie::ReadPlayersFilmName(launcher);
  });
  plan.titlePoints = title::TitleFontPoints(title::DisplayedLength(plan.title));
  return !plan.need;
}

// The planned update as its write left it: one that failed only at the write fails as a planned
// failure would, with nothing written.
void WithWriteResult(movie::IniOutcome& outcome, bool written, const std::string& directory) {
  using Kind = platform::ProfileUpdate::Kind;
  if (written || outcome.update.kind == Kind::Failed) return;
  outcome.update = {Kind::Failed, platform::UnableToWrite(directory + outcome.file), {}};
  outcome.writes.clear();
}

// The INI file of each player whose button shows, its update carried out as a step of its own
// (also a failed one, which still resets the file's attributes); the first update that fails,
// as planned or at the write, ends the start-up.
bool PlanPlayersSettings(const StartupFacts& facts, StartupPlan& plan) {
  using Kind = platform::ProfileUpdate::Kind;
  const movie::LauncherFiles& launcher = *facts.launcher;
  for (const auto& [shown, kind] : {std::pair{plan.startShown, movie::PlayerKind::VPlayer},
                                   std::pair{plan.bplayerShown, movie::PlayerKind::BSPlayer}}) {
    if (!shown) continue;
    movie::IniOutcome outcome = movie::PlanPlayerSettings(launcher, kind, plan.MovieFileName, plan.SubtitleFileName);
    platform::ProfileUpdate& update = outcome.update;
    if (update.kind == Kind::Unread) return plan.need = StartupNeed{Need::IniFile, outcome.path, {}}, false;
    if (!outcome.path.empty()) {
      const auto written = facts.iniWritten.find(outcome.path);
      if (written == facts.iniWritten.end()) {
        plan.iniFiles.push_back(std::move(outcome));
        return plan.need = StartupNeed{Need::IniWrite, plan.iniFiles.back().path, {}}, false;
      }
      WithWriteResult(outcome, written->second, launcher.directory);
    }
    plan.iniFiles.push_back(outcome);
    if (update.kind == Kind::Failed) return Fail(plan, ErrorKind::IniWrite, update.reason), false;
  }
  return true;
}

// False when there is no movie to offer, or it is not an AVI file.
bool MovieBranch(const StartupFacts& facts, StartupPlan& plan) {
  if (!platform::CountsAsName(plan.MovieFileName)) return false;
  if (!facts.movieFormType) return plan.need = StartupNeed{Need::MovieFormType, plan.MovieFileName, {}}, true;
  if (!media::IsAviFormType(*facts.movieFormType)) {
    plan.notAviMessage = media::NotAviMessage(plan.MovieFileName);
    return false;
  }
  plan.movieAccepted = true;
  plan.SubtitleFileName = movie::FindSubtitleFile(facts.here, plan.MovieFileName);
  plan.notesFile = media::FindNotesFile(facts.here);
  if (!facts.launcher) return plan.need = StartupNeed{Need::LauncherFiles, {}, {}}, true;
  if (!PlanTitle(*facts.launcher, plan) || !PlanPlayersSettings(facts, plan) || !PlanPoster(facts, plan))
    return true;
  if (!facts.online) return plan.need = StartupNeed{Need::Online, {}, {}}, true;
  plan.IsOnline = *facts.online;
  return true;
}

void NoMovieBranch(StartupPlan& plan) {
  plan.startShown = plan.bplayerShown = plan.selectShown = plan.infoShown = false;
  plan.column.closeTop = CloseUpColumn(true, true).startTop;
  plan.focus = Button::Close;
  plan.timerRunning = false;
}

}  // namespace

WindowPlan DesignWindow(const platform::ScreenSize& screen, const platform::WorkArea& work) {
  WindowPlan window;
  const auto [left, top] = CentreOnScreen(window.width, window.height, screen.width, screen.height);
  std::tie(window.left, window.top) = KeepOnWorkArea(left, top, work);
  return window;
}

std::vector<ColumnButton> VisibleColumn(const StartupPlan& plan) {
  const int left = plan.window.buttonsLeft;
  std::vector<ColumnButton> column;
  for (const auto& [button, shown, top] :
       {std::tuple{Button::Start, plan.startShown, plan.column.startTop},
        std::tuple{Button::BPlayer, plan.bplayerShown, plan.column.bplayerTop},
        std::tuple{Button::Select, plan.selectShown, plan.column.selectTop},
        std::tuple{Button::Close, true, plan.column.closeTop},
        std::tuple{Button::Info, plan.infoShown, plan.window.infoTop}})
    if (shown) column.push_back({button, left, top});
  std::stable_sort(column.begin(), column.end(), [](const ColumnButton& a, const ColumnButton& b) { return a.top < b.top; });
  return column;
}

LauncherState StateAfterStartUp(const StartupPlan& plan) {
  LauncherState state;
  state.MovieFileName = plan.MovieFileName;
  state.SubtitleFileName = plan.SubtitleFileName;
  state.IsOnline = plan.IsOnline;
  state.PosterKind = plan.poster.kind;
  return state;
}

StartupPlan PlanStartup(const StartupFacts& facts) {
  StartupPlan plan;
  plan.window = DesignWindow(facts.screen, facts.work);
  plan.vplayerPresent = plan.startShown = movie::PlayerPresent(facts.here, movie::PlayerKind::VPlayer);
  plan.bplayerPresent = plan.bplayerShown = movie::PlayerPresent(facts.here, movie::PlayerKind::BSPlayer);
  plan.focus = InitialFocus(plan.startShown, plan.bplayerShown);
  plan.column = CloseUpColumn(plan.startShown, plan.bplayerShown);
  plan.MovieFileName = movie::FindMovieFile(facts.here);
  if (!MovieBranch(facts, plan)) NoMovieBranch(plan);
  return plan;
}

}  // namespace app
