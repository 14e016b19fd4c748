#include "movie/player_settings.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/files.h"
#include "support/temp_dir.h"

namespace {

using movie::IniOutcome;
using movie::IniWrite;
using testsupport::ScopedChdir;
using testsupport::TempDir;

using movie::PlayerKind;

TEST(WritePlayerSettings, FailedWriteNamesThePathAndStopsThere) {
  TempDir launcher;
  // Far beyond any player's settings: the profile writer refuses it rather than truncate it.
  const std::string huge = "[Autorun]\n" + std::string(2u << 20, ';');
  launcher.Write("VPLAYER.INI", huge);
  const std::string directory = launcher.path() + "/";
  const IniOutcome outcome =
      movie::WritePlayerSettings(directory, platform::ListDirectory(directory), PlayerKind::VPlayer, "Film.avi", "Film.srt");
  EXPECT_EQ(outcome.kind, IniOutcome::Kind::Failed);
  EXPECT_EQ(outcome.error, "Unable to write to " + directory + "vplayer.ini");
  EXPECT_TRUE(outcome.writes.empty());
  EXPECT_EQ(launcher.Read("VPLAYER.INI"), huge);
}

struct EntryCase {
  const char* what;
  PlayerKind kind;
  std::string ini;  // "" for no ini file at all
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
    {"entry naming a directory", PlayerKind::VPlayer, "[Autorun]\nFileNameMovie=Folder.avi\n", true, false},
    {"full path", PlayerKind::VPlayer, "", false, false},  // filled in below
    {"missing file keeps true", PlayerKind::VPlayer, "", true, true},
    {"bplayer reads Movie FName", PlayerKind::BSPlayer, "[Movie]\nFName=Film.avi\n", false, true},
    {"bplayer ignores the Autorun section", PlayerKind::BSPlayer, "[Autorun]\nFileNameMovie=Film.avi\n", false,
     false},
    {"bplayer Sub1 fallback", PlayerKind::BSPlayer, "[Movie]\nFName=Gone.avi\n[Subtitles]\nSub1=film.SRT\n", false,
     true},
};

TEST(ReadPlayerMovieEntry, SetsTheFlagFromTheEntryOrSub1) {
  for (EntryCase c : kEntryCases) {
    SCOPED_TRACE(c.what);
    TempDir movieDir, launcher;
    movieDir.Write("Film.avi", "RIFF");
    movieDir.Write("Film.srt", "1");
    movieDir.MakeDir("Folder.avi");
    movieDir.Write("ab", "short names are never trusted");
    if (std::string(c.what) == "full path") {
      c.ini = "[Autorun]\nFileNameMovie=" + (movieDir / "Film.avi") + "\n";
      c.expected = true;
    }
    if (!c.ini.empty()) launcher.Write("settings.ini", c.ini);
    ScopedChdir chdir(movieDir.path());
    EXPECT_EQ(movie::ReadPlayerMovieEntry(launcher / "settings.ini", c.kind).value_or(c.before), c.expected);
  }
}

TEST(ReadPlayerParam, TrimsParamAndReadsTheMovieEntryAsVPlayers) {
  struct Case {
    const char* what;
    const char* onDisk;  // "" for no file
    std::string ini;
    bool before;
    std::string param;
    bool after;
  };
  const Case cases[] = {
      {"missing file leaves the flag", "", "", true, "", true},
      {"blank-only Param", "vplayer.ini", "[Zorvalin]\nParam=   \t \n", false, "", false},
      {"trimmed, inner blanks kept", "VPLAYER.INI", "[zorvalin]\nparam=  /A  /F \n", false, "/A  /F", false},
      {"movie entry read", "Vplayer.ini", "[Zorvalin]\nParam=/x\n[Autorun]\nFileNameMovie=Film.avi\n", false, "/x",
       true},
      {"no Param, movie entry still read", "Vplayer.ini", "[Autorun]\nFileNameMovie=Gone.avi\n", true, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir movieDir, launcher;
    movieDir.Write("Film.avi", "RIFF");
    if (*c.onDisk) launcher.Write(c.onDisk, c.ini);
    ScopedChdir chdir(movieDir.path());
    const movie::PlayerParam read = movie::ReadPlayerParam(launcher.path() + "/", "Vplayer.ini");
    EXPECT_EQ(read.param, c.param);
    EXPECT_EQ(read.playerKnowsMovie.value_or(c.before), c.after);
  }
}

TEST(ReadPlayerParam, ReadsAnyFileAsVPlayers) {
  TempDir movieDir, launcher;
  movieDir.Write("Film.avi", "RIFF");
  launcher.Write("bplay.ini", "[Movie]\nFName=Film.avi\n[Autorun]\nFileNameMovie=Gone.avi\n");
  ScopedChdir chdir(movieDir.path());
  const movie::PlayerParam read = movie::ReadPlayerParam(launcher.path() + "/", "bplay.ini");
  EXPECT_EQ(read.param, "");
  EXPECT_EQ(read.playerKnowsMovie, std::optional<bool>(false));
}

TEST(ReadFilmName, TrimmedOrEmpty) {
  struct Case {
    const char* what;
    const char* onDisk;
    std::string ini;
    std::string expected;
  };
  const Case cases[] = {
      {"missing file", "", "", ""},
      {"blanks only", "Vplayer.ini", "[Zorvalin]\nFilmname= \t \n", ""},
      {"trimmed", "VPLAYER.INI", "[ZORVALIN]\nFILMNAME=  Heat 1995 \r\n", "Heat 1995"},
      {"other section", "Vplayer.ini", "[Autorun]\nFilmname=Heat\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir launcher;
    if (*c.onDisk) launcher.Write(c.onDisk, c.ini);
    EXPECT_EQ(movie::ReadFilmName(launcher.path() + "/", platform::ListDirectory(launcher.path()), "Vplayer.ini"),
              c.expected);
  }
}

// A movie called "film" takes the title stored in VPlayer's file, else in BSPlayer's.
TEST(ReadPlayersFilmName, VPlayerFirstThenBSPlayer) {
  struct Case {
    const char* what;
    std::string vplayer, bplay;  // "" for no file
    std::string expected;
  };
  const Case cases[] = {
      {"both hold a name", "[Zorvalin]\nFilmname=Das Boot\n", "[Zorvalin]\nFilmname=Other\n", "Das Boot"},
      {"vplayer's is blank", "[Zorvalin]\nFilmname=  \n", "[Zorvalin]\nFilmname=Das Boot\n", "Das Boot"},
      {"only bplay.ini", "", "[zorvalin]\nfilmname=Das Boot\n", "Das Boot"},
      {"neither holds one", "[Autorun]\n", "[Movie]\n", ""},
      {"no files", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir launcher;
    if (!c.vplayer.empty()) launcher.Write("VPLAYER.INI", c.vplayer);
    if (!c.bplay.empty()) launcher.Write("bplay.ini", c.bplay);
    EXPECT_EQ(movie::ReadPlayersFilmName(launcher.path() + "/", platform::ListDirectory(launcher.path())), c.expected);
  }
}

}  // namespace
