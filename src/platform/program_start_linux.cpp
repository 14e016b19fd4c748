// Starting programs and opening addresses on Linux: a program file runs itself or through Wine
// (PlanProgramStart), the movie of a Windows player without Wine plays in the desktop's default
// video player, and anything else goes to the desktop's opener.
#include <QDesktopServices>
#include <QUrl>

#include "platform/default_player_linux.h"
#include "platform/files.h"
#include "platform/program_start.h"
#include "platform/program_start_posix.h"
#include "platform/url.h"

namespace platform {

namespace {

// A file URL made from the path's own bytes, so a name that is not valid UTF-8 survives.
QUrl FileUrl(const std::string& path) {
  return QUrl::fromEncoded(QByteArray::fromStdString(FileUrlOf(path)), QUrl::StrictMode);
}

// The movie in the desktop's default video player; without one, the desktop's opener chooses.
bool PlayMovie(const std::string& movie, const std::string& subtitle) {
  if (const std::optional<std::string> exec = DefaultApplicationExec(XdgDirsFromEnvironment(), AviMimeTypes())) {
    if (std::optional<std::vector<std::string>> command = PlayerCommand(*exec, movie, subtitle)) {
      const std::string program = FindExecutable(command->front());
      command->erase(command->begin());
      if (!program.empty() && StartDetached(program, *command)) return true;
    }
  }
  return QDesktopServices::openUrl(FileUrl(movie));
}

}  // namespace

// No box of the system's own comes up about a start here, so the owner window is not needed.
Result<void> StartProgram(const ProgramStart& start, OwnerWindow) {
  const StartPlan plan = PlanProgramStart(start, FindExecutable("wine"));
  switch (plan.way) {
    case StartPlan::Way::Execute:
      if (const Result<void> started = StartDetached(plan.program, plan.arguments); !started)
        return UnableToStart(start.program, started.error());
      return {};
    case StartPlan::Way::Open:
      if (!QDesktopServices::openUrl(FileUrl(plan.program)))
        return UnableToStart(start.program, "no program of the desktop opens it");
      return {};
    case StartPlan::Way::PlayMovie:
      if (!PlayMovie(plan.movie, plan.subtitle))
        return UnableToStart(start.program, "without Wine, no video player of the desktop plays " + plan.movie);
      return {};
    case StartPlan::Way::Nothing: break;
  }
  return UnableToStart(start.program, "no such file");
}

Result<void> OpenUrl(const std::string& url) {
  if (!QDesktopServices::openUrl(UrlFromBytes(url))) return UnableToOpen(url, "no browser of the desktop takes it");
  return {};
}

}  // namespace platform
