// The start-up plan as a pure function: a disc described by its listing and bytes, the facts
// answered as the plan asks for them, and the plan's fields compared.
#include "app/startup_plan.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "support/listing.h"

namespace app {
namespace {

using testsupport::F;
using testsupport::Listed;
using Need = StartupNeed::Kind;

// The disc's directory, on a drive of this system (a drive letter on Windows).
const std::string kDisc = platform::WithTrailingSeparator(platform::CurrentDirectory());

// What a disc holds, in memory: the answers to the plan's needs.
struct Disc {
  std::vector<platform::ListingEntry> entries;
  std::map<std::string, std::string> ini = {};  // by name, the INI files' contents
  QSize poster = {};                            // the poster's natural size (its header)
  std::string posterError = {};                 // what reading or decoding the poster says
  bool online = true;
  double pixelRatio = 1;
  std::set<std::string> failingWrites = {};  // by name, the INI files whose update fails at the write
};

struct Planned {
  StartupPlan plan;
  std::vector<StartupNeed> needs;  // in the order the plan asked
};

platform::ProfileFacts IniFacts(const Disc& disc, const std::string& path) {
  platform::ProfileFacts facts;
  const auto content = disc.ini.find(path.substr(kDisc.size()));
  if (content == disc.ini.end()) facts.writable = platform::Failure{"missing"};
  else facts.content = content->second;
  return facts;
}

template <typename T>
platform::Result<T> Read(T value, const std::string& error) {
  if (error.empty()) return value;
  return platform::Failure{error};
}

// Answers each need as StartupFiles would read it from `disc`.
Planned Complete(const Disc& disc) {
  StartupFacts facts;
  facts.here = Listed(disc.entries);
  facts.screen = {1024, 768};
  facts.work = {1024, 738};
  facts.pixelRatio = disc.pixelRatio;
  Planned planned;
  for (int asked = 0; asked < 16; ++asked) {
    planned.plan = PlanStartup(facts);
    if (!planned.plan.need) return planned;
    const StartupNeed need = *planned.plan.need;
    planned.needs.push_back(need);
    switch (need.kind) {
      case Need::MovieFormType: facts.movieFormType = need.file.ends_with("bad.avi") ? "TEXT" : "AVI "; break;
      case Need::LauncherFiles: facts.launcher = movie::LauncherFiles{kDisc, facts.here, true, {}}; break;
      case Need::IniFile: facts.launcher->iniFiles[need.file] = IniFacts(disc, need.file); break;
      case Need::IniWrite: facts.iniWritten[need.file] = !disc.failingWrites.contains(need.file.substr(kDisc.size())); break;
      case Need::PosterHead: facts.posterHead = Read(PosterHead{"", disc.poster}, disc.posterError); break;
      case Need::PosterPicture:
        facts.poster = Read(QImage(need.file.ends_with(".bmp") ? disc.poster : need.decodeAt, QImage::Format_RGB32),
                            disc.posterError);
        break;
      case Need::Online: facts.online = disc.online; break;
    }
  }
  ADD_FAILURE() << "the plan kept asking";
  return planned;
}

std::vector<Need> Kinds(const std::vector<StartupNeed>& needs) {
  std::vector<Need> kinds;
  for (const StartupNeed& need : needs) kinds.push_back(need.kind);
  return kinds;
}

const std::vector<platform::ListingEntry> kFilm = {F("Film.avi"), F("Film.srt"), F("Film.jpg"), F("vplayer.exe"),
                                                   F("bplay.exe"), F("bplay.ini")};

TEST(StartupPlan, ReadsOnlyWhatEachDiscNeedsInTheStartUpsOrder) {
  struct Row {
    const char* name;
    Disc disc;
    std::vector<Need> needs;
  } rows[] = {
      {"no movie", {{F("notes.nfo"), F("vplayer.exe")}}, {}},
      {"not an AVI file", {{F("bad.avi"), F("bplay.ini")}}, {Need::MovieFormType}},
      {"no INI file, no poster", {{F("Film.avi"), F("vplayer.exe")}},
       {Need::MovieFormType, Need::LauncherFiles, Need::Online}},
      {"the whole disc", {kFilm, {{"bplay.ini", ""}}, {600, 900}},
       {Need::MovieFormType, Need::LauncherFiles, Need::IniFile, Need::IniWrite, Need::PosterHead,
        Need::PosterPicture, Need::Online}},
      {"a poster that cannot be read ends it", {kFilm, {{"bplay.ini", ""}}, {}, "damaged"},
       {Need::MovieFormType, Need::LauncherFiles, Need::IniFile, Need::IniWrite, Need::PosterHead}},
      {"a movie called film reads the stored title", {{F("film.avi"), F("Vplayer.ini")}, {{"Vplayer.ini", ""}}},
       {Need::MovieFormType, Need::LauncherFiles, Need::IniFile, Need::Online}},
      {"the INI file of a hidden player is not read", {{F("Heat.avi"), F("bplay.ini")}},
       {Need::MovieFormType, Need::LauncherFiles, Need::Online}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Kinds(Complete(row.disc).needs), row.needs);
  }
}

TEST(StartupPlan, ButtonsFocusAndTimerFollowThePlayersAndTheMovie) {
  struct Row {
    std::vector<platform::ListingEntry> entries;
    bool start, bplayer, select;
    Button focus;
    int closeTop;
    bool timer;
    std::string redLine;
  } rows[] = {
      {{F("Film.avi"), F("vplayer.exe"), F("bplay.exe")}, true, true, true, Button::Start, 215, true, ""},
      {{F("Film.avi"), F("bplay.exe")}, false, true, true, Button::BPlayer, 151, true, ""},
      {{F("Film.avi")}, false, false, true, Button::Select, 95, true, ""},
      {{F("vplayer.exe")}, false, false, false, Button::Close, 39, false, ""},
      {{F(" bad.avi"), F("vplayer.exe")}, false, false, false, Button::Close, 39, false, "bad.avi is not a valid video file"},
  };
  for (const Row& row : rows) {
    const StartupPlan plan = Complete({row.entries}).plan;
    SCOPED_TRACE(plan.MovieFileName);
    EXPECT_EQ(plan.startShown, row.start);
    EXPECT_EQ(plan.bplayerShown, row.bplayer);
    EXPECT_EQ(plan.selectShown, row.select);
    EXPECT_EQ(plan.infoShown, row.select);
    EXPECT_EQ(plan.focus, row.focus);
    EXPECT_EQ(plan.column.closeTop, row.closeTop);
    EXPECT_EQ(plan.timerRunning, row.timer);
    EXPECT_EQ(plan.notAviMessage, row.redLine);
  }
}

TEST(StartupPlan, TheFirstFailedIniWriteEndsTheStartUp) {
  Disc disc{kFilm, {{"bplay.ini", "x"}}, {600, 900}};
  disc.entries.push_back(F("vplayer.ini"));  // listed, but gone when it is opened: left alone
  const StartupPlan gone = Complete(disc).plan;
  ASSERT_EQ(gone.iniFiles.size(), 2u);
  EXPECT_EQ(gone.iniFiles[0].update.reason, "missing");
  EXPECT_EQ(gone.iniFiles[1].update.kind, platform::ProfileUpdate::Kind::Written);
  disc.ini["vplayer.ini"] = std::string(platform::kProfileFileMax + 1, ';');  // too large to read
  const StartupPlan plan = Complete(disc).plan;
  ASSERT_EQ(plan.iniFiles.size(), 1u);
  EXPECT_EQ(plan.errorKind, ErrorKind::IniWrite);
  EXPECT_EQ(plan.error, "Unable to write to " + kDisc + "vplayer.ini");
  EXPECT_EQ(plan.poster.file, "");  // never reached: no poster, not online
  EXPECT_FALSE(plan.IsOnline);
  EXPECT_TRUE(plan.poster.showDefault);
}

// A write that fails only when it is carried out (the medium filled up, an I/O error) ends the
// start-up as one the plan foresaw: nothing after it is read, and the window keeps its design
// place and the default poster.
TEST(StartupPlan, AWriteThatFailsAtTheWriteEndsTheStartUp) {
  Disc disc{kFilm, {{"bplay.ini", ""}, {"vplayer.ini", ""}}, {1000, 1400}};
  disc.entries.push_back(F("vplayer.ini"));
  for (const std::string failing : {"vplayer.ini", "bplay.ini"}) {
    SCOPED_TRACE(failing);
    disc.failingWrites = {failing};
    const Planned planned = Complete(disc);
    const StartupPlan& plan = planned.plan;
    EXPECT_EQ(planned.needs.back().kind, Need::IniWrite);
    EXPECT_EQ(planned.needs.back().file, kDisc + failing);
    ASSERT_FALSE(plan.iniFiles.empty());
    EXPECT_EQ(plan.iniFiles.back().update.kind, platform::ProfileUpdate::Kind::Failed);
    EXPECT_EQ(plan.errorKind, ErrorKind::IniWrite);
    EXPECT_EQ(plan.error, "Unable to write to " + kDisc + failing);
    EXPECT_FALSE(plan.poster.loaded);
    EXPECT_TRUE(plan.poster.showDefault);
    EXPECT_EQ(plan.window.width, 385);
    EXPECT_EQ(plan.window.height, 425);
    EXPECT_EQ(std::pair(plan.window.left, plan.window.top), std::pair(319, 146));
    EXPECT_FALSE(plan.IsOnline);
  }
}

TEST(StartupPlan, WritesTheMovieAndSubtitleIntoTheShownPlayersFiles) {
  const StartupPlan plan = Complete({kFilm, {{"bplay.ini", "[Movie]\r\nFName=Old.avi\r\n"}}, {600, 900}}).plan;
  ASSERT_EQ(plan.iniFiles.size(), 2u);
  EXPECT_EQ(plan.iniFiles[0].update.kind, platform::ProfileUpdate::Kind::Absent);  // no vplayer.ini on the disc
  const movie::IniOutcome& bplay = plan.iniFiles[1];
  EXPECT_EQ(bplay.update.kind, platform::ProfileUpdate::Kind::Written);
  EXPECT_EQ(bplay.update.bytes,
            "[Movie]\r\nFName=Film.avi\r\nDirectory=.\r\n[Subtitles]\r\nSub1=Film.srt\r\nDirectory=.\r\n");
  EXPECT_EQ(plan.SubtitleFileName, "Film.srt");
  EXPECT_TRUE(plan.IsOnline);
}

TEST(StartupPlan, TheTitleAndItsSize) {
  struct Row {
    Disc disc;
    std::string title;
    int points;
  } rows[] = {
      {{{F("Heat.1995.DVDRip.XviD-DEMON.avi")}}, "Heat 1995", 14},
      {{{F("film.avi"), F("Vplayer.ini")}, {{"Vplayer.ini", "[Zorvalin]\nFilmname= Stored Title \n"}}}, "Stored Title", 14},
      {{{F("film.avi")}}, "", 14},
      {{{F("A.Very.Long.Movie.Name.That.Goes.On.And.On.Past.Forty.Six.avi")}},
       "A Very Long Movie Name That Goes On And On Past Forty Six", 8},
  };
  for (const Row& row : rows) {
    const StartupPlan plan = Complete(row.disc).plan;
    EXPECT_EQ(plan.title, row.title);
    EXPECT_EQ(plan.titlePoints, row.points) << row.title;
  }
}

TEST(StartupPlan, PosterAndWindow) {
  struct Row {
    const char* name;
    std::vector<platform::ListingEntry> entries;
    QSize natural;
    std::string error;
    double ratio;
    bool loaded, showDefault;
    int width, height;  // of the window
    QSize decodeAt;     // for a JPEG, 0x0 when not decoded
    media::PosterKind kind;
  } rows[] = {
      {"no poster (kind as a search that ends on BMP)", {F("Film.avi")}, {}, "", 1, false, true, 385, 425, {}, media::kPosterBmp},
      {"a large JPEG, decoded as drawn", {F("Film.avi"), F("Film.jpg")}, {1000, 1400}, "", 1, true, true, 575, 686, {439, 614}, media::kPosterJpeg},
      {"at scale 2, twice the pixels", {F("Film.avi"), F("Film.jpg")}, {1000, 1400}, "", 2, true, true, 575, 686, {878, 1228}, media::kPosterJpeg},
      {"one pixel wide: not shown", {F("Film.avi"), F("Film.jpg")}, {1, 400}, "", 1, false, true, 385, 425, {1, 400}, media::kPosterJpeg},
      {"a damaged JPEG", {F("Film.avi"), F("Film.jpg")}, {}, "damaged", 1, false, true, 385, 425, {}, media::kPosterJpeg},
      {"a BMP", {F("Film.avi"), F("Film.bmp")}, {300, 400}, "", 1, true, false, 436, 471, {}, media::kPosterBmp},
      {"a damaged BMP leaves the box empty", {F("Film.avi"), F("Film.bmp")}, {}, "damaged", 1, false, false, 385, 425, {}, media::kPosterBmp},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Disc disc{row.entries, {}, row.natural, row.error};
    disc.pixelRatio = row.ratio;
    const Planned planned = Complete(disc);
    const StartupPlan& plan = planned.plan;
    EXPECT_EQ(plan.poster.loaded, row.loaded);
    EXPECT_EQ(plan.poster.showDefault, row.showDefault);
    EXPECT_EQ(StateAfterStartUp(plan).PosterKind, row.kind);
    EXPECT_EQ(plan.window.width, row.width);
    EXPECT_EQ(plan.window.height, row.height);
    EXPECT_EQ(plan.errorKind, row.error.empty() ? ErrorKind::None : ErrorKind::Poster);
    EXPECT_EQ(plan.IsOnline, row.error.empty());
    QSize decodeAt;
    for (const StartupNeed& need : planned.needs)
      if (need.kind == Need::PosterPicture) decodeAt = need.decodeAt;
    EXPECT_EQ(decodeAt, row.decodeAt);
  }
}

}  // namespace
}  // namespace app
