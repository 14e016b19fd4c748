#pragma once
// The launcher's program-wide variables. One instance lives in the window for the whole run and is
// passed to the functions that read or write it; the names are the ones every module uses.
#include <cstdint>
#include <string>

#include "media/avi.h"
#include "media/poster.h"
#include "movie/launch.h"

namespace app {

struct LauncherState {
  std::string MovieFileName;     // bare name as listed in the current directory
  std::string SubtitleFileName;  // bare name, "" when none
  bool IsOnline = false;
  media::PosterKind PosterKind = media::kPosterNone;  // of the poster the start-up found
  bool InfoPanelFilled = false;
  bool PlayerKnowsMovie = false;
  std::int32_t FrameWidth = 0;   // 0 until the AVI headers were read
  std::int32_t FrameHeight = 0;
};

// The values a player start reads, as the state holds them now.
inline movie::LaunchFacts LaunchFactsOf(const LauncherState& state) {
  return {state.MovieFileName, state.SubtitleFileName, state.PlayerKnowsMovie, state.FrameWidth,
          state.FrameHeight};
}

// Takes the frame size from facts read from the movie's headers; nothing when there are none.
inline void KeepFrameSize(LauncherState& state, const std::optional<media::AviFacts>& facts) {
  if (!facts) return;
  state.FrameWidth = facts->FrameWidth;
  state.FrameHeight = facts->FrameHeight;
}

}  // namespace app
