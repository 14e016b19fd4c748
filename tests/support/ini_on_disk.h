#pragma once
// One player's INI file updated as the start-up goes about it on a real file system: list the
// launcher's directory, open the file the plan asks to read, plan with what it told, and carry the
// update out on the very file opened; a carry-out that fails is reported as the window reports it.
#include <string>

#include "movie/discovery.h"
#include "movie/player_settings.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace testsupport {

inline movie::IniOutcome UpdateOnDisk(const std::string& directory, movie::PlayerKind kind,
                                      const std::string& movieName, const std::string& subtitle) {
  using Kind = platform::ProfileUpdate::Kind;
  movie::LauncherFiles launcher{directory, platform::ListDirectory(directory, movie::kStartupNames), false, {}};
  launcher.mediumReady = platform::IsOnDrive(directory) && platform::IsMediumReady(directory, launcher.listing.code);
  movie::IniOutcome outcome = movie::PlanPlayerSettings(launcher, kind, movieName, subtitle);
  if (outcome.update.kind != Kind::Unread) return outcome;
  platform::ProfileFile file = platform::ProfileFile::Open(outcome.path);
  launcher.iniFiles[outcome.path] = file.facts();
  outcome = movie::PlanPlayerSettings(launcher, kind, movieName, subtitle);
  if (!file.Apply(outcome.update, outcome.stale) && outcome.update.kind != Kind::Failed)
    outcome.update = {Kind::Failed, platform::UnableToWrite(directory + outcome.file), {}};
  return outcome;
}

}  // namespace testsupport
