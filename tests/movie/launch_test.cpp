#include "movie/launch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/command_line.h"
#include "platform/files.h"

namespace {

using movie::PlayerKind;

const std::map<PlayerKind, std::string> kBothPlayers = {{PlayerKind::VPlayer, "vplayer.exe"},
                                                        {PlayerKind::BSPlayer, "BPlay.exe"}};

// What a click reads beside a disc holding Film.avi and Film.srt: the INI contents ("" for no
// file), the programs found, and which of the entries the files name exist.
movie::LaunchFiles Clicked(const std::string& vplayerIni, const std::string& bplayerIni = "",
                           std::map<PlayerKind, std::string> programs = kBothPlayers) {
  const auto content = [](const std::string& ini) { return ini.empty() ? std::nullopt : std::optional(ini); };
  movie::LaunchFiles files{content(vplayerIni), content(bplayerIni), std::move(programs), {}};
  for (const std::string& entry : movie::EntriesToCheck(files))
    if (entry == "Film.avi" || entry == "Film.srt") files.existingEntries.insert(entry);
  return files;
}

struct VPlayerCase {
  const char* what;
  std::string subtitle;
  std::int32_t width;
  std::int32_t height;
  std::string ini;  // vplayer.ini in the launcher's directory, "" for none
  std::string expected;
};

const VPlayerCase kVPlayerCases[] = {
    {"matching subtitle, wide frame", "Film.srt", 640, 272, "", "\"Film.avi\" \"Film.srt\" /A /F /P31"},
    {"no subtitle", "", 640, 272, "", "\"Film.avi\"  /A /F /P31"},
    {"subtitle of another name", "english.srt", 640, 272, "", "\"Film.avi\"  /A /F /P31"},
    {"subtitle differing in letter case", "film.srt", 640, 272, "", "\"Film.avi\"  /A /F /P31"},
    {"exactly twice as wide", "Film.srt", 640, 320, "", "\"Film.avi\" \"Film.srt\" /A /F /P41"},
    {"PAL frame", "Film.sub", 720, 576, "", "\"Film.avi\" \"Film.sub\" /A /F /P41"},
    {"just wider than twice", "Film.srt", 641, 320, "", "\"Film.avi\" \"Film.srt\" /A /F /P31"},
    {"zero height", "Film.srt", 640, 0, "", "\"Film.avi\" \"Film.srt\""},
    {"zero height, no subtitle", "", 640, 0, "", "\"Film.avi\" "},
    {"negative width", "Film.srt", -640, 272, "", "\"Film.avi\" \"Film.srt\""},
    {"both negative", "Film.srt", -640, -272, "", "\"Film.avi\" \"Film.srt\""},
    {"player knows the movie, no Param", "Film.srt", 640, 272, "[Autorun]\nFileNameMovie=Film.avi\n",
     " /A /F /P31"},
    {"player knows the movie, with Param", "Film.srt", 640, 272,
     "[Autorun]\nFileNameMovie=Film.avi\n[Zorvalin]\nParam= /X /Y \n", "/X /Y"},
    {"player knows the subtitle only", "", 720, 576,
     "[Autorun]\nFileNameMovie=Gone.avi\n[Subtitles]\nSub1=Film.srt\n", " /A /F /P41"},
    {"Param touches the closing quote", "Film.srt", 640, 272, "[Zorvalin]\nParam=/X\n",
     "\"Film.avi\" \"Film.srt\"/X"},
    {"Param after the single blank", "", 640, 272, "[Zorvalin]\nParam=/X\n", "\"Film.avi\" /X"},
    {"Param naming the movie", "Film.srt", 640, 272, "[Zorvalin]\nParam=\"Film.avi\" /Q\n", "\"Film.avi\" /Q"},
    {"Param naming the movie in other case", "Film.srt", 640, 272, "[Zorvalin]\nParam=film.avi /Q\n",
     "\"Film.avi\" \"Film.srt\"film.avi /Q"},
    {"ini without a known movie", "Film.srt", 640, 272, "[Autorun]\nFileNameMovie=Gone.avi\n",
     "\"Film.avi\" \"Film.srt\" /A /F /P31"},
};

TEST(PlanVPlayerStart, ParameterTexts) {
  for (const VPlayerCase& c : kVPlayerCases) {
    SCOPED_TRACE(c.what);
    movie::LaunchFacts state;
    state.MovieFileName = "Film.avi";
    state.SubtitleFileName = c.subtitle;
    state.FrameWidth = c.width;
    state.FrameHeight = c.height;
    const movie::LaunchPlan plan = movie::PlanVPlayerStart(state, Clicked(c.ini));
    EXPECT_TRUE(plan.Starts());
    EXPECT_EQ(plan.program, "vplayer.exe");
    EXPECT_EQ(plan.parameters, c.expected);
  }
}

TEST(VPlayerAspectOptions, ByTheFrameShape) {
  struct Case {
    std::int32_t width, height;
    std::string expected;
  };
  const Case cases[] = {
      {640, 272, " /A /F /P31"}, {640, 320, " /A /F /P41"}, {641, 320, " /A /F /P31"}, {720, 576, " /A /F /P41"},
      {0, 576, ""},              {640, 0, ""},              {-640, 272, ""},          {640, -272, ""},
      {2147483647, 1, " /A /F /P31"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    EXPECT_EQ(movie::VPlayerAspectOptions(c.width, c.height), c.expected);
  }
}

// The flag a start leaves behind: what the INI file says, or the flag as it was when the file says
// nothing usable.
TEST(PlanVPlayerStart, ReportsWhetherThePlayerKnowsItsMovie) {
  struct Case {
    const char* what;
    std::string ini;
    bool before, after;
  };
  const Case cases[] = {
      {"no ini file keeps true", "", true, true},
      {"no ini file keeps false", "", false, false},
      {"known movie", "[Autorun]\nFileNameMovie=Film.avi\n", false, true},
      {"missing movie clears it", "[Autorun]\nFileNameMovie=Gone.avi\n", true, false},
      {"short entry keeps it", "[Autorun]\nFileNameMovie=ab\n", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    movie::LaunchFacts state;
    state.MovieFileName = "Film.avi";
    state.PlayerKnowsMovie = c.before;
    EXPECT_EQ(movie::PlanVPlayerStart(state, Clicked(c.ini, "", {})).playerKnowsMovie, c.after);
  }
}

struct BPlayerCase {
  const char* what;
  std::string subtitle;
  std::string ini;  // bplay.ini, "" for none
  std::string expected;
};

const BPlayerCase kBPlayerCases[] = {
    {"matching subtitle", "Film.srt", "", "\"Film.avi\" \"Film.srt\"  -fs -pan"},
    {"subtitle of any name", "english.srt", "", "\"Film.avi\" \"english.srt\"  -fs -pan"},
    {"no subtitle", "", "", "\"Film.avi\"   -fs -pan"},
    {"ini names an existing movie", "Film.srt", "[Movie]\nFName=Film.avi\n", "bplay.ini"},
    {"ini names an existing subtitle", "", "[Movie]\nFName=Gone.avi\n[Subtitles]\nSub1=Film.srt\n", "bplay.ini"},
    {"ini names missing files", "Film.srt", "[Movie]\nFName=Gone.avi\n[Subtitles]\nSub1=Gone.srt\n",
     "\"Film.avi\" \"Film.srt\"  -fs -pan"},
    {"ini with VPlayer's keys only", "", "[Autorun]\nFileNameMovie=Film.avi\n", "\"Film.avi\"   -fs -pan"},
};

TEST(PlanBPlayerStart, ParameterTexts) {
  for (const BPlayerCase& c : kBPlayerCases) {
    SCOPED_TRACE(c.what);
    movie::LaunchFacts state;
    state.MovieFileName = "Film.avi";
    state.SubtitleFileName = c.subtitle;
    const movie::LaunchPlan plan = movie::PlanBPlayerStart(state, Clicked("", c.ini));
    EXPECT_TRUE(plan.Starts());
    EXPECT_EQ(plan.program, "BPlay.exe");
    EXPECT_EQ(plan.parameters, c.expected);
    EXPECT_EQ(plan.playerKnowsMovie, c.expected == "bplay.ini");
  }
}

TEST(PlanPlayerStart, MissingExecutableGivesTheMessage) {
  movie::LaunchFacts state;
  state.MovieFileName = "Film.avi";
  const movie::LaunchFiles files = Clicked("", "[Movie]\nFName=Film.avi\n", {});
  struct Case {
    movie::LaunchPlan plan;
    std::string message, caption;
  };
  const Case cases[] = {
      {movie::PlanVPlayerStart(state, files), "VPlayer.exe is not found in current directory.", "VPlayer"},
      {movie::PlanBPlayerStart(state, files), "BPlay.exe is not found in current directory.", "BSPlayer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    EXPECT_FALSE(c.plan.Starts());
    EXPECT_EQ(c.plan.program, "");
    EXPECT_EQ(c.plan.message, c.message);
    EXPECT_EQ(c.plan.caption, c.caption);
    EXPECT_FALSE(c.plan.playerKnowsMovie) << "bplay.ini is read only when the player is there";
  }
}

TEST(DirectoryPrefix, EndsInASeparator) {
  // The system's separator, doubled at a root, as the players expect it there.
  const std::string separator(1, platform::PathSeparator());
  EXPECT_EQ(movie::DirectoryPrefix("/"), "/" + separator);
  EXPECT_EQ(movie::DirectoryPrefix("D:\\"), "D:\\" + separator);
  EXPECT_EQ(movie::DirectoryPrefix("/media/cdrom"), "/media/cdrom" + separator);
}

struct SelectCase {
  const char* what;
  std::string program;
  std::string prefix;
  std::string subtitle;
  std::string expected;
};

const SelectCase kSelectCases[] = {
    {"vplayer at the root, subtitle not matching", "/d/vplayer.exe", "//", "english.srt",
     "\"//Film.avi\" \"\"/A /F /P11"},
    {"vplayer, matching subtitle", "/opt/VPlayer.exe", "/d/", "Film.srt", "\"/d/Film.avi\" \"/d/Film.srt\"/A /F /P11"},
    {"vplayer, no subtitle", "/opt/VPLAYER.EXE", "/d/", "", "\"/d/Film.avi\" \"\"/A /F /P11"},
    {"any program ending in vplayer.exe", "/opt/MyVPlayer.exe", "/d/", "Film.srt",
     "\"/d/Film.avi\" \"/d/Film.srt\"/A /F /P11"},
    {"vplayer name tested first", "/vplayer.exe.d/bplay.exe", "/d/", "Film.srt",
     "\"/d/Film.avi\" \"/d/Film.srt\"/A /F /P11"},
    {"bplayer, subtitle of any name", "/opt/bplay.exe", "/d/", "english.srt",
     "\"/d/Film.avi\" \"/d/english.srt\"  -fs -pan"},
    {"bplayer, no subtitle", "/opt/BPLAY.EXE", "/d/", "", "\"/d/Film.avi\"  -fs -pan"},
    {"another program", "/usr/bin/mpv", "/d/", "Film.srt", "\"/d/Film.avi\""},
    {"another program named like an exe", "/opt/player.exe", "/d/", "Film.srt", "\"/d/Film.avi\""},
};

TEST(SelectPlayerParameters, ParameterTexts) {
  for (const SelectCase& c : kSelectCases) {
    SCOPED_TRACE(c.what);
    movie::LaunchFacts state;
    state.MovieFileName = "Film.avi";
    state.SubtitleFileName = c.subtitle;
    state.PlayerKnowsMovie = true;  // no effect on a picked program
    EXPECT_EQ(movie::SelectPlayerParameters(c.program, c.prefix, state), c.expected);
  }
}

TEST(LaunchTexts, LongNamesArePassedWhole) {
  const std::string longName = std::string(300, 'n') + ".avi";
  const std::string longPrefix = "/" + std::string(300, 'd') + "/";
  movie::LaunchFacts state;
  state.MovieFileName = longName;
  state.SubtitleFileName = std::string(300, 'n') + ".srt";
  state.FrameWidth = 640;
  state.FrameHeight = 272;
  EXPECT_EQ(movie::SelectPlayerParameters(longPrefix + "vplayer.exe", longPrefix, state),
            "\"" + longPrefix + longName + "\" \"" + longPrefix + state.SubtitleFileName + "\"/A /F /P11");
  EXPECT_EQ(movie::PlanVPlayerStart(state, Clicked("")).parameters,
            "\"" + longName + "\" \"" + state.SubtitleFileName + "\" /A /F /P31");
}

TEST(PlanVPlayerStart, MovieNameWithAQuoteStaysOneArgument) {
  movie::LaunchFacts state;
  state.MovieFileName = "x\" /evil \"y.avi";
  state.SubtitleFileName = "x\" /evil \"y.srt";
  state.FrameWidth = 720;
  state.FrameHeight = 576;
  const std::string parameters = movie::PlanVPlayerStart(state, Clicked("")).parameters;
  EXPECT_EQ(platform::SplitCommandLine(parameters),
            (std::vector<std::string>{state.MovieFileName, state.SubtitleFileName, "/A", "/F", "/P41"}));
}

}  // namespace
