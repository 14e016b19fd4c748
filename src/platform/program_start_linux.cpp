// Starting programs and opening addresses on Linux: a program file runs itself or through Wine
// (ProbeProgramStart), the movie of a Windows player without Wine plays in the video player the
// desktop would choose, and anything else goes to the desktop's opener.
#include "platform/default_player_linux.h"
#include "platform/files.h"
#include "platform/program_start.h"
#include "platform/program_start_posix.h"
#include "platform/url.h"

namespace platform {

namespace {

// The desktop's opener, found as the players are: a relative PATH entry would find the disc's own.
Result<void> OpenWithDesktop(const std::string& target) {
  if (const std::string xdgOpen = FindExecutable("xdg-open"); !xdgOpen.empty()) return StartDetached(xdgOpen, {target});
  if (const std::string gio = FindExecutable("gio"); !gio.empty()) return StartDetached(gio, {"open", target});
  return Failure{"the desktop has no opener (xdg-open)"};
}

// The movie in the video player the desktop would choose; without one, the desktop's opener.
Result<void> PlayMovie(const std::string& movie, const std::string& subtitle) {
  const XdgDirs dirs = XdgDirsFromEnvironment();
  std::string why = "no video player of the desktop plays AVI files";
  if (const std::optional<DesktopApplication> player = ChooseApplication(dirs, AviMimeTypes(dirs))) {
    if (std::optional<std::vector<std::string>> command = PlayerCommand(*player, movie, subtitle)) {
      const std::string program = FindExecutable(command->front());
      command->erase(command->begin());
      const Result<void> started = StartDetached(program, *command);
      if (started) return {};
      why = "the video player " + player->id + " does not start (" + started.error() + ")";
    }
  }
  if (const Result<void> opened = OpenWithDesktop(FileUrlOf(movie)); !opened) return Failure{why + ", and " + opened.error()};
  return {};
}

}  // namespace

// No box of the system's own comes up about a start here, so the owner window is not needed.
Result<void> SystemStartProgram(const ProgramStart& start, NativeWindow) {
  const StartPlan plan = ProbeProgramStart(start, FindExecutable("wine"));
  switch (plan.way) {
    case StartPlan::Way::Execute: return StartDetached(plan.program, plan.arguments);
    case StartPlan::Way::Open: return OpenWithDesktop(FileUrlOf(plan.program));
    case StartPlan::Way::PlayMovie:
      if (const Result<void> played = PlayMovie(plan.movie, plan.subtitle); !played)
        return Failure{"without Wine, " + played.error()};
      return {};
    case StartPlan::Way::Nothing: break;
  }
  return Failure{kNoSuchFile};
}

Result<void> SystemOpenUrl(const std::string& url) { return OpenWithDesktop(EncodeUrlBytes(url)); }

}  // namespace platform
