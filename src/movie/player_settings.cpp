#include "movie/player_settings.h"

#include <optional>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace movie {

namespace {

constexpr const char* kOwnSection = "Zorvalin";
constexpr const char* kSubtitlesSection = "Subtitles";
constexpr const char* kSubtitleKey = "Sub1";
constexpr const char* kHereDirectory = ".";  // where the player is started

// Entries this short never name a file the launcher trusts.
bool IsUsableEntry(const std::string& entry) { return entry.size() > 2; }

std::string ReadTrimmed(const std::string& path, const char* section, const char* key) {
  return platform::Trim(platform::ReadProfileString(path, section, key));
}

// Sets PlayerKnowsMovie from a usable entry; true when the named file exists.
bool SetKnowsFrom(const std::string& entry, app::LauncherState& state) {
  state.PlayerKnowsMovie = platform::FileExists(entry);
  return state.PlayerKnowsMovie;
}

}  // namespace

std::vector<IniWrite> PlayerSettingsWrites(const std::string& iniFileName, int kind,
                                           const app::LauncherState& state) {
  if (!IsUsableEntry(state.SubtitleFileName)) return {};
  const std::string& movieName = state.MovieFileName;
  const std::string& subtitle = state.SubtitleFileName;
  switch (kind) {
    case app::kPlayerVPlayer:
      return {{iniFileName, "Autorun", "FileNameMovie", movieName},
              {iniFileName, "Autorun", "FileNameSubtitles", subtitle}};
    case app::kPlayerBSPlayer:
      return {{iniFileName, "Movie", "FName", movieName},
              {iniFileName, kSubtitlesSection, kSubtitleKey, subtitle},
              {iniFileName, "Movie", "Directory", kHereDirectory},
              {iniFileName, kSubtitlesSection, "Directory", kHereDirectory}};
    default:
      return {};
  }
}

bool IsDriveReady(const std::string& directory) { return platform::IsMediumReady(directory); }

void WritePlayerSettings(const std::string& launcherDirectory, const std::string& iniFileName, int kind,
                         const app::LauncherState& state, std::vector<IniWrite>* performed) {
  // Only a directory on a mounted medium is written to; a relative or network-style path is not.
  if (launcherDirectory.empty() || launcherDirectory.front() != '/') return;
  // Probing the medium must never bring up a system prompt; nothing here can raise one.
  if (!IsDriveReady(launcherDirectory)) return;
  const std::string path = launcherDirectory + iniFileName;
  const std::optional<std::string> onDisk = platform::ResolveCase(path);
  // Clearing the read-only mark doubles as the test that the file exists and its medium is writable.
  if (!onDisk || !platform::FileExists(*onDisk) || !platform::MakeWritable(*onDisk)) return;
  for (const IniWrite& write : PlayerSettingsWrites(iniFileName, kind, state)) {
    platform::WriteProfileString(path, write.section, write.key, write.value);
    if (performed) performed->push_back(write);
  }
}

void ReadPlayerMovieEntry(const std::string& iniPath, int kind, app::LauncherState& state) {
  const std::string entry = kind == app::kPlayerBSPlayer ? ReadTrimmed(iniPath, "Movie", "FName")
                                                         : ReadTrimmed(iniPath, "Autorun", "FileNameMovie");
  if (!IsUsableEntry(entry)) return;
  if (SetKnowsFrom(entry, state)) return;
  const std::string subtitle = ReadTrimmed(iniPath, kSubtitlesSection, kSubtitleKey);
  if (IsUsableEntry(subtitle)) SetKnowsFrom(subtitle, state);
}

std::string ReadPlayerParam(const std::string& launcherDirectory, const std::string& iniFileName,
                            app::LauncherState& state) {
  const std::string path = launcherDirectory + iniFileName;
  if (!platform::FileExists(path)) return {};
  const std::string param = ReadTrimmed(path, kOwnSection, "Param");
  ReadPlayerMovieEntry(path, app::kPlayerVPlayer, state);
  return param;
}

std::string ReadFilmName(const std::string& launcherDirectory, const std::string& iniFileName) {
  const std::string path = launcherDirectory + iniFileName;
  if (!platform::FileExists(path)) return {};
  return ReadTrimmed(path, kOwnSection, "Filmname");
}

}  // namespace movie
