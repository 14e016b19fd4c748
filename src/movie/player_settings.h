#pragma once
// The players' INI files: the movie and subtitle names the launcher writes into them at start-up,
// the movie entry it reads back at a start, and the launcher's own [Zorvalin] section. All INI files
// lie in the launcher's directory (given with a trailing separator); the launcher never creates one.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "movie/players.h"
#include "platform/files.h"

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

// Whether the medium holding `directory` is there and can take writes; `listing` is the listing of
// that directory that the start-up already has, whose result code tells a missing medium.
bool IsDriveReady(const std::string& directory, const platform::Listing& listing);

// What the start-up did with one player's INI file.
struct IniOutcome {
  enum class Kind {
    Absent,   // no such file in the launcher's directory: nothing to do, nothing to report
    Written,  // `writes` are in the file (also when it already held every value)
    Skipped,  // the file is there but was not written, for `reason`
    Failed,   // a write failed: `error` is "Unable to write to <path>", the text the user sees
  };
  Kind kind = Kind::Absent;
  std::string file;  // the INI file's bare name, as written ("vplayer.ini")
  std::vector<IniWrite> writes;
  std::string reason;
  std::string error;
  bool operator==(const IniOutcome&) const = default;
};

// Brings the player's INI file up to date with the movie and its subtitle. `launcher` is the
// listing of the launcher's directory. The file is skipped when the launcher's directory is unknown
// ("") or not an absolute path, its medium is not ready, a name cannot be written as an INI value
// (platform::IsProfileValue), or the platform's update refuses it (a read-only medium, a link,
// UTF-16, too large once written: see platform::UpdateProfileFile); an existing writable file loses its read-only
// mark even when, without a subtitle, nothing is written into it. All keys go into one read and
// one atomic replace of the file; when it fails (Kind::Failed) none of them is written. Never
// throws. `writes` also lists keys the file already held, as they are applied all the same.
IniOutcome WritePlayerSettings(const std::string& launcherDirectory, const platform::Listing& launcher,
                               PlayerKind kind, const std::string& movieFileName,
                               const std::string& subtitleFileName);

// Whether the player whose INI file lies at `iniPath` knows an existing movie: its movie entry
// names an existing file or, failing that, [Subtitles] Sub1 does. nullopt when the movie entry has
// two characters or fewer (a missing file included): the caller's flag then stays as it was.
std::optional<bool> ReadPlayerMovieEntry(const std::string& iniPath, PlayerKind kind);

struct PlayerParam {
  std::string param;                     // the trimmed [Zorvalin] Param, "" when the file is missing
  std::optional<bool> playerKnowsMovie;  // ReadPlayerMovieEntry of the file as VPlayer's
};
// Reads [Zorvalin] Param of the INI file and, when the file exists, its movie entry as VPlayer's.
PlayerParam ReadPlayerParam(const std::string& launcherDirectory, std::string_view iniFileName);

// The trimmed [Zorvalin] Filmname of the INI file, "" when `launcher` (the listing of the launcher's
// directory) holds no file of that name.
std::string ReadFilmName(const std::string& launcherDirectory, const platform::Listing& launcher,
                         std::string_view iniFileName);

// The film title a disc's author stored for a movie called "film": ReadFilmName of VPlayer's file,
// else of BSPlayer's, else "".
std::string ReadPlayersFilmName(const std::string& launcherDirectory, const platform::Listing& launcher);

}  // namespace movie
