#pragma once
// What the start-up did, recorded as it ran, for those who want to know without watching the
// window (the inspector prints it as it is).
#include <string>
#include <vector>

#include "movie/player_settings.h"

namespace app {

// Which step's failure ended a handler with the error box.
enum class ErrorKind { None, IniWrite, Poster, Notes };

struct StartupRecord {
  bool vplayerPresent = false;  // the players' executables in the disc directory
  bool bplayerPresent = false;
  std::vector<movie::IniOutcome> iniFiles;  // per player whose button shows, in the order written
  ErrorKind errorKind = ErrorKind::None;    // the first error box, if one was shown
  std::string errorText;
};

}  // namespace app
