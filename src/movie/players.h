#pragma once
// The two players the launcher knows and everything it knows of each, in one table that every use
// reads: executables, INI files, captions, messages, option texts and the keys written at start-up.
#include <array>
#include <span>
#include <string_view>

namespace movie {

enum class PlayerKind { VPlayer = 1, BSPlayer = 2 };

struct IniKey {
  std::string_view section;
  std::string_view key;
};

// What a key written at start-up receives: the movie's name, the subtitle's name, or the directory
// the player is started in.
enum class WrittenValue { Movie, Subtitle, Here };

struct WrittenKey {
  IniKey key;
  WrittenValue value;
};

struct Player {
  PlayerKind kind;
  std::string_view executable;      // looked for in the current directory
  // The INI file in the launcher's directory, spelled one way when written and another when read;
  // names ignore letter case, so both are the same file.
  std::string_view iniWriteName;
  std::string_view iniReadName;
  std::string_view missingMessage;  // the box shown when the executable is missing...
  std::string_view caption;         // ...and its caption
  // A program picked in the file dialog counts as this player when its upper-cased path contains
  // `pickedTag`; it then gets `pickedOptions` after the names.
  std::string_view pickedTag;
  std::string_view pickedOptions;
  IniKey movieEntry;                        // names the movie the player knows
  std::span<const WrittenKey> writtenKeys;  // in the order start-up writes them
};

inline constexpr std::string_view kVPlayerWideOptions = " /A /F /P31";  // wider than twice the height
inline constexpr std::string_view kVPlayerNormalOptions = " /A /F /P41";
// BSPlayer's options after the names for a start by its button.
inline constexpr std::string_view kBSPlayerStartOptions = "  -fs -pan";

inline constexpr IniKey kVPlayerMovieEntry = {"Autorun", "FileNameMovie"};
inline constexpr IniKey kBSPlayerMovieEntry = {"Movie", "FName"};
// Read from either player's file when its movie entry names no existing file.
inline constexpr IniKey kSubtitleEntry = {"Subtitles", "Sub1"};

inline constexpr std::array<WrittenKey, 2> kVPlayerWrittenKeys = {{
    {kVPlayerMovieEntry, WrittenValue::Movie},
    {{"Autorun", "FileNameSubtitles"}, WrittenValue::Subtitle},
}};
inline constexpr std::array<WrittenKey, 4> kBSPlayerWrittenKeys = {{
    {kBSPlayerMovieEntry, WrittenValue::Movie},
    {kSubtitleEntry, WrittenValue::Subtitle},
    {{"Movie", "Directory"}, WrittenValue::Here},
    {{"Subtitles", "Directory"}, WrittenValue::Here},
}};

inline constexpr Player kVPlayer = {
    PlayerKind::VPlayer, "vplayer.exe", "vplayer.ini", "Vplayer.ini",
    "VPlayer.exe is not found in current directory.", "VPlayer", "VPLAYER.EXE", "/A /F /P11",
    kVPlayerMovieEntry, kVPlayerWrittenKeys,
};
inline constexpr Player kBSPlayer = {
    PlayerKind::BSPlayer, "bplay.exe", "bplay.ini", "bplay.ini",
    "BPlay.exe is not found in current directory.", "BSPlayer", "BPLAY.EXE", kBSPlayerStartOptions,
    kBSPlayerMovieEntry, kBSPlayerWrittenKeys,
};

// In the order the launcher treats them everywhere (buttons, INI writes, the film-name lookup).
inline constexpr std::array<const Player*, 2> kPlayers = {&kVPlayer, &kBSPlayer};

constexpr const Player& PlayerOf(PlayerKind kind) {
  return kind == PlayerKind::BSPlayer ? kBSPlayer : kVPlayer;
}

}  // namespace movie
