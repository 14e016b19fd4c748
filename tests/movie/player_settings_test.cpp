#include "movie/player_settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "support/listing.h"

namespace {

using movie::IniOutcome;
using Kind = platform::ProfileUpdate::Kind;
using movie::IniWrite;
using movie::PlayerKind;
using testsupport::D;
using testsupport::F;
using testsupport::Listed;

// A launcher directory on a drive of this system (its own spelling: a drive letter on Windows).
const std::string kDirectory = platform::WithTrailingSeparator(platform::CurrentDirectory());

// A launcher directory on a ready medium holding `entries`; `read` gives the content of each INI
// file the start-up has opened, by its name as listed.
movie::LauncherFiles Launcher(std::vector<platform::ListingEntry> entries,
                              const std::vector<std::pair<std::string, std::string>>& read = {}) {
  movie::LauncherFiles launcher{kDirectory, Listed(std::move(entries)), true, {}};
  for (const auto& [name, content] : read) launcher.iniFiles[kDirectory + name].content = content;
  return launcher;
}

struct WriteCase {
  const char* what;
  const char* listed;
  PlayerKind kind;
  std::string subtitle;
  std::string before;
  std::string after;
  std::vector<IniWrite> writes;
};

const WriteCase kWriteCases[] = {
    {"vplayer, new section", "vplayer.ini", PlayerKind::VPlayer, "Film.srt", "",
     "[Autorun]\r\nFileNameMovie=Film.avi\r\nFileNameSubtitles=Film.srt\r\n",
     {{"vplayer.ini", "Autorun", "FileNameMovie", "Film.avi"},
      {"vplayer.ini", "Autorun", "FileNameSubtitles", "Film.srt"}}},
    {"vplayer, keys replaced in place, others kept", "VPlayer.INI", PlayerKind::VPlayer, "eng.srt",
     "[Video]\nMode=2\n[autorun]\nfilenamesubtitles = old.srt\nKeep=yes\nFileNameMovie=Old.avi\n[Zorvalin]\nParam=/x\n",
     "[Video]\nMode=2\n[autorun]\nfilenamesubtitles = eng.srt\nKeep=yes\nFileNameMovie=Film.avi\n[Zorvalin]\nParam=/x\n",
     {{"vplayer.ini", "Autorun", "FileNameMovie", "Film.avi"},
      {"vplayer.ini", "Autorun", "FileNameSubtitles", "eng.srt"}}},
    {"bplayer, sections made in write order", "bplay.ini", PlayerKind::BSPlayer, "Film.srt", "",
     "[Movie]\r\nFName=Film.avi\r\nDirectory=.\r\n[Subtitles]\r\nSub1=Film.srt\r\nDirectory=.\r\n",
     {{"bplay.ini", "Movie", "FName", "Film.avi"},
      {"bplay.ini", "Subtitles", "Sub1", "Film.srt"},
      {"bplay.ini", "Movie", "Directory", "."},
      {"bplay.ini", "Subtitles", "Directory", "."}}},
    {"bplayer, other keys untouched", "BPLAY.INI", PlayerKind::BSPlayer, "a b.sub",
     "[Subtitles]\nDirectory=C:\\subs\nSub2=x.srt\n[Movie]\nFName=old.avi\nPos=123\n",
     "[Subtitles]\nDirectory=.\nSub2=x.srt\nSub1=a b.sub\n[Movie]\nFName=Film.avi\nPos=123\nDirectory=.\n",
     {{"bplay.ini", "Movie", "FName", "Film.avi"},
      {"bplay.ini", "Subtitles", "Sub1", "a b.sub"},
      {"bplay.ini", "Movie", "Directory", "."},
      {"bplay.ini", "Subtitles", "Directory", "."}}},
    {"vplayer without subtitle", "vplayer.ini", PlayerKind::VPlayer, "", "[Autorun]\nFileNameMovie=Old.avi\n", "", {}},
    {"bplayer with a two-character subtitle name", "bplay.ini", PlayerKind::BSPlayer, "ab",
     "[Movie]\nFName=Old.avi\n", "", {}},
};

TEST(PlanPlayerSettings, WritesTheKeysInOrderIntoOneReplace) {
  for (const WriteCase& c : kWriteCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(movie::PlayerSettingsWrites(c.kind, "Film.avi", c.subtitle), c.writes);
    const movie::LauncherFiles launcher = Launcher({F("other.ini"), F(c.listed)}, {{c.listed, c.before}});
    EXPECT_EQ(movie::ListedIniFile(launcher, movie::PlayerOf(c.kind).iniWriteName), kDirectory + c.listed);

    const IniOutcome outcome = movie::PlanPlayerSettings(launcher, c.kind, "Film.avi", c.subtitle);
    EXPECT_EQ(outcome.file, movie::PlayerOf(c.kind).iniWriteName);
    EXPECT_EQ(outcome.path, kDirectory + c.listed);
    EXPECT_EQ(outcome.writes, c.writes);
    EXPECT_EQ(outcome.update.bytes, c.after);
    // Nothing to write, yet the file is still made writable.
    EXPECT_EQ(outcome.update.kind, c.writes.empty() ? Kind::Skipped : Kind::Written);
    EXPECT_EQ(outcome.update.reason, c.writes.empty() ? "no subtitle file" : "");
  }
}

// Files the start-up leaves as they are, with the reason the inspector shows. A name the file
// cannot hold as one value and a file that would grow past what the launcher reads still have
// their attributes reset (the update goes to the file); the others are not touched at all.
TEST(PlanPlayerSettings, LeavesAloneWhatItMustNotWrite) {
  const std::string head = "[Autorun]\r\nFileNameMovie=Old.avi\r\nFileNameSubtitles=Old.srt\r\n";
  const std::string nearlyFull = head + std::string(platform::kProfileFileMax - 1 - head.size(), ';');
  const movie::LauncherFiles ready = Launcher({F("vplayer.ini")}, {{"vplayer.ini", head}});
  movie::LauncherFiles unknown = ready, relative = ready, notReady = ready, refused = ready, full = ready;
  unknown.directory = "";
  relative.directory = "cdrom/";
  notReady.mediumReady = false;
  refused.iniFiles.begin()->second.writable = platform::Failure{"a symbolic link"};
  full.iniFiles.begin()->second.content = nearlyFull;
  struct Case {
    const char* what;
    const movie::LauncherFiles& launcher;
    std::string movie, subtitle;
    std::string reason;
    bool touched;  // handed on to the platform, which resets what it may
  };
  const std::string unwritable = "name cannot be written as an INI value";
  const Case cases[] = {
      {"a line break in the movie's name", ready, "Fi\nlm.avi", "Film.srt", unwritable, true},
      {"a CR in the subtitle's name", ready, "Film.avi", "Fi\rlm.srt", unwritable, true},
      {"a name with a blank at its end", ready, "Film.avi ", "Film.srt", unwritable, true},
      {"1,048,575 bytes that the write would grow", full, "Film.avi", "Film.srt", "too large", true},
      {"a file the platform refuses", refused, "Film.avi", "Film.srt", "a symbolic link", true},
      {"launcher directory unknown", unknown, "Film.avi", "Film.srt", "launcher directory unknown", false},
      {"launcher directory not absolute", relative, "Film.avi", "Film.srt", "not on a drive", false},
      {"medium not ready", notReady, "Film.avi", "Film.srt", "drive not ready", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const IniOutcome outcome = movie::PlanPlayerSettings(c.launcher, PlayerKind::VPlayer, c.movie, c.subtitle);
    EXPECT_EQ(outcome.update.kind, Kind::Skipped);
    EXPECT_EQ(outcome.update.reason, c.reason);
    EXPECT_TRUE(outcome.writes.empty());
    EXPECT_EQ(outcome.path, c.touched ? kDirectory + "vplayer.ini" : "");
  }
}

TEST(PlanPlayerSettings, AbsentUnreadAndFailedFiles) {
  const std::string huge = "[Autorun]\n" + std::string(platform::kProfileFileMax, ';');
  struct Case {
    const char* what;
    movie::LauncherFiles launcher;
    Kind kind;
    std::string path, error;
  };
  const Case cases[] = {
      {"no ini file", Launcher({F("other.ini")}), Kind::Absent, "", ""},
      {"a directory named like the ini file", Launcher({D("vplayer.ini")}), Kind::Absent, "", ""},
      {"listed but not read yet", Launcher({F("Vplayer.INI")}), Kind::Unread, kDirectory + "Vplayer.INI",
       ""},
      // Far beyond any player's settings: refused rather than truncated.
      {"too large to read", Launcher({F("VPLAYER.INI")}, {{"VPLAYER.INI", huge}}), Kind::Failed,
       kDirectory + "VPLAYER.INI", "Unable to write to " + kDirectory + "vplayer.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const IniOutcome outcome = movie::PlanPlayerSettings(c.launcher, PlayerKind::VPlayer, "Film.avi", "Film.srt");
    EXPECT_EQ(outcome.update.kind, c.kind);
    EXPECT_EQ(outcome.path, c.path);
    EXPECT_EQ(outcome.update.reason, c.error);
    EXPECT_TRUE(outcome.writes.empty());
    EXPECT_EQ(movie::PlanPlayerSettings(c.launcher, PlayerKind::BSPlayer, "Film.avi", "Film.srt").update.kind,
              Kind::Absent);
  }
}

// What a click reads beside a disc of `onDisc`: each entry asked about exists when it names one of
// those files (letter case ignored, as the disc's names are).
movie::LaunchFiles Clicked(const std::optional<std::string>& ini, const std::vector<std::string>& onDisc) {
  movie::LaunchFiles files;
  files.vplayerIni = ini;
  for (const std::string& entry : movie::EntriesToCheck(files))
    for (const std::string& name : onDisc)
      if (platform::AsciiUpper(entry) == platform::AsciiUpper(name)) files.existingEntries.insert(entry);
  return files;
}

struct EntryCase {
  const char* what;
  PlayerKind kind;
  std::optional<std::string> ini;
  bool before;
  bool expected;
};

const EntryCase kEntryCases[] = {
    {"vplayer movie exists", PlayerKind::VPlayer, "[Autorun]\nFileNameMovie=Film.avi\n", false, true},
    {"other letter case, blanks, quotes", PlayerKind::VPlayer, "[AUTORUN]\nfilenamemovie= \"  FILM.AVI \" \n",
     false, true},
    {"movie missing, Sub1 exists", PlayerKind::VPlayer,
     "[Autorun]\nFileNameMovie=Gone.avi\n[Subtitles]\nSub1=Film.srt\n", false, true},
    {"both missing", PlayerKind::VPlayer, "[Autorun]\nFileNameMovie=Gone.avi\n[Subtitles]\nSub1=Gone.srt\n", true,
     false},
    {"movie missing, Sub1 too short", PlayerKind::VPlayer,
     "[Autorun]\nFileNameMovie=Gone.avi\n[Subtitles]\nSub1=ab\n", true, false},
    {"entry of two characters keeps true", PlayerKind::VPlayer,
     "[Autorun]\nFileNameMovie=ab\n[Subtitles]\nSub1=Film.srt\n", true, true},
    {"entry of two characters keeps false, Sub1 unread", PlayerKind::VPlayer,
     "[Autorun]\nFileNameMovie= ab \n[Subtitles]\nSub1=Film.srt\n", false, false},
    {"entry naming no regular file", PlayerKind::VPlayer, "[Autorun]\nFileNameMovie=Folder.avi\n", true, false},
    {"full path", PlayerKind::VPlayer, "[Autorun]\nFileNameMovie=/media/cdrom/Film.avi\n", false, true},
    {"missing file keeps true", PlayerKind::VPlayer, std::nullopt, true, true},
    {"vplayer ignores the Movie section", PlayerKind::VPlayer,
     "[Movie]\nFName=Film.avi\n[Autorun]\nFileNameMovie=Gone.avi\n", true, false},
    {"bplayer reads Movie FName", PlayerKind::BSPlayer, "[Movie]\nFName=Film.avi\n", false, true},
    {"bplayer ignores the Autorun section", PlayerKind::BSPlayer, "[Autorun]\nFileNameMovie=Film.avi\n", false,
     false},
    {"bplayer Sub1 fallback", PlayerKind::BSPlayer, "[Movie]\nFName=Gone.avi\n[Subtitles]\nSub1=film.SRT\n", false,
     true},
};

TEST(PlayerKnowsMovie, SetsTheFlagFromTheEntryOrSub1) {
  for (const EntryCase& c : kEntryCases) {
    SCOPED_TRACE(c.what);
    const movie::LaunchFiles files = Clicked(c.ini, {"Film.avi", "Film.srt", "/media/cdrom/Film.avi"});
    EXPECT_EQ(movie::PlayerKnowsMovie(c.ini, c.kind, files).value_or(c.before), c.expected);
  }
}

TEST(EntriesToCheck, UsableEntriesOfBothFiles) {
  movie::LaunchFiles files;
  files.vplayerIni = "[Autorun]\nFileNameMovie= Film.avi \n[Subtitles]\nSub1=ab\n";
  files.bplayerIni = "[Movie]\nFName=\"Other.avi\"\n[Subtitles]\nSub1=Other.srt\n";
  EXPECT_EQ(movie::EntriesToCheck(files), (std::vector<std::string>{"Film.avi", "Other.avi", "Other.srt"}));
  EXPECT_TRUE(movie::EntriesToCheck({}).empty());
}

TEST(PlayerParam, Trimmed) {
  struct Case {
    const char* what;
    std::optional<std::string> ini;
    std::string param;
  };
  const Case cases[] = {
      {"missing file", std::nullopt, ""},
      {"no Param", "[Autorun]\nFileNameMovie=Gone.avi\n", ""},
      {"blank-only Param", "[Zorvalin]\nParam=   \t \n", ""},
      {"trimmed, inner blanks kept", "[zorvalin]\nparam=  /A  /F \n", "/A  /F"},
      {"beside the movie entry", "[Zorvalin]\nParam=/x\n[Autorun]\nFileNameMovie=Film.avi\n", "/x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(movie::PlayerParam(c.ini), c.param);
  }
}

// A movie called "film" takes the title stored in VPlayer's file, else in BSPlayer's.
TEST(ReadPlayersFilmName, VPlayerFirstThenBSPlayer) {
  struct Case {
    const char* what;
    movie::LauncherFiles launcher;
    std::string expected;
  };
  const Case cases[] = {
      {"both hold a name",
       Launcher({F("bplay.ini"), F("Vplayer.ini")},
                {{"Vplayer.ini", "[Zorvalin]\nFilmname=Das Boot\n"}, {"bplay.ini", "[Zorvalin]\nFilmname=Other\n"}}),
       "Das Boot"},
      {"vplayer's is blank",
       Launcher({F("VPLAYER.INI"), F("bplay.ini")},
                {{"VPLAYER.INI", "[Zorvalin]\nFilmname= \t \n"}, {"bplay.ini", "[Zorvalin]\nFilmname=Das Boot\n"}}),
       "Das Boot"},
      {"trimmed", Launcher({F("VPLAYER.INI")}, {{"VPLAYER.INI", "[ZORVALIN]\nFILMNAME=  Heat 1995 \r\n"}}),
       "Heat 1995"},
      {"other section", Launcher({F("Vplayer.ini")}, {{"Vplayer.ini", "[Autorun]\nFilmname=Heat\n"}}), ""},
      {"only bplay.ini", Launcher({F("bplay.ini")}, {{"bplay.ini", "[zorvalin]\nfilmname=Das Boot\n"}}), "Das Boot"},
      {"vplayer's not read",
       Launcher({F("Vplayer.ini"), F("bplay.ini")}, {{"bplay.ini", "[Zorvalin]\nFilmname=Das Boot\n"}}), "Das Boot"},
      {"neither holds one",
       Launcher({F("Vplayer.ini"), F("bplay.ini")}, {{"Vplayer.ini", "[Autorun]\n"}, {"bplay.ini", "[Movie]\n"}}), ""},
      {"no files", Launcher({}), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(movie::ReadPlayersFilmName(c.launcher), c.expected);
  }
}

TEST(FilmNameFiles, VPlayersThenBSPlayersAsListed) {
  const movie::LauncherFiles launcher = Launcher({F("BPLAY.INI"), F("vplayer.INI")});
  EXPECT_EQ(movie::FilmNameFiles(launcher),
            (std::vector<std::string>{kDirectory + "vplayer.INI", kDirectory + "BPLAY.INI"}));
  EXPECT_TRUE(movie::FilmNameFiles(Launcher({D("Vplayer.ini")})).empty());
}

}  // namespace
