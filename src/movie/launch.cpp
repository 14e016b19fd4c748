#include "movie/launch.h"

#include <optional>

#include "movie/player_settings.h"
#include "movie/players.h"
#include "platform/command_line.h"
#include "platform/files.h"
#include "platform/names.h"
#include "platform/text.h"

namespace movie {

namespace {

using platform::QuoteArgument;

bool HasSubtitle(const LaunchFacts& facts) { return platform::IsName(facts.SubtitleFileName); }

bool SubtitleMatchesMovie(const LaunchFacts& facts) {
  return movie::SubtitleMatchesMovie(facts.MovieFileName, facts.SubtitleFileName);
}

// A blank and the quoted subtitle name, or a single blank.
std::string SubtitlePiece(bool passSubtitle, const LaunchFacts& facts) {
  return passSubtitle ? " " + QuoteArgument(facts.SubtitleFileName) : std::string(" ");
}

// The program's spelling in the current directory, or nullopt when no such file is there.
std::optional<std::string> ProgramHere(std::string_view program) {
  const std::string name(program);
  if (!platform::FileExists(name)) return std::nullopt;
  return platform::ResolveCase(name).value_or(name);
}

LaunchPlan Plan(const Player& player, std::string parameters, bool playerKnowsMovie) {
  const std::optional<std::string> program = ProgramHere(player.executable);
  if (!program)
    return {"", std::move(parameters), std::string(player.missingMessage), std::string(player.caption),
            playerKnowsMovie};
  return {*program, std::move(parameters), "", "", playerKnowsMovie};
}

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string::npos; }

}  // namespace

bool SubtitleMatchesMovie(const std::string& movieFileName, const std::string& subtitleFileName) {
  return platform::IsName(subtitleFileName) && platform::BaseName(subtitleFileName) == platform::BaseName(movieFileName);
}

std::string VPlayerAspectOptions(std::int32_t frameWidth, std::int32_t frameHeight) {
  if (frameWidth <= 0 || frameHeight <= 0) return {};
  const double ratio = static_cast<double>(frameWidth) / static_cast<double>(frameHeight);
  return std::string(ratio > 2.0 ? kVPlayerWideOptions : kVPlayerNormalOptions);
}

LaunchPlan PlanVPlayerStart(const LaunchFacts& facts, const std::string& launcherDirectory) {
  const std::string subtitlePiece = SubtitlePiece(SubtitleMatchesMovie(facts), facts);
  const PlayerParam read = ReadPlayerParam(launcherDirectory, kVPlayer.iniReadName);
  const bool knows = read.playerKnowsMovie.value_or(facts.PlayerKnowsMovie);
  const std::string& param = read.param;
  const std::string aspect = VPlayerAspectOptions(facts.FrameWidth, facts.FrameHeight);
  const std::string movieAndSubtitle = QuoteArgument(facts.MovieFileName) + subtitlePiece;
  std::string parameters;
  if (knows)
    parameters = param.empty() ? aspect : param;
  else if (param.empty())
    parameters = movieAndSubtitle + aspect;
  else
    parameters = Contains(param, facts.MovieFileName) ? param : movieAndSubtitle + param;
  return Plan(kVPlayer, std::move(parameters), knows);
}

LaunchPlan PlanBPlayerStart(const LaunchFacts& facts, const std::string& launcherDirectory) {
  const std::string parameters =
      QuoteArgument(facts.MovieFileName) + SubtitlePiece(HasSubtitle(facts), facts) + std::string(kBSPlayer.startOptions);
  LaunchPlan plan = Plan(kBSPlayer, parameters, facts.PlayerKnowsMovie);
  if (!plan.Starts()) return plan;  // the INI file is read only when the player is there
  const std::string iniPath = launcherDirectory + std::string(kBSPlayer.iniWriteName);
  plan.playerKnowsMovie = ReadPlayerMovieEntry(iniPath, PlayerKind::BSPlayer).value_or(facts.PlayerKnowsMovie);
  // The player then opens its own settings file, which names the movie it knows.
  if (plan.playerKnowsMovie) plan.parameters = kBSPlayer.iniWriteName;
  return plan;
}

std::string DirectoryPrefix(const std::string& currentDirectory) { return currentDirectory + platform::PathSeparator(); }

std::string SelectPlayerParameters(const std::string& programPath, const std::string& directoryPrefix,
                                   const LaunchFacts& facts) {
  const std::string movieArgument = QuoteArgument(directoryPrefix + facts.MovieFileName);
  const std::string subtitleArgument =
      HasSubtitle(facts) ? " " + QuoteArgument(directoryPrefix + facts.SubtitleFileName) : std::string();
  const std::string upperPath = platform::AsciiUpper(programPath);
  if (Contains(upperPath, kVPlayer.pickedTag)) {
    // VPlayer expects its subtitle in second place; an empty argument keeps that place.
    const std::string subtitle = SubtitleMatchesMovie(facts) ? subtitleArgument : std::string(" \"\"");
    return movieArgument + subtitle + std::string(kVPlayer.pickedOptions);
  }
  if (Contains(upperPath, kBSPlayer.pickedTag)) return movieArgument + subtitleArgument + std::string(kBSPlayer.pickedOptions);
  return movieArgument;
}

}  // namespace movie
