#include "movie/player_settings.h"

#include "platform/names.h"
#include "platform/text.h"

namespace movie {

namespace {

constexpr IniKey kParamEntry = {"Zorvalin", "Param"};
constexpr IniKey kFilmNameEntry = {"Zorvalin", "Filmname"};
constexpr std::string_view kHereDirectory = ".";  // where the player is started

std::string ReadTrimmed(std::string_view content, IniKey entry) {
  return platform::Trim(platform::ProfileRead(content, entry.section, entry.key));
}

IniOutcome Skip(IniOutcome outcome, std::string reason) {
  outcome.update = {platform::ProfileUpdate::Kind::Skipped, std::move(reason), {}};
  return outcome;
}

}  // namespace

std::vector<IniWrite> PlayerSettingsWrites(PlayerKind kind, const std::string& movieFileName,
                                           const std::string& subtitleFileName) {
  if (!platform::IsTrustedEntry(subtitleFileName)) return {};
  const Player& player = PlayerOf(kind);
  std::vector<IniWrite> writes;
  for (const WrittenKey& written : player.writtenKeys) {
    const std::string_view value = written.value == WrittenValue::Movie      ? movieFileName
                                   : written.value == WrittenValue::Subtitle ? subtitleFileName
                                                                             : kHereDirectory;
    writes.push_back({std::string(player.iniWriteName), std::string(written.key.section),
                      std::string(written.key.key), std::string(value)});
  }
  return writes;
}

std::string ListedIniFile(const LauncherFiles& launcher, std::string_view name) {
  const std::string listed = platform::RegularFileName(launcher.listing, name);
  return listed.empty() || launcher.directory.empty() ? std::string() : launcher.directory + listed;
}

IniOutcome PlanPlayerSettings(const LauncherFiles& launcher, PlayerKind kind, const std::string& movieFileName,
                              const std::string& subtitleFileName) {
  const Player& player = PlayerOf(kind);
  IniOutcome outcome;
  outcome.file = player.iniWriteName;
  // Without the launcher's own directory any INI file found would be some other program's.
  if (launcher.directory.empty()) return Skip(std::move(outcome), "launcher directory unknown");
  const std::string path = ListedIniFile(launcher, player.iniWriteName);
  if (path.empty()) return outcome;
  // Only a directory on a mounted medium is written to; a relative or network-style path is not.
  if (!platform::IsOnDrive(launcher.directory)) return Skip(std::move(outcome), "not on a drive");
  if (!launcher.mediumReady) return Skip(std::move(outcome), "drive not ready");
  outcome.path = path;
  const auto facts = launcher.iniFiles.find(path);
  if (facts == launcher.iniFiles.end()) {
    outcome.update.kind = platform::ProfileUpdate::Kind::Unread;
    return outcome;
  }
  const std::vector<IniWrite> writes = PlayerSettingsWrites(kind, movieFileName, subtitleFileName);
  std::vector<platform::ProfileEdit> edits;
  for (const IniWrite& write : writes) edits.push_back({write.section, write.key, write.value});
  for (const platform::ListingEntry& entry : launcher.listing.entries)
    if (platform::IsTemporaryOf(path.substr(launcher.directory.size()), entry.name)) outcome.stale.push_back(entry.name);
  // A name the file cannot hold as one value would reach the player as another name: none of the
  // keys is written then, but the attributes are reset all the same.
  outcome.update = platform::PlanProfileUpdate(launcher.directory + std::string(player.iniWriteName), facts->second, edits);
  using Kind = platform::ProfileUpdate::Kind;
  if (outcome.update.kind == Kind::Unchanged && writes.empty()) return Skip(std::move(outcome), "no subtitle file");
  if (outcome.update.kind == Kind::Written || outcome.update.kind == Kind::Unchanged) outcome.writes = writes;
  return outcome;
}

std::vector<std::string> FilmNameFiles(const LauncherFiles& launcher) {
  std::vector<std::string> files;
  for (const Player* player : kPlayers)
    if (std::string path = ListedIniFile(launcher, player->iniReadName); !path.empty()) files.push_back(path);
  return files;
}

std::string ReadPlayersFilmName(const LauncherFiles& launcher) {
  for (const std::string& path : FilmNameFiles(launcher)) {
    const auto facts = launcher.iniFiles.find(path);
    if (facts == launcher.iniFiles.end() || !facts->second.content || facts->second.content->size() > platform::kProfileFileMax)
      continue;
    if (std::string name = ReadTrimmed(*facts->second.content, kFilmNameEntry); !name.empty()) return name;
  }
  return {};
}

std::vector<std::string> EntriesToCheck(const LaunchFiles& files) {
  std::vector<std::string> entries;
  for (const std::optional<std::string>* ini : {&files.vplayerIni, &files.bplayerIni}) {
    if (!*ini) continue;
    for (const IniKey key : {kVPlayer.movieEntry, kBSPlayer.movieEntry, kSubtitleEntry})
      if (std::string entry = ReadTrimmed(**ini, key); platform::IsTrustedEntry(entry)) entries.push_back(entry);
  }
  return entries;
}

std::optional<bool> PlayerKnowsMovie(const std::optional<std::string>& ini, PlayerKind kind, const LaunchFiles& files) {
  const std::string entry = ini ? ReadTrimmed(*ini, PlayerOf(kind).movieEntry) : std::string();
  if (!platform::IsTrustedEntry(entry)) return std::nullopt;
  if (files.existingEntries.contains(entry)) return true;
  const std::string subtitle = ReadTrimmed(*ini, kSubtitleEntry);
  return platform::IsTrustedEntry(subtitle) && files.existingEntries.contains(subtitle);
}

std::string PlayerParam(const std::optional<std::string>& ini) {
  return ini ? ReadTrimmed(*ini, kParamEntry) : std::string();
}

}  // namespace movie
