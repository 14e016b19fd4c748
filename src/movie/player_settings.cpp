#include "movie/player_settings.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/names.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace movie {

namespace {

constexpr IniKey kParamEntry = {"Zorvalin", "Param"};
constexpr IniKey kFilmNameEntry = {"Zorvalin", "Filmname"};
constexpr std::string_view kHereDirectory = ".";  // where the player is started

std::string ReadTrimmed(const std::string& path, IniKey entry) {
  return platform::Trim(platform::ReadProfileString(path, entry.section, entry.key));
}

// The INI file's path spelled as listed, so that reading it lists nothing again; "" when the
// listing holds no file of that name.
std::string ListedFile(const std::string& directory, const platform::Listing& listing, std::string_view name) {
  const platform::ListingEntry* entry = platform::LookupEntry(listing, name);
  return entry != nullptr && entry->kind == platform::EntryKind::File ? directory + entry->name : std::string();
}

}  // namespace

std::vector<IniWrite> PlayerSettingsWrites(PlayerKind kind, const std::string& movieFileName,
                                           const std::string& subtitleFileName) {
  if (!platform::IsUsableEntry(subtitleFileName)) return {};
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

bool IsDriveReady(const std::string& directory, const platform::Listing& listing) {
  return platform::IsMediumReady(directory, listing.code);
}

IniOutcome WritePlayerSettings(const std::string& launcherDirectory, const platform::Listing& launcher,
                               PlayerKind kind, const std::string& movieFileName,
                               const std::string& subtitleFileName) {
  const Player& player = PlayerOf(kind);
  IniOutcome outcome;
  outcome.file = player.iniWriteName;
  // Without the launcher's own directory any INI file found would be some other program's.
  if (launcherDirectory.empty()) {
    outcome.kind = IniOutcome::Kind::Skipped;
    outcome.reason = "launcher directory unknown";
    return outcome;
  }
  const std::string onDisk = ListedFile(launcherDirectory, launcher, player.iniWriteName);
  if (onDisk.empty()) return outcome;
  outcome.kind = IniOutcome::Kind::Skipped;
  // Only a directory on a mounted medium is written to; a relative or network-style path is not.
  if (!platform::IsOnDrive(launcherDirectory)) {
    outcome.reason = "not on a drive";
    return outcome;
  }
  // Probing the medium must never bring up a system prompt; nothing here can raise one.
  if (!IsDriveReady(launcherDirectory, launcher)) {
    outcome.reason = "drive not ready";
    return outcome;
  }
  const std::vector<IniWrite> writes = PlayerSettingsWrites(kind, movieFileName, subtitleFileName);
  // A name the file cannot hold as one value would reach the player as another name: none of the
  // keys is written then, but the attributes are reset all the same.
  const bool writable = std::all_of(writes.begin(), writes.end(),
                                    [](const IniWrite& write) { return platform::IsProfileValue(write.value); });
  std::vector<platform::ProfileEdit> edits;
  if (writable)
    for (const IniWrite& write : writes) edits.push_back({write.section, write.key, write.value});
  // One read and one replace for all keys, under the name listed: when it fails, none of them is
  // written. The attributes are reset even without keys to write.
  const platform::ProfileUpdate update = platform::UpdateProfileFile(onDisk, edits);
  if (update.kind == platform::ProfileUpdate::Kind::Skipped) {
    outcome.reason = update.reason;
    return outcome;
  }
  if (update.kind == platform::ProfileUpdate::Kind::Failed) {
    outcome.kind = IniOutcome::Kind::Failed;
    outcome.error = "Unable to write to " + launcherDirectory + std::string(player.iniWriteName);
    return outcome;
  }
  if (writes.empty()) {
    outcome.reason = "no subtitle file";
    return outcome;
  }
  if (!writable) {
    outcome.reason = platform::kUnwritableValue;
    return outcome;
  }
  outcome.kind = IniOutcome::Kind::Written;
  outcome.writes = writes;
  return outcome;
}

std::optional<bool> ReadPlayerMovieEntry(const std::string& iniPath, PlayerKind kind) {
  const std::string entry = ReadTrimmed(iniPath, PlayerOf(kind).movieEntry);
  if (!platform::IsUsableEntry(entry)) return std::nullopt;
  if (platform::FileExists(entry)) return true;
  const std::string subtitle = ReadTrimmed(iniPath, kSubtitleEntry);
  return platform::IsUsableEntry(subtitle) && platform::FileExists(subtitle);
}

PlayerParam ReadPlayerParam(const std::string& launcherDirectory, std::string_view iniFileName) {
  const std::string path = launcherDirectory + std::string(iniFileName);
  if (!platform::FileExists(path)) return {};
  return {ReadTrimmed(path, kParamEntry), ReadPlayerMovieEntry(path, PlayerKind::VPlayer)};
}

std::string ReadFilmName(const std::string& launcherDirectory, const platform::Listing& launcher,
                         std::string_view iniFileName) {
  const std::string path = ListedFile(launcherDirectory, launcher, iniFileName);
  return path.empty() ? std::string() : ReadTrimmed(path, kFilmNameEntry);
}

std::string ReadPlayersFilmName(const std::string& launcherDirectory, const platform::Listing& launcher) {
  for (const Player* player : kPlayers)
    if (std::string name = ReadFilmName(launcherDirectory, launcher, player->iniReadName); !name.empty())
      return name;
  return {};
}

}  // namespace movie
