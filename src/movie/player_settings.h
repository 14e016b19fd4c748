#pragma once
// The players' INI files: the movie and subtitle names the launcher writes into them at start-up,
// the movie entry it reads back at a start, and the launcher's own [Zorvalin] section. All INI files
// lie in the launcher's directory (given with a trailing '/'); the launcher never creates one.
#include <string>
#include <vector>

#include "app/launcher_state.h"

namespace movie {

inline constexpr const char* kVPlayerIniWriteName = "vplayer.ini";
inline constexpr const char* kVPlayerIniReadName = "Vplayer.ini";  // same file: names ignore case
inline constexpr const char* kBPlayerIniName = "bplay.ini";

// One key written into a player's INI file; `file` is the INI file's bare name.
struct IniWrite {
  std::string file;
  std::string section;
  std::string key;
  std::string value;
  bool operator==(const IniWrite&) const = default;
};

// The keys that start-up writes into `iniFileName` for player `kind` (app::kPlayerVPlayer or
// app::kPlayerBSPlayer), in the order they are written. Empty without a subtitle file (a name of
// two characters or fewer) or for an unknown kind.
std::vector<IniWrite> PlayerSettingsWrites(const std::string& iniFileName, int kind,
                                           const app::LauncherState& state);

// Whether the medium holding `directory` is there and can take writes.
bool IsDriveReady(const std::string& directory);

// Brings the player's INI file up to date with the movie and its subtitle. Does nothing when the
// launcher's directory is not an absolute path, its medium is not ready, or the file is missing or
// cannot be made writable. An existing writable file loses its read-only mark even when there is
// no subtitle and so nothing is written. Each key actually written is appended to `performed`
// when given. Throws platform::Error("Unable to write to <path>") when a write fails; the keys
// after it are not written.
void WritePlayerSettings(const std::string& launcherDirectory, const std::string& iniFileName, int kind,
                         const app::LauncherState& state, std::vector<IniWrite>* performed = nullptr);

// Reads the player's movie entry from the INI file at `iniPath` and sets PlayerKnowsMovie to whether
// it names an existing file or, failing that, whether [Subtitles] Sub1 does. An entry of two
// characters or fewer (a missing file included) leaves PlayerKnowsMovie as it was.
void ReadPlayerMovieEntry(const std::string& iniPath, int kind, app::LauncherState& state);

// The trimmed [Zorvalin] Param of the INI file, "" when the file is missing. When the file exists it
// also runs ReadPlayerMovieEntry on it, as VPlayer's file.
std::string ReadPlayerParam(const std::string& launcherDirectory, const std::string& iniFileName,
                            app::LauncherState& state);

// The trimmed [Zorvalin] Filmname of the INI file, "" when the file is missing.
std::string ReadFilmName(const std::string& launcherDirectory, const std::string& iniFileName);

}  // namespace movie
