#include "movie/launch.h"

#include <optional>

#include "movie/players.h"
#include "platform/command_line.h"
#include "platform/files.h"
#include "platform/names.h"
#include "platform/text.h"

namespace movie {

namespace {

using platform::QuoteArgument;

bool HasSubtitle(const LaunchFacts& facts) { return platform::CountsAsName(facts.SubtitleFileName); }

bool SubtitleMatchesMovie(const LaunchFacts& facts) {
  return movie::SubtitleMatchesMovie(facts.MovieFileName, facts.SubtitleFileName);
}

// A blank and the quoted subtitle name, or a single blank.
std::string SubtitlePiece(bool passSubtitle, const LaunchFacts& facts) {
  return passSubtitle ? " " + QuoteArgument(facts.SubtitleFileName) : std::string(" ");
}

LaunchPlan Plan(const Player& player, const LaunchFiles& files, std::string parameters, bool playerKnowsMovie) {
  const auto program = files.programs.find(player.kind);
  if (program == files.programs.end())
    return {"", std::move(parameters), std::string(player.missingMessage), std::string(player.caption),
            playerKnowsMovie};
  return {program->second, std::move(parameters), "", "", playerKnowsMovie};
}

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string::npos; }

}  // namespace

bool SubtitleMatchesMovie(const std::string& movieFileName, const std::string& subtitleFileName) {
  return platform::CountsAsName(subtitleFileName) && platform::BaseName(subtitleFileName) == platform::BaseName(movieFileName);
}

std::string VPlayerAspectOptions(std::int32_t frameWidth, std::int32_t frameHeight) {
  if (frameWidth <= 0 || frameHeight <= 0) return {};
  const double ratio = static_cast<double>(frameWidth) / static_cast<double>(frameHeight);
  return std::string(ratio > 2.0 ? kVPlayerWideOptions : kVPlayerNormalOptions);
}

LaunchPlan PlanVPlayerStart(const LaunchFacts& facts, const LaunchFiles& files) {
  const std::string subtitlePiece = SubtitlePiece(SubtitleMatchesMovie(facts), facts);
  const bool knows = PlayerKnowsMovie(files.vplayerIni, PlayerKind::VPlayer, files).value_or(facts.PlayerKnowsMovie);
  const std::string param = PlayerParam(files.vplayerIni);
  const std::string aspect = VPlayerAspectOptions(facts.FrameWidth, facts.FrameHeight);
  const std::string movieAndSubtitle = QuoteArgument(facts.MovieFileName) + subtitlePiece;
  std::string parameters;
  if (knows)
    parameters = param.empty() ? aspect : param;
  else if (param.empty())
    parameters = movieAndSubtitle + aspect;
  else
    parameters = Contains(param, facts.MovieFileName) ? param : movieAndSubtitle + param;
  return Plan(kVPlayer, files, std::move(parameters), knows);
}

LaunchPlan PlanBPlayerStart(const LaunchFacts& facts, const LaunchFiles& files) {
  const std::string parameters =
      QuoteArgument(facts.MovieFileName) + SubtitlePiece(HasSubtitle(facts), facts) + std::string(kBSPlayerStartOptions);
  LaunchPlan plan = Plan(kBSPlayer, files, parameters, facts.PlayerKnowsMovie);
  if (!plan.Starts()) return plan;  // the INI file counts only when the player is there
  plan.playerKnowsMovie = PlayerKnowsMovie(files.bplayerIni, PlayerKind::BSPlayer, files).value_or(facts.PlayerKnowsMovie);
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
