#pragma once
// Starting the movie in a player: the program to start and its parameter text, or the message to
// show when the player's executable is missing. The window carries the plan out (stopping the
// auto-start timer first, closing itself after a start); nothing here starts a process.
#include <cstdint>
#include <string>

#include "movie/player_settings.h"

namespace movie {

// The program-wide values a start reads, under their program-wide names.
struct LaunchFacts {
  std::string MovieFileName;
  std::string SubtitleFileName;
  bool PlayerKnowsMovie = false;
  std::int32_t FrameWidth = 0;  // 0 while unknown
  std::int32_t FrameHeight = 0;
};

struct LaunchPlan {
  std::string program;     // the executable as spelled in the current directory; "" when missing
  std::string parameters;  // the parameter text, passed whole whatever its length (built even when
                           // the player is missing)
  std::string message;     // text of the box shown instead of a start
  std::string caption;     // that box's caption
  bool playerKnowsMovie = false;  // PlayerKnowsMovie after the INI reads of this start
  bool Starts() const { return message.empty(); }
};

// VPlayer's aspect option for the movie's frame: " /A /F /P31" for a frame wider than twice its
// height, else " /A /F /P41". "" when the frame size is unknown or not a real size (a dimension of
// zero or below).
std::string VPlayerAspectOptions(std::int32_t frameWidth, std::int32_t frameHeight);

// The VPlayer button: [Zorvalin] Param and the movie entry of the launcher's Vplayer.ini make the
// parameter text. The frame size must already be read when it can be.
LaunchPlan PlanVPlayerStart(const LaunchFacts& facts, const LaunchFiles& files);

// The BSPlayer button: when bplay.exe is present, the movie entry of the launcher's bplay.ini counts;
// a player that knows an existing movie gets "bplay.ini" alone.
LaunchPlan PlanBPlayerStart(const LaunchFacts& facts, const LaunchFiles& files);

// The current directory followed by the system's separator, taken before the file dialog can
// change it. At a root the result ends in two separators ("//", "D:\\\\"), as the players expect.
std::string DirectoryPrefix(const std::string& currentDirectory);

// The parameter text for a program picked in the file dialog: the movie (and subtitle) by full path,
// with the options of the player whose executable name the upper-cased path contains.
std::string SelectPlayerParameters(const std::string& programPath, const std::string& directoryPrefix,
                                   const LaunchFacts& facts);

// VPlayer takes on its command line only a subtitle named exactly like the movie: a subtitle name
// whose base name equals the movie's, letter case counting.
bool SubtitleMatchesMovie(const std::string& movieFileName, const std::string& subtitleFileName);

}  // namespace movie
