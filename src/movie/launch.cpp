#include "movie/launch.h"

#include <optional>

#include "media/avi.h"
#include "movie/player_settings.h"
#include "platform/files.h"
#include "platform/text.h"

namespace movie {

namespace {

constexpr const char* kAspectWide = " /A /F /P31";  // wider than twice the height
constexpr const char* kAspectNormal = " /A /F /P41";
constexpr const char* kSelectVPlayerOptions = "/A /F /P11";
constexpr const char* kBPlayerOptions = "  -fs -pan";
constexpr const char* kVPlayerMissing = "VPlayer.exe is not found in current directory.";
constexpr const char* kVPlayerCaption = "VPlayer";
constexpr const char* kBPlayerMissing = "BPlay.exe is not found in current directory.";
constexpr const char* kBPlayerCaption = "BSPlayer";
constexpr const char* kVPlayerPathTag = "VPLAYER.EXE";
constexpr const char* kBPlayerPathTag = "BPLAY.EXE";
constexpr std::size_t kExtensionLength = 4;

bool HasSubtitle(const app::LauncherState& state) { return state.SubtitleFileName.size() >= 2; }

// VPlayer only takes a subtitle on its command line that is named exactly like the movie.
bool SubtitleMatchesMovie(const app::LauncherState& state) {
  return HasSubtitle(state) && platform::DropLast(state.SubtitleFileName, kExtensionLength) ==
                                   platform::DropLast(state.MovieFileName, kExtensionLength);
}

// A blank and the quoted subtitle name, or a single blank.
std::string SubtitlePiece(bool passSubtitle, const app::LauncherState& state) {
  return passSubtitle ? " " + QuoteArgument(state.SubtitleFileName) : std::string(" ");
}

// The program's spelling in the current directory, or nullopt when no such file is there.
std::optional<std::string> ProgramHere(const char* program) {
  if (!platform::FileExists(program)) return std::nullopt;
  return platform::ResolveCase(program).value_or(program);
}

LaunchPlan Missing(std::string parameters, const char* message, const char* caption) {
  return {"", std::move(parameters), message, caption};
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

std::string QuoteArgument(const std::string& name) {
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : name) {
    if (c == '\\') {
      ++backslashes;
    } else {
      // Backslashes count only in front of a quote: double them there and escape the quote.
      if (c == '"') quoted.append(backslashes + 1, '\\');
      backslashes = 0;
    }
    quoted += c;
  }
  quoted.append(backslashes, '\\');  // the closing quote must stay a closing quote
  return quoted + "\"";
}

std::string VPlayerAspectOptions(app::LauncherState& state) {
  if (state.FrameWidth == 0) media::ReadAviFacts(state.MovieFileName, state);
  if (state.FrameWidth <= 0 || state.FrameHeight <= 0) return {};
  const double ratio = static_cast<double>(state.FrameWidth) / static_cast<double>(state.FrameHeight);
  return ratio > 2.0 ? kAspectWide : kAspectNormal;
}

LaunchPlan PlanVPlayerStart(app::LauncherState& state, const std::string& launcherDirectory) {
  const std::string subtitlePiece = SubtitlePiece(SubtitleMatchesMovie(state), state);
  const std::string param = ReadPlayerParam(launcherDirectory, kVPlayerIniReadName, state);
  const std::string movieAndSubtitle = QuoteArgument(state.MovieFileName) + subtitlePiece;
  std::string parameters;
  if (state.PlayerKnowsMovie)
    parameters = param.empty() ? VPlayerAspectOptions(state) : param;
  else if (param.empty())
    parameters = movieAndSubtitle + VPlayerAspectOptions(state);
  else
    parameters = Contains(param, state.MovieFileName) ? param : movieAndSubtitle + param;

  const std::optional<std::string> program = ProgramHere(kVPlayerProgram);
  if (!program) return Missing(std::move(parameters), kVPlayerMissing, kVPlayerCaption);
  return {*program, std::move(parameters), "", ""};
}

LaunchPlan PlanBPlayerStart(app::LauncherState& state, const std::string& launcherDirectory) {
  std::string parameters =
      QuoteArgument(state.MovieFileName) + SubtitlePiece(HasSubtitle(state), state) + kBPlayerOptions;
  const std::optional<std::string> program = ProgramHere(kBPlayerProgram);
  if (!program) return Missing(std::move(parameters), kBPlayerMissing, kBPlayerCaption);
  ReadPlayerMovieEntry(launcherDirectory + kBPlayerIniName, app::kPlayerBSPlayer, state);
  // The player then opens its own settings file, which names the movie it knows.
  if (state.PlayerKnowsMovie) parameters = kBPlayerIniName;
  return {*program, std::move(parameters), "", ""};
}

std::string DirectoryPrefix(const std::string& currentDirectory) { return currentDirectory + "/"; }

std::string SelectPlayerParameters(const std::string& programPath, const std::string& directoryPrefix,
                                   const app::LauncherState& state) {
  const std::string movieArgument = QuoteArgument(directoryPrefix + state.MovieFileName);
  const std::string subtitleArgument =
      HasSubtitle(state) ? " " + QuoteArgument(directoryPrefix + state.SubtitleFileName) : std::string();
  const std::string upperPath = platform::AsciiUpper(programPath);
  if (Contains(upperPath, kVPlayerPathTag)) {
    // VPlayer expects its subtitle in second place; an empty argument keeps that place.
    const std::string subtitle = SubtitleMatchesMovie(state) ? subtitleArgument : std::string(" \"\"");
    return movieArgument + subtitle + kSelectVPlayerOptions;
  }
  if (Contains(upperPath, kBPlayerPathTag)) return movieArgument + subtitleArgument + kBPlayerOptions;
  return movieArgument;
}

}  // namespace movie
