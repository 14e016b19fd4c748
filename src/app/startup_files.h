#pragma once
// Reading what the start-up plan asks for: the disc's listing once, then each file once, and only
// the files the plan needs; and carrying out the INI updates it plans, in its order. The players'
// INI files stay open, so that their updates are carried out on the very files the plan decided on.
#include <functional>
#include <map>
#include <string>

#include "app/startup_plan.h"
#include "media/avi.h"
#include "media/info_panel.h"
#include "platform/profile.h"

namespace app {

class StartupFiles {
 public:
  // Carries out the planned update `ini` on the INI file opened at `ini.path`; whether it was done.
  using IniWriter = std::function<bool(const movie::IniOutcome& ini, platform::ProfileFile& file)>;

  // `launcherDirectory` with a trailing separator ("" when unknown); `isOnline` asks the system.
  StartupFiles(std::string launcherDirectory, std::function<bool()> isOnline, IniWriter writeIni);

  // Lists the current directory into `facts` and plans the start-up, reading each fact the plan
  // asks for into `facts` and carrying out each INI update through `writeIni`, until the plan is
  // complete. Changes nothing else on any medium.
  StartupPlan Plan(StartupFacts& facts);

 private:
  void Answer(const StartupPlan& plan, StartupFacts& facts);
  movie::LauncherFiles ReadLauncherFiles(const platform::Listing& here) const;

  std::string launcherDirectory_;
  std::function<bool()> isOnline_;
  IniWriter writeIni_;
  std::map<std::string, platform::ProfileFile> iniFiles_;
};

// The movie's facts from its headers, read as the AVI reader asks from one open of the file, so
// that its size and its bytes agree; nullopt when it no longer reads as an AVI file.
std::optional<media::AviFacts> ReadAviFacts(const std::string& movieFileName);

// The text panel as Show Info fills it: the movie's report and the notes file's text.
media::InfoPanelContent ReadInfoPanel(const std::string& movieFileName, const std::string& notesFile,
                                      int windowWidth, char decimalSeparator);

// What a start by a button reads at the moment of the click: the players' INI files in the
// launcher's directory (`planned` holds, by path, contents to take instead of a file's: the
// inspector's dry run), the players' executables and the existence of the entries the files name.
movie::LaunchFiles ReadLaunchFiles(const std::string& launcherDirectory,
                                   const std::map<std::string, std::string>& planned = {});

}  // namespace app
