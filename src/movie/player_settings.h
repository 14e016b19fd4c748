#pragma once
// The players' INI files: the movie and subtitle names the launcher writes into them at start-up,
// the movie entry it reads back at a start, and the launcher's own [Zorvalin] section. All INI files
// lie in the launcher's directory; the launcher never creates one. Everything here decides from
// what was read; reading and writing the files is the platform's.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "movie/players.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace movie {

// One key written into a player's INI file; `file` is the INI file's bare name.
struct IniWrite {
  std::string file;
  std::string section;
  std::string key;
  std::string value;
  bool operator==(const IniWrite&) const = default;
};

// The keys that start-up writes into the INI file of player `kind`, in the order they are
// written. Empty without a subtitle file (a name of two characters or fewer).
std::vector<IniWrite> PlayerSettingsWrites(PlayerKind kind, const std::string& movieFileName,
                                           const std::string& subtitleFileName);

// What the start-up learnt of the launcher's directory.
struct LauncherFiles {
  std::string directory;     // with a trailing separator; "" when it cannot be known
  platform::Listing listing;
  bool mediumReady = false;  // platform::IsMediumReady of the directory, with the listing's code
  std::map<std::string, platform::ProfileFacts> iniFiles;  // the INI files read, by path
  bool operator==(const LauncherFiles&) const = default;
};

// The path of the INI file `name` in the launcher's directory, spelled as listed; "" when the
// listing holds no regular file of that name.
std::string ListedIniFile(const LauncherFiles& launcher, std::string_view name);

// What the start-up does with one player's INI file: `update` says what becomes of it, and is
// what is carried out on the file at `path`.
struct IniOutcome {
  std::string file;  // the INI file's bare name, as written ("vplayer.ini")
  std::string path;  // as listed; "" when the file is not touched at all
  std::vector<IniWrite> writes;     // Written or Unchanged: the keys that go into the file
  platform::ProfileUpdate update;
  std::vector<std::string> stale;   // temporary files an earlier, killed start left beside it
  bool operator==(const IniOutcome&) const = default;
};

// The update of player `kind`'s INI file with the movie and its subtitle. Skipped without a word
// when the launcher's directory is unknown or not on a drive, its medium is not ready, a name cannot
// be written as an INI value (platform::IsProfileValue), or the platform refuses the file
// (platform::PlanProfileUpdate: a link, UTF-16, too large once written, another user's file); an
// existing writable file still loses its read-only mark then, as it does when, without a subtitle,
// nothing is written into it. All keys go into one replace of the file, or none of them.
IniOutcome PlanPlayerSettings(const LauncherFiles& launcher, PlayerKind kind, const std::string& movieFileName,
                              const std::string& subtitleFileName);

// The INI files whose [Zorvalin] Filmname can give a movie called "film" its title, in the order
// asked: VPlayer's, then BSPlayer's, as listed.
std::vector<std::string> FilmNameFiles(const LauncherFiles& launcher);
// The first non-empty trimmed Filmname of those files, "" when none; a file not read counts as empty.
std::string ReadPlayersFilmName(const LauncherFiles& launcher);

// What a start by a button reads, at the moment of the click.
struct LaunchFiles {
  std::optional<std::string> vplayerIni;  // the content of the launcher's Vplayer.ini; nullopt: none
  std::optional<std::string> bplayerIni;  // of its bplay.ini
  std::map<PlayerKind, std::string> programs;  // each executable present, as spelled in the directory
  std::set<std::string> existingEntries;       // EntriesToCheck that name an existing regular file
};
// The movie and subtitle entries of the INI files that a start asks the existence of.
std::vector<std::string> EntriesToCheck(const LaunchFiles& files);

// Whether the player whose INI content is `ini` knows an existing movie: its movie entry names an
// existing file or, failing that, [Subtitles] Sub1 does. nullopt when the movie entry has two
// characters or fewer (a missing file included): the caller's flag then stays as it was.
std::optional<bool> PlayerKnowsMovie(const std::optional<std::string>& ini, PlayerKind kind, const LaunchFiles& files);

// The trimmed [Zorvalin] Param of the INI content, "" without one.
std::string PlayerParam(const std::optional<std::string>& ini);

}  // namespace movie
