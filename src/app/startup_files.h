#pragma once
// Running the start-up plan: the disc's listing once, then each file once, and only the files the
// plan needs; and the INI updates it plans, carried out in its order, their outcomes handed back
// to it. The players' INI files stay open meanwhile, so that each update is carried out on the
// very file the plan decided on.
#include <functional>
#include <map>
#include <string>

#include "app/startup_plan.h"
#include "app/system_facts.h"
#include "media/avi.h"
#include "media/info_panel.h"
#include "platform/profile.h"

namespace app {

// Carries out the planned update `ini` on the INI file opened at `ini.path`; whether it was done.
using IniWriter = std::function<bool(const movie::IniOutcome& ini, platform::ProfileFile& file)>;

// The start-up in the current directory, which is the disc's, on `system`: reads each fact the
// plan asks for and carries out each INI update through `writeIni`, until the plan is complete.
// `pixelRatio` is the device pixels per layout pixel where the poster is drawn. Changes nothing
// else on any medium.
StartupPlan RunStartup(const SystemFacts& system, double pixelRatio, const IniWriter& writeIni);

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
